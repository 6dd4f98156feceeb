#pragma once
// The comprehensive salary query: each employee's rows of the three pay sheets for the same
// pay month side by side, for the pay months of a range, narrowed by a combined condition.
// An employee is listed for a month only with a wage, an allowance and a bonus row for it and
// a current row in each of the five histories, whose title and position codes resolve.
// The one result is shown as three grids, one per sheet.

#include "pay/pay_grids.h"
#include "pay/pay_sheets.h"
#include "query/condition.h"

#include <QDate>
#include <QSortFilterProxyModel>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace pay {

// The pay months (first days) from the month of `from` to the month of `to`, both included:
// two dates in one month give that month.
struct MonthRange {
    MonthRange(const QDate &from, const QDate &to);
    QDate first, last;
};

// Employees first, then their current history rows, then their pay rows of the range: each
// employee is checked against its own few rows through the indexes, so the first rows come at
// once at any size and a condition on the employee is judged once per employee. Columns:
// 职工编码, 职工姓名, 年月 (yyyy-MM), then each sheet's amount columns in sheet order; rows in
// register order, each employee's months in turn. Throws sql::Failure.
QSqlQuery salaryQuery(const QSqlDatabase &db, const MonthRange &months, const query::Condition &condition);

// The totals of the query's amount columns over its whole result, summed exactly by the
// database (the result is read as it is scrolled, so its rows are not all at hand): by result
// column, NULL for the leading columns and for a column without amounts. Throws sql::Failure
// (an overflowing sum with its own message).
QVariantList salaryQueryTotals(const QSqlDatabase &db, const MonthRange &months, const query::Condition &condition);

// One sheet's columns of the query's result (code, name, month and the sheet's amounts), the
// amounts as yuan text: one per tab over the one result.
class SalarySheetColumns : public QSortFilterProxyModel {
    Q_OBJECT
public:
    SalarySheetColumns(const Sheet &sheet, QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Sorted over every row of the result (read to its end first), by the stored values.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    // The result column a column of the sheet shows.
    int sourceColumn(int section) const;

protected:
    bool filterAcceptsColumn(int sourceColumn, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    QString columnName(int sourceColumn) const;  // empty for another sheet's column

    Sheet sheet_;
    int first_;  // the source column of the sheet's first amount
};

// The three grids as the screen shows them, every row read. Throws sql::Failure.
std::vector<Grid> salaryQueryGrids(const QSqlDatabase &db, const MonthRange &months, const query::Condition &condition);

}  // namespace pay
