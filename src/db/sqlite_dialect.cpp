#include "db/dialect.h"

#include <QDate>
#include <sqlite3.h>

namespace sql {
namespace {

// The first column of every row.
QStringList names(const QSqlDatabase &db, const QString &statement, const QVariantMap &values = {})
{
    QSqlQuery q = prepare(db, statement);
    q.setForwardOnly(true);
    for (auto i = values.begin(); i != values.end(); ++i)
        q.bindValue(i.key(), i.value());
    exec(q);
    QStringList list;
    while (q.next())
        list << q.value(0).toString();
    return list;
}

class SqliteDialect final : public Dialect {
public:
    QString columnDefinition(const schema::Column &c) const override
    {
        using schema::Kind;
        const QString q = quoteIdentifier(c.name);
        QString d = q;
        switch (c.kind) {
        case Kind::AutoId:
            return d + " INTEGER PRIMARY KEY AUTOINCREMENT";
        case Kind::Code:
            d += QString(" TEXT NOT NULL PRIMARY KEY CHECK(length(%1) BETWEEN 1 AND %2)").arg(q).arg(c.width);
            break;
        case Kind::Text:
            d += " TEXT";
            if (c.width > 0)
                d += QString(" CHECK(%1 IS NULL OR length(%1)<=%2)").arg(q).arg(c.width);
            break;
        case Kind::LongText:
            d += " TEXT";
            break;
        case Kind::Date:
            // ISO text only, so that dates compare correctly as text.
            d += QString(" DATE CHECK(%1 IS NULL OR (%1 GLOB '[0-9][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]'"
                         " AND date(julianday(%1))=%1))").arg(q);
            break;
        case Kind::Integer:
            d += " INTEGER";
            break;
        case Kind::Money:
            // Columns are loosely typed here: the check keeps amounts exact integers.
            d += QString(" CURRENCY CHECK(%1 IS NULL OR typeof(%1)='integer')").arg(q);
            break;
        case Kind::Number:
            d += " REAL";
            break;
        }
        if (c.notNull && c.kind != Kind::Code)
            d += " NOT NULL";
        if (!c.references.isEmpty()) {
            const int open = c.references.indexOf('(');
            d += QString(" REFERENCES %1(%2)")
                     .arg(quoteIdentifier(c.references.left(open)), quoteIdentifier(c.references.mid(open + 1).chopped(1)));
        }
        return d;
    }

    QString keyedStorage() const override { return QStringLiteral(" without rowid"); }

    QStringList createTrigger(const QString &name, const QString &event, const QString &table,
                              const QString &body) const override
    {
        return {QStringLiteral("create trigger if not exists %1 after %2 on %3 begin %4 end")
                    .arg(quoteIdentifier(name), event, quoteIdentifier(table), body)};
    }

    QStringList tableNames(const QSqlDatabase &db) const override
    {
        return names(db, QStringLiteral("select name from sqlite_master where type='table'"));
    }

    QStringList triggerNames(const QSqlDatabase &db) const override
    {
        return names(db, QStringLiteral("select name from sqlite_master where type='trigger'"));
    }

    QStringList columnNames(const QSqlDatabase &db, const QString &table) const override
    {
        return names(db, QStringLiteral("select name from pragma_table_info(:t) order by cid"), {{":t", table}});
    }

    // A deferred BEGIN fails at once with "database is locked" when another connection writes.
    QStringList beginWrite() const override { return {QStringLiteral("BEGIN IMMEDIATE")}; }

    QString localTimestamp() const override { return QStringLiteral("datetime('now', 'localtime')"); }

    // SQLite's own spelling, known to every version.
    QString sameValue(const QString &a, const QString &b) const override { return QStringLiteral("%1 is %2").arg(a, b); }

    // In WAL mode the first read takes the snapshot the transaction keeps; writers go on.
    QString beginRead() const override { return QStringLiteral("BEGIN DEFERRED"); }


    QString deferReferenceChecks() const override { return QStringLiteral("PRAGMA defer_foreign_keys=ON"); }

    QStringList markAsOurs(int version) const override
    {
        return {QStringLiteral("PRAGMA application_id=%1").arg(schema::kApplicationId), setVersion(version)};
    }

    QString setVersion(int version) const override { return QStringLiteral("PRAGMA user_version=%1").arg(version); }

    int version(const QSqlDatabase &db) const override { return scalar(db, QStringLiteral("PRAGMA user_version")).toInt(); }

    bool markedAsOurs(const QSqlDatabase &db) const override
    {
        return scalar(db, QStringLiteral("PRAGMA application_id")).toLongLong() == schema::kApplicationId;
    }

    Failure::Kind kindOf(const QSqlError &e) const override
    {
        bool ok = false;
        const int code = e.nativeErrorCode().toInt(&ok);
        switch (ok ? code & 0xff : -1) {  // the primary code of an extended one
        case SQLITE_CONSTRAINT:
        case SQLITE_MISMATCH:
        case SQLITE_TOOBIG:
            return Failure::Kind::Constraint;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return Failure::Kind::Busy;
        case SQLITE_FULL:
        case SQLITE_READONLY:
            return Failure::Kind::FullOrReadOnly;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return Failure::Kind::Damaged;
        default:
            return Failure::Kind::Other;
        }
    }

    // The planner keeps the tables of a cross join in the order written.
    QString joinedInOrder(const QStringList &tables) const override { return tables.join(QStringLiteral(" cross join ")); }

    QString dayInYear(const QString &yearExpression, int month, int day) const override
    {
        const QString monthDay = QDate(2000, month, day).toString(QStringLiteral("-MM-dd"));
        return "printf('%04d" + monthDay + "'," + yearExpression + ")";
    }

    // The registered inforce() reads the history into memory for the statement, several times
    // faster than looking each row up when a statement judges a million pay rows.
    QString valueInForceOn(history::Table table, const QString &column, const QString &employeeExpression,
                         const QString &dateExpression) const override
    {
        return QStringLiteral("inforce('%1','%2',%3,%4)")
            .arg(history::tableName(table), column, employeeExpression, dateExpression);
    }
};

}  // namespace

const Dialect &sqliteDialect()
{
    static const SqliteDialect dialect;
    return dialect;
}

}  // namespace sql
