#include "db/sql.h"

#include "db/dialect.h"

#include <QSqlDriver>
#include <QSqlError>

namespace sql {

QString Failure::explain(const QString &refusal) const
{
    switch (kind_) {
    case Kind::Constraint: return refusal.isEmpty() ? kDatabaseErrorMessage : refusal;
    case Kind::Busy: return kBusyMessage;
    case Kind::FullOrReadOnly: return kFullMessage;
    case Kind::Damaged: return kDamagedMessage;
    case Kind::Refused: return message();
    case Kind::Denied: return kDeniedMessage;
    case Kind::Stale: return kStaleMessage;
    case Kind::Lost: return kLostMessage;
    case Kind::Other: break;
    }
    return kDatabaseErrorMessage;
}

Failure staleRow() { return Failure(kStaleMessage, Failure::Kind::Stale); }

static Failure failure(const QSqlQuery &query)
{
    const QSqlError e = query.lastError();
    QString text = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    // A sum beyond 64 bits (amounts written by another program), said in the user's words: a
    // file's "integer overflow", a server's numeric value out of range (SQLSTATE 22003).
    if (text == QLatin1String("integer overflow") || e.nativeErrorCode() == QLatin1String("22003"))
        text = QStringLiteral("金额合计过大，超出可计算的范围");
    return Failure(text.isEmpty() ? QStringLiteral("未知的数据库错误") : text, dialect(query.driver()).kindOf(e));
}

QSqlQuery prepare(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery query(db);
    if (!query.prepare(statement))
        throw failure(query);
    return query;
}

// A server's driver writes each bound text into the statement as a C string: a NUL would cut
// the statement short, and no text on a server can hold one. Refused as a value the column
// cannot take, before anything is sent.
static void refuseNulOnServer(const QSqlQuery &query)
{
    if (!query.driver() || query.driver()->dbmsType() != QSqlDriver::PostgreSQL)
        return;
    for (const QVariant &value : query.boundValues())
        if (value.typeId() == QMetaType::QString && value.toString().contains(QChar(0)))
            throw Failure(QStringLiteral("文本中含有空字符，数据库服务器不能保存"), Failure::Kind::Constraint);
}

QVariant cell(const QSqlQuery &query, int column) { return query.isNull(column) ? QVariant() : query.value(column); }

void exec(QSqlQuery &query)
{
    refuseNulOnServer(query);
    if (!query.exec())
        throw failure(query);
}

void exec(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery query(db);
    if (!query.exec(statement))
        throw failure(query);
}

QVariant scalar(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(statement))
        throw failure(query);
    return query.next() ? query.value(0) : QVariant();
}

QSet<QString> tableAndTriggerNames(const QSqlDatabase &db)
{
    const Dialect &d = dialect(db);
    const QStringList names = d.tableNames(db) + d.triggerNames(db);
    return QSet<QString>(names.begin(), names.end());
}

QStringList missingTablesAndTriggers(const QSqlDatabase &db, const QStringList &names)
{
    const QSet<QString> present = tableAndTriggerNames(db);
    QStringList missing;
    for (const QString &name : names)
        if (!present.contains(name))
            missing << name;
    return missing;
}

static QString parameter(int i) { return QStringLiteral(":p%1").arg(i); }
static QString readParameter(int i) { return QStringLiteral(":o%1").arg(i); }

QSqlQuery prepareInsert(const QSqlDatabase &db, const QString &table, const QStringList &columns)
{
    QStringList quoted, params;
    for (int i = 0; i < columns.size(); ++i) {
        quoted << quoteIdentifier(columns[i]);
        params << parameter(i);
    }
    return prepare(db, QStringLiteral("insert into %1 (%2) values (%3)")
                           .arg(quoteIdentifier(table), quoted.join(','), params.join(',')));
}

QSqlQuery prepareUpdate(const QSqlDatabase &db, const QString &table, const QStringList &columns,
                        const QString &keyColumn, const QStringList &asRead)
{
    QStringList assignments;
    for (int i = 0; i < columns.size(); ++i)
        assignments << quoteIdentifier(columns[i]) + '=' + parameter(i);
    QString where = quoteIdentifier(keyColumn) + QStringLiteral("=:key");
    for (int i = 0; i < asRead.size(); ++i)
        where += QStringLiteral(" and ") + dialect(db).sameValue(quoteIdentifier(asRead[i]), readParameter(i));
    return prepare(db, QStringLiteral("update %1 set %2 where %3").arg(quoteIdentifier(table), assignments.join(','), where));
}

void bindAsRead(QSqlQuery &query, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(readParameter(i), values[i]);
}

void bindRow(QSqlQuery &query, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(parameter(i), values[i]);
}

QVariant dateValue(const QDate &date)
{
    return date.isValid() ? QVariant(date.toString(Qt::ISODate)) : QVariant();
}

QDate toDate(const QVariant &value)
{
    return value.isNull() ? QDate() : QDate::fromString(value.toString().left(10), Qt::ISODate);
}

bool quotableIdentifier(const QString &identifier)
{
    return !identifier.isEmpty() && !identifier.contains(QChar(0));
}

QString quoteIdentifier(const QString &identifier)
{
    if (!quotableIdentifier(identifier))
        throw Failure(QStringLiteral("名称不能用作列名：%1").arg(QString(identifier).replace(QChar(0), QStringLiteral("\\0"))),
                      Failure::Kind::Constraint);
    return '"' + QString(identifier).replace('"', QStringLiteral("\"\"")) + '"';
}

}  // namespace sql
