#pragma once
// Company pay statistics: each sheet's amount columns summed per department name over a range
// of pay months, each pay row counted under the department in force on the first day of its
// own month. Sums are exact (integers of 1/10000 yuan; 工龄 in whole yuan).

#include "pay/pay_sheets.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QVariantList>

namespace pay {

// Rows of 单位名称 followed by the sheet's amount columns, by department name; departments
// without pay rows in the range are left out. `from` and `to` are first days of months.
// Throws sql::Failure.
QList<QVariantList> departmentTotals(const QSqlDatabase &db, const Sheet &sheet, const QDate &from, const QDate &to);

}  // namespace pay
