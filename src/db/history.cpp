#include "db/history.h"

#include "db/current_rows.h"
#include "db/sql.h"

namespace history {

QString tableName(Table table)
{
    switch (table) {
    case Table::Department: return QStringLiteral("dwdtb");
    case Table::Position: return QStringLiteral("zwdtb");
    case Table::Title: return QStringLiteral("zcdtb");
    case Table::SkillGrade: return QStringLiteral("gwjndtb");
    case Table::GradeSalary: return QStringLiteral("zwdjdtb");
    }
    return {};
}

const QStringList &datedTimelineTables()
{
    static const QStringList tables = {"dwdtb", "zwdtb", "zcdtb", "gwjndtb"};
    return tables;
}

namespace {

// The outer row's 自动编号 is among the greatest 自动编号 per employee of the filtered rows.
QString greatestPerEmployee(Table table, const QString &filter)
{
    const QString t = tableName(table);
    return QStringLiteral("%1.自动编号 in (select max(h.自动编号) from %1 h%2 group by h.职工编码)")
        .arg(t, filter.isEmpty() ? QString() : QStringLiteral(" where ") + filter);
}

// The outer row is the greatest 自动编号 among that one employee's filtered rows.
QString greatestForRow(Table table, const QString &employeeColumn, const QString &filter)
{
    const QString t = tableName(table);
    return QStringLiteral("%1.自动编号 = (select max(h.自动编号) from %1 h where h.职工编码=%2%3)")
        .arg(t, employeeColumn, filter.isEmpty() ? QString() : QStringLiteral(" and ") + filter);
}

}  // namespace

QString currentRow(Table table) { return greatestPerEmployee(table, {}); }

QString inForceOn(Table table, const QString &dateExpression)
{
    return greatestPerEmployee(table, QStringLiteral("h.变动时间<=") + dateExpression);
}

QString inForceInYear(Table table, const QString &yearExpression)
{
    return greatestPerEmployee(table, QStringLiteral("year(h.变动时间)<=") + yearExpression);
}

QString inForceBefore(Table table, const QString &dateExpression)
{
    return greatestPerEmployee(table, QStringLiteral("h.变动时间<") + dateExpression);
}

QString currentRowForRow(Table table, const QString &employeeColumn)
{
    // The kept current row: one lookup by employee in a table of one row per employee.
    return QStringLiteral("%1.自动编号=(select c.%2 from %3 c where c.职工编码=%4)")
        .arg(tableName(table), current_rows::column(table), QLatin1String(current_rows::kTable), employeeColumn);
}

QString inForceOnForRow(Table table, const QString &employeeColumn, const QString &dateExpression)
{
    return greatestForRow(table, employeeColumn, QStringLiteral("h.变动时间<=") + dateExpression);
}

QString inForceBeforeForRow(Table table, const QString &employeeColumn, const QString &dateExpression)
{
    return greatestForRow(table, employeeColumn, QStringLiteral("h.变动时间<") + dateExpression);
}

std::optional<qint64> latestDatedOn(const QSqlDatabase &db, Table table, const QString &employee,
                                    const QDate &date)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select 自动编号 from %1 where 职工编码=:zgbm and 变动时间<=:bdsj "
                                                  "order by 变动时间 desc, 自动编号 desc limit 1")
                                       .arg(tableName(table)));
    q.bindValue(":zgbm", employee);
    q.bindValue(":bdsj", sql::dateValue(date));
    sql::exec(q);
    if (!q.next())
        return std::nullopt;
    return q.value(0).toLongLong();
}

QList<QDate> changeDates(const QSqlDatabase &db, const QString &employee)
{
    QStringList selects;
    for (const QString &t : datedTimelineTables())
        selects << QStringLiteral("select 变动时间 from %1 where 职工编码=:zgbm and 变动时间 is not null").arg(t);
    QSqlQuery q = sql::prepare(db, selects.join(" union ") + " order by 变动时间");
    q.setForwardOnly(true);
    q.bindValue(":zgbm", employee);
    sql::exec(q);
    QList<QDate> dates;
    while (q.next())
        dates << sql::toDate(q.value(0));
    return dates;
}

QStringList positionsSince(const QSqlDatabase &db, const QString &employee, const QDate &date)
{
    QSqlQuery q = sql::prepare(db, "select zwdmb.职务名称 from zwdtb, zwdmb where zwdmb.职务编码=zwdtb.职务编码 "
                                   "and zwdtb.变动时间>=:bdsj and zwdtb.职工编码=:zgbm "
                                   "order by zwdtb.变动时间 desc, zwdtb.自动编号 desc");
    q.setForwardOnly(true);
    q.bindValue(":bdsj", sql::dateValue(date));
    q.bindValue(":zgbm", employee);
    sql::exec(q);
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

}  // namespace history
