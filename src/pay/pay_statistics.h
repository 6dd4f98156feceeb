#pragma once
// Company pay statistics: each sheet's amount columns summed per department name over a range
// of pay months, each pay row counted under the department in force on the first day of its
// own month. Sums are exact (integers of 1/10000 yuan; 工龄 in whole yuan).

#include "pay/pay_sheets.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QVariantList>
#include <functional>
#include <optional>

namespace pay {

// Called after each month of a sheet is summed; returning false stops the work.
using MonthSummed = std::function<bool()>;

// Rows of 单位名称 followed by the sheet's amount columns, by department name; departments
// without pay rows in the range are left out. `from` and `to` are first days of months. The
// months are summed one by one, so a year of a large organisation can show its progress and be
// stopped between two months: std::nullopt when `monthSummed` stopped it. Throws sql::Failure.
std::optional<QList<QVariantList>> departmentTotals(const QSqlDatabase &db, const Sheet &sheet, const QDate &from,
                                                    const QDate &to, const MonthSummed &monthSummed);
QList<QVariantList> departmentTotals(const QSqlDatabase &db, const Sheet &sheet, const QDate &from, const QDate &to);

// The pay months from `from` to `to` (first days of months), both counted; 0 when `to` is earlier.
int monthsFrom(const QDate &from, const QDate &to);

}  // namespace pay
