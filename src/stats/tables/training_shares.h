#pragma once
// What the two training share tables have in common: one row per course dated within the range
// (pxbm, named pxnr from pxnrb) with its participant rows split by `values`, then the total row
// "汀岚分公司". A participant row counts whether or not its employee still exists.

#include "stats/statistics_table.h"

namespace stats::training {

// A share table of the courses between :from and :to, before its values and reports are set.
TableDescription courseTable(const QString &name, const QString &screenClass, const QString &titleBar);

// Empties the table, then writes one row per course in ascending code, each value the count of
// its participant rows meeting the value's condition (empty when none does; an Average value
// the sum of 成绩), then the total row; shares and the average follow.
QStringList statements(const TableDescription &table, const sql::Dialect &dialect);

}  // namespace stats::training
