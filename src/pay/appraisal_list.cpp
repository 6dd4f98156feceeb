#include "pay/appraisal_list.h"

#include "db/employee_listing.h"
#include "db/money.h"
#include "pay/appraisal.h"

#include <algorithm>

namespace pay {
namespace {

// Rows as the grid shows them: the money column as yuan text.
QList<QVariantList> inYuan(QList<QVariantList> rows, int moneyColumn)
{
    if (moneyColumn >= 0)
        for (QVariantList &row : rows)
            if (moneyColumn < row.size() && !row[moneyColumn].isNull())
                row[moneyColumn] = money::formatYuan(row[moneyColumn].toLongLong());
    return rows;
}

// One employee's rows of a history, in `order`.
QList<QVariantList> employeeRows(const QSqlDatabase &db, const QString &columns, const QString &from,
                                 const QString &employeeColumn, const QStringList &order, const QString &employee)
{
    windowed::Listing l;
    l.columns = columns;
    l.from = from;
    l.where = employeeColumn + "=:zgbm";
    l.order = order;
    l.values = {{":zgbm", employee}};
    return windowed::readAll(db, l);
}

int moneyColumnOf(const std::vector<query::ListColumn> &columns)
{
    const auto money = std::find_if(columns.begin(), columns.end(), [](const query::ListColumn &c) { return c.money; });
    return money == columns.end() ? -1 : int(money - columns.begin());
}

}  // namespace

windowed::Listing appraisalListing(const query::Condition &condition)
{
    using history::Table;
    // Employees first, each reaching its current row of every history through its one row of
    // the kept table dqdtb (db/current_rows.h) and its latest appraisal through ndkhb's
    // (职工编码, 自动编号) index, so a window of rows comes at once at any size. The position and
    // title code tables are joined for the conditions on their levels and categories.
    EmployeeListing listing;
    listing.current(Table::Department).current(Table::SkillGrade).current(Table::Position).code("zwdmb", "zwdtb.职务编码")
        .current(Table::Title).code("zcdmb", "zcdtb.职称编码").current(Table::GradeSalary)
        .join("ndkhb", "ndkhb.职工编码=zghmc.职工编码 and ndkhb.自动编号=(select max(h.自动编号) from ndkhb h "
                       "where h.职工编码=zghmc.职工编码)");
    windowed::Listing l;
    l.columns = QStringLiteral("zwdjdtb.职工编码, zghmc.职工姓名, zwdjdtb.变动时间, zwdjdtb.等级工资, zwdjdtb.变动理由, "
                               "ndkhb.年度, ndkhb.考核成绩");
    l.from = listing.from();
    l.where = listing.conditions() + condition.text;
    l.order = {QStringLiteral("zghmc.职工编码")};
    l.values = condition.values;
    return l;
}

const std::vector<query::ListColumn> &appraisalListColumns()
{
    static const std::vector<query::ListColumn> columns = {
        {"职工编码", "职工编码"}, {"职工姓名", "职工姓名"}, {"变动时间", "等级工资变动时间"}, {"等级工资", "等级工资", true},
        {"变动理由", "变动理由"}, {"年度", "考核年度"},     {"考核成绩", "考核成绩"},
    };
    return columns;
}

Grid appraisalListGrid(const QSqlDatabase &db, const query::Condition &condition)
{
    const std::vector<query::ListColumn> &columns = appraisalListColumns();
    QStringList titles;
    for (const query::ListColumn &c : columns)
        titles << c.title;
    return {QStringLiteral("花名册"), titles,
            inYuan(windowed::readAll(db, appraisalListing(condition)), moneyColumnOf(columns))};
}

Grid gradeSalaryHistoryGrid(const QSqlDatabase &db, const QString &employee)
{
    const QList<QVariantList> rows = employeeRows(
        db, "zwdjdtb.变动时间, coalesce(zwdjdmb.等级名称, ''), zwdjdtb.等级工资, zwdjdtb.变动理由",
        "from zwdjdtb left join zwdjdmb on zwdjdmb.等级编码=zwdjdtb.等级编码", "zwdjdtb.职工编码",
        {"zwdjdtb.变动时间", "zwdjdtb.自动编号"}, employee);
    const QStringList titles = {QStringLiteral("变动时间"), QStringLiteral("等级（职务）档次"), QStringLiteral("等级工资"),
                                QStringLiteral("变动理由")};
    return {QStringLiteral("等级工资变动"), titles, inYuan(rows, 2)};
}

Grid appraisalResultsGrid(const QSqlDatabase &db, const QString &employee)
{
    QString marks;
    for (const QString &result : appraisalResults())
        marks += QStringLiteral(", case when 考核成绩='%1' then '√' else '' end").arg(result);
    const QStringList titles = QStringList{QStringLiteral("年度")} + appraisalResults();
    return {QStringLiteral("年度考核"), titles,
            employeeRows(db, "年度" + marks, "from ndkhb", "职工编码", {"年度", "自动编号"}, employee)};
}

}  // namespace pay
