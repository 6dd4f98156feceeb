#include "pay/salary_query.h"

#include "db/employee_listing.h"
#include "db/sql.h"
#include "db/value_order.h"
#include "export/xlsx_export.h"

#include <QSqlQueryModel>
#include <QStringList>

namespace pay {
namespace {

using history::Table;

// The columns every sheet's grid begins with.
const QStringList &leadingColumns()
{
    static const QStringList columns = {QStringLiteral("职工编码"), QStringLiteral("职工姓名"), QStringLiteral("年月")};
    return columns;
}

QDate firstOfMonth(const QDate &d) { return QDate(d.year(), d.month(), 1); }

QStringList amountResultColumns()
{
    QStringList columns;
    for (const Sheet &s : sheets())
        columns += s.amountColumns();
    return columns;
}

// `numbered`: the amounts named a0, a1, … in place of their own names, which two sheets may share
// (a query over it could not tell them apart).
QString salaryQueryBase(bool numbered = false)
{
    QStringList selected = {"zghmc.职工编码", "zghmc.职工姓名", "substr(gzb.年月,1,7) as 年月"};
    for (const Sheet &s : sheets())
        for (const QString &c : s.amountColumns())
            selected << amountExpression(s, c, s.table) + " as "
                            + (numbered ? QStringLiteral("a%1").arg(selected.size() - 3) : sql::quoteIdentifier(c));
    EmployeeListing listing;
    listing.current(Table::Department).current(Table::Title).current(Table::Position)
        .current(Table::SkillGrade).current(Table::GradeSalary)
        .code("zcdmb", "zcdtb.职称编码").code("zwdmb", "zwdtb.职务编码")
        .join("gzb", "gzb.职工编码=zghmc.职工编码 and gzb.年月>=:zhcx_first and gzb.年月<=:zhcx_last")
        .join("btb", "btb.职工编码=zghmc.职工编码 and btb.年月=gzb.年月")
        .join("jjb", "jjb.职工编码=zghmc.职工编码 and jjb.年月=gzb.年月");
    return "select " + selected.join(", ") + ' ' + listing.from() + " where " + listing.conditions();
}

}  // namespace

MonthRange::MonthRange(const QDate &from, const QDate &to) : first(firstOfMonth(from)), last(firstOfMonth(to)) {}

namespace {

query::Condition withMonths(const MonthRange &months, const query::Condition &condition)
{
    query::Condition bound = condition;
    bound.values.insert(":zhcx_first", sql::dateValue(months.first));
    bound.values.insert(":zhcx_last", sql::dateValue(months.last));
    return bound;
}

}  // namespace

QSqlQuery salaryQuery(const QSqlDatabase &db, const MonthRange &months, const query::Condition &condition)
{
    // By employee, then month, on every engine: a server's plan gives rows no order of its own.
    query::Condition ordered = withMonths(months, condition);
    ordered.text += QStringLiteral(" order by zghmc.职工编码, gzb.年月");
    return query::withCondition(db, salaryQueryBase(), ordered);
}

QVariantList salaryQueryTotals(const QSqlDatabase &db, const MonthRange &months, const query::Condition &condition)
{
    QStringList sums;
    for (int i = 0; i < amountResultColumns().size(); ++i)
        sums << QStringLiteral("sum(r.a%1)").arg(i);
    const query::Condition bound = withMonths(months, condition);
    QSqlQuery q = sql::prepare(db, "select " + sums.join(", ") + " from (" + salaryQueryBase(true) + ' ' + bound.text + ") r");
    for (auto it = bound.values.cbegin(); it != bound.values.cend(); ++it)
        q.bindValue(it.key(), it.value());
    sql::exec(q);
    QVariantList totals(leadingColumns().size());
    q.next();
    for (int i = 0; i < sums.size(); ++i)
        totals << q.value(i);
    return totals;
}

SalarySheetColumns::SalarySheetColumns(const Sheet &sheet, QObject *parent)
    : QSortFilterProxyModel(parent), sheet_(sheet), first_(int(leadingColumns().size()))
{
    for (const Sheet &s : sheets()) {
        if (s.table == sheet.table)
            break;
        first_ += int(s.amountColumns().size());
    }
}

QString SalarySheetColumns::columnName(int sourceColumn) const
{
    if (sourceColumn < leadingColumns().size())
        return leadingColumns().at(sourceColumn);
    return sheet_.amountColumns().value(sourceColumn - first_);
}

int SalarySheetColumns::sourceColumn(int section) const
{
    // The accepted columns are the leading ones followed by the sheet's own.
    const int leading = int(leadingColumns().size());
    return section < leading ? section : first_ + section - leading;
}

bool SalarySheetColumns::filterAcceptsColumn(int sourceColumn, const QModelIndex &) const
{
    return !columnName(sourceColumn).isEmpty();
}

QVariant SalarySheetColumns::data(const QModelIndex &index, int role) const
{
    const QVariant stored = QSortFilterProxyModel::data(index, role);
    if (role != Qt::DisplayRole || index.column() < leadingColumns().size())
        return stored;
    return shownAmount(columnName(sourceColumn(index.column())), stored);
}

QVariant SalarySheetColumns::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return columnName(sourceColumn(section));
    if (orientation == Qt::Horizontal && role == xlsx::kMoneyColumnRole)
        return isMoneyColumn(columnName(sourceColumn(section)));
    return QSortFilterProxyModel::headerData(section, orientation, role);
}

void SalarySheetColumns::sort(int column, Qt::SortOrder order)
{
    while (sourceModel() && sourceModel()->canFetchMore({}))
        sourceModel()->fetchMore({});
    QSortFilterProxyModel::sort(column, order);
}

bool SalarySheetColumns::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    return value_order::compare(left.data(), right.data()) < 0;
}

std::vector<Grid> salaryQueryGrids(const QSqlDatabase &db, const MonthRange &months, const query::Condition &condition)
{
    QSqlQueryModel result;
    result.setQuery(salaryQuery(db, months, condition));
    while (result.canFetchMore())
        result.fetchMore();
    std::vector<Grid> grids;
    for (const Sheet &s : sheets()) {
        SalarySheetColumns shown(s);
        shown.setSourceModel(&result);
        Grid g{s.tab.trimmed(), {}, {}};
        for (int c = 0; c < shown.columnCount(); ++c)
            g.titles << shown.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        for (int r = 0; r < shown.rowCount(); ++r) {
            QVariantList row;
            for (int c = 0; c < shown.columnCount(); ++c)
                row << shown.index(r, c).data();
            g.rows << row;
        }
        grids.push_back(g);
    }
    return grids;
}

}  // namespace pay
