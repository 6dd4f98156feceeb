#pragma once
// Comparing one work table cell with what a table of cases expects: an invalid QVariant for
// empty, a double compared as a number (shares and averages), anything else as text. Comparing
// a rebuilt table with its literal statement list.

#include "reference/literal.h"
#include "stats/statistics_table.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QVariant>

// Empty when the cell is as expected; otherwise what differs.
inline QString cellMismatch(const QVariant &value, const QVariant &expected)
{
    if (!expected.isValid())
        return value.isNull() ? QString() : "expected empty, got " + value.toString();
    if (expected.typeId() == QMetaType::Double)
        return qFuzzyCompare(value.toDouble(), expected.toDouble())
                   ? QString()
                   : QString("expected %1, got %2").arg(expected.toDouble()).arg(value.toString());
    return value.toString() == expected.toString() ? QString()
                                                    : QString("expected %1, got %2").arg(expected.toString(), value.toString());
}

#define QCOMPARE_CELL(value, expected)                                   \
    do {                                                                 \
        const QString mismatch = cellMismatch((value), (expected));      \
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));              \
    } while (false)

// A statistics table by its work table's name, and its grid as CSV.
inline const stats::TableDescription &table(const QString &name) { return *stats::findStatisticsTable(name); }
inline QString tableCsv(const QSqlDatabase &db, const QString &name) { return stats::toCsv(db, table(name).gridQuery()); }

// From now on every insert into this connection's work table `table` for which `condition` (on
// the new row, "new.") holds fails with `message`, on either engine.
inline void failInserts(const QSqlDatabase &db, const QString &table, const QString &message,
                        const QString &condition = QStringLiteral("true"))
{
    const QStringList statements =
        db.driver()->dbmsType() == QSqlDriver::PostgreSQL
            ? QStringList{QString("create function pg_temp.fail() returns trigger language plpgsql as $$ begin "
                                  "if %1 then raise exception '%2'; end if; return new; end $$").arg(condition, message),
                          QString("create trigger fail before insert on pg_temp.%1 for each row execute function pg_temp.fail()").arg(table)}
            : QStringList{QString("create temp trigger fail before insert on %1 when %2 begin select raise(abort,'%3'); end")
                              .arg(table, condition, message)};
    for (const QString &s : statements) {
        QSqlQuery q(db);
        if (!q.exec(s))
            qFatal("%s", qPrintable(q.lastError().text()));
    }
}

// The one cell of `column` in the row of `table` that `where` picks: "no row" when none does,
// "more than one row" when several do.
inline QVariant cellOf(const QSqlDatabase &db, const QString &table, const QString &column, const QString &where)
{
    QSqlQuery q(db);
    if (!q.exec(QString("select %1 from %2 where %3").arg(column, table, where)))
        return "statement refused: " + q.lastError().text();
    const QVariant value = q.next() ? q.value(0) : QVariant("no row");
    return q.next() ? QVariant("more than one row") : value;
}

// The columns of a table of cell cases, and one case: the work table, a condition picking one
// row, the column, and what is expected (invalid: empty; "no row").
inline void addCellColumns()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("expected");
}
inline void cellCase(const char *tag, const char *name, const char *where, const char *column, const QVariant &expected)
{
    QTest::newRow(tag) << QString(name) << QString::fromUtf8(where) << QString(column) << expected;
}

// Empty when the table rebuilt for the period holds what its literal statement list gives, cell
// for cell in grid order; otherwise both, as CSV.
inline QString literalMismatch(const QSqlDatabase &db, const QString &name, const stats::Period &period)
{
    table(name).rebuild(db, period);
    const QString program = tableCsv(db, name);
    reference::rebuild(db, name, period);
    const QString literal = tableCsv(db, name);
    return program == literal ? QString() : "program:\n" + program + "literal:\n" + literal;
}
