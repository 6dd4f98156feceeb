#pragma once
// The head-count breakdown shared by the basic situation tables: each count column with the
// condition an employee meets to be counted in it. Conditions are SQL over the columns
// 职工性别, 民族编码, 文化程度, 政治面貌 of the employee and `age`, the calendar-year age at
// the cut-off.

#include <QString>
#include <vector>

namespace stats {

struct CountColumn {
    QString name;
    QString condition;
};

// nv, ssmz, bs, ss, bk, dz, zz, dy, ty, mz, qt, l25, f25t30 … f55t60, in grid order.
const std::vector<CountColumn> &basicSituationColumns();

// The calendar-year age at a cut-off given as an SQL date expression.
QString ageAt(const QString &birthColumn, const QString &dateExpression);

}  // namespace stats
