#include "db/employee_listing.h"

#include "db/code_items.h"
#include "db/current_rows.h"

#include <algorithm>

namespace {
const QString kEmployee = QStringLiteral("zghmc.职工编码");
}

EmployeeListing &EmployeeListing::current(history::Table table)
{
    // The employee's kept current rows once, then each history's row straight by its 自动编号.
    const QString kept = QLatin1String(current_rows::kTable);
    if (std::none_of(joins_.begin(), joins_.end(), [&](const Joined &j) { return j.table == kept; }))
        join(kept, kept + ".职工编码=" + kEmployee);
    return join(history::tableName(table), current_rows::joinCondition(table));
}

EmployeeListing &EmployeeListing::code(const QString &table, const QString &codeExpression, const QString &alias)
{
    const QString name = alias.isEmpty() ? table : alias;
    return join(alias.isEmpty() ? table : table + ' ' + alias,
                name + '.' + code_items::columnsOf(table).code + '=' + codeExpression);
}

EmployeeListing &EmployeeListing::join(const QString &table, const QString &condition)
{
    joins_.push_back({table, condition});
    return *this;
}

QString EmployeeListing::from() const
{
    // A cross join with its conditions in the where clause is an inner join on every engine;
    // SQLite also keeps the tables in the order written, zghmc driving.
    QString text = QStringLiteral("from zghmc");
    for (const Joined &j : joins_)
        text += join_ == Join::Inner ? " cross join " + j.table
                                     : " left join " + j.table + " on " + j.condition;
    return text;
}

QString EmployeeListing::conditions() const
{
    if (join_ == Join::Outer)
        return {};
    QStringList all;
    for (const Joined &j : joins_)
        all << j.condition;
    return all.join(" and ");
}
