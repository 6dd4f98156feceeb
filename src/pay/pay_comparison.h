#pragma once
// Net wages (gzb.实发工资) of every department on duty compared across time: one column per
// month of a year, or per year for a year and the nine before it. Each wage row is counted
// under its employee's department in force on the first day of its own month.

#include "pay/pay_grids.h"

#include <QDate>
#include <QSqlDatabase>

namespace pay {

enum class ComparisonSpan { Months, Years };

// The columns' periods, left to right: months 1..12 of `year`, or the years `year` down to
// `year` - 9.
QList<int> comparisonPeriods(ComparisonSpan span, int year);

// Rows of 单位名称 followed by one exact sum (1/10000 yuan) per period, NULL where the
// department has no wage rows; departments with codes below "97", in table order.
// Throws sql::Failure.
QList<QVariantList> comparisonTotals(const QSqlDatabase &db, ComparisonSpan span, int year);

// The grid as the screen shows it (amounts as yuan text). Throws sql::Failure.
Grid comparisonGrid(const QSqlDatabase &db, ComparisonSpan span, int year);

}  // namespace pay
