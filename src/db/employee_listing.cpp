#include "db/employee_listing.h"

#include "db/code_items.h"

namespace {
const QString kEmployee = QStringLiteral("zghmc.职工编码");
}

EmployeeListing &EmployeeListing::current(history::Table table)
{
    const QString name = history::tableName(table);
    joins_.push_back({name, {name + ".职工编码=" + kEmployee, history::currentRowForRow(table, kEmployee)}});
    return *this;
}

EmployeeListing &EmployeeListing::code(const QString &table, const QString &codeExpression, const QString &alias)
{
    const QString name = alias.isEmpty() ? table : alias;
    return join(alias.isEmpty() ? table : table + ' ' + alias,
                name + '.' + code_items::columnsOf(table).code + '=' + codeExpression);
}

EmployeeListing &EmployeeListing::join(const QString &table, const QString &condition)
{
    joins_.push_back({table, {condition}});
    return *this;
}

QString EmployeeListing::from() const
{
    QString text = QStringLiteral("from zghmc");
    for (const Joined &j : joins_)
        text += join_ == Join::Inner ? " cross join " + j.table
                                     : " left join " + j.table + " on " + j.conditions.join(" and ");
    return text;
}

QString EmployeeListing::conditions() const
{
    if (join_ == Join::Outer)
        return {};
    QStringList all;
    for (const Joined &j : joins_)
        all << j.conditions;
    return all.join(" and ");
}
