#pragma once
// Comparing one work table cell with what a table of cases expects: an invalid QVariant for
// empty, a double compared as a number (shares and averages), anything else as text.

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
