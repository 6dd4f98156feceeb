#include "records/event_book.h"

#include "app/edit_rows.h"
#include "db/dialect.h"
#include "db/sql.h"

#include <cmath>

namespace records {

QSqlQuery eventRows(const QSqlDatabase &db, const EventBook &book, const QString &employee)
{
    const QString t = book.table;
    QStringList columns = {t + ".自动编号"};
    for (const EventColumn &c : book.editorColumns)
        columns << c.expression;
    for (const edit::Field &f : book.fields)
        columns << QStringLiteral("%1.%2 as %2").arg(t, f.column);
    const QString from = book.names.isEmpty() ? t : sql::dialect(db).joinedInOrder({t, book.names});
    const QString join = book.nameJoin.isEmpty() ? QString() : " and " + book.nameJoin;
    // The employee's rows first, through the table's index on 职工编码.
    QSqlQuery q = sql::prepare(db, QStringLiteral("select %1 from %2 where %3.职工编码=:zgbm%4 order by %3.自动编号")
                                       .arg(columns.join(", "), from, t, join));
    q.bindValue(":zgbm", employee);
    sql::exec(q);
    return q;
}

void saveEvent(const QSqlDatabase &db, const EventBook &book, const QString &employee, const edit::Values &values,
               std::optional<edit::RecordedRow> row)
{
    std::vector<const edit::Field *> order;
    for (const edit::Field &f : book.fields)
        order.push_back(&f);
    QString refused = edit::firstFailure(db, order, values);
    if (refused.isEmpty()) {
        const QString kind = values.value(book.kindField);
        bool offered = false;
        for (const code_items::Item &item : book.kindItems(db))
            offered = offered || item.code == kind;
        if (!offered)
            refused = edit::findField(book.fields, book.kindField)->message;
    }
    if (!refused.isEmpty())
        throw sql::Failure(refused, sql::Failure::Kind::Refused);
    if (row)
        edit::saveRow(db, book.fields, book.table, values, row->key());
    else
        edit::saveRow(db, book.fields, book.table, values, {}, {{QStringLiteral("职工编码"), employee}});
}

void deleteRecordedRow(const QSqlDatabase &db, const QString &table, qint64 rowId)
{
    // A row gone meanwhile is told as the screen's refusal to delete, as the database's refusals are.
    if (edit::removeRow(db, table, {QStringLiteral("自动编号"), rowId}) != 1)
        throw sql::Failure(QStringLiteral("要删除的记录已不存在（%1）").arg(table), sql::Failure::Kind::Constraint);
}

QString hoursText(double hours)
{
    QString text = QString::number(std::round(hours * 10000) / 10000, 'f', 4);
    while (text.endsWith('0'))
        text.chop(1);
    if (text.endsWith('.'))
        text.chop(1);
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

}  // namespace records
