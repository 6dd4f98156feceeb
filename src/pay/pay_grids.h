#pragma once
// The grids of the pay screens as they show them (amounts as yuan text), for the screens
// themselves and for wenpad-admin grid.

#include <QAbstractItemModel>
#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <optional>
#include <vector>

namespace pay {

struct Grid {
    QString caption;  // the tab's caption
    QStringList titles;
    QList<QVariantList> rows;
};

// The three sheets' totals per department over the months from `from` to `to` (first days),
// read in one picture of the data. Throws sql::Failure.
std::vector<Grid> statisticsGrids(const QSqlDatabase &db, const QDate &from, const QDate &to);
// The same, telling the months summed so far of all (three sheets' months) after each;
// std::nullopt when `progress` returned false.
using Progress = std::function<bool(int done, int total)>;
std::optional<std::vector<Grid>> statisticsGrids(const QSqlDatabase &db, const QDate &from, const QDate &to,
                                                 const Progress &progress);

// The three sheets of a department's month as the entry screen lists them. Throws sql::Failure.
std::vector<Grid> sheetGrids(const QSqlDatabase &db, const QDate &month, const QString &department);

// An employee's rows of the three sheets whose pay month lies from `from` to `to` (any days:
// a row is dated the first of its month), by month. Throws sql::Failure.
std::vector<Grid> employeeGrids(const QSqlDatabase &db, const QString &employee, const QDate &from, const QDate &to);

// Two grids side by side in one: the titles of both, row i of each on row i (the shorter one
// padded with empty cells), under the left one's caption.
Grid sideBySide(const Grid &left, const Grid &right);

// Marks the model's amount columns (by their titles; 工龄, in whole yuan, is no money column)
// with xlsx::kMoneyColumnRole, so grids, printouts and workbooks show them as money.
void markMoneyColumns(QAbstractItemModel &model);
bool isMoneyColumn(const QString &title);

// A stored amount as the grids show it: yuan text, whole yuan as they are, empty as empty.
QVariant shownAmount(const QString &column, const QVariant &stored);

// Grids as CSV, each after a line with its caption.
QString toCsv(const std::vector<Grid> &grids);

}  // namespace pay
