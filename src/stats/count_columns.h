#pragma once
// The head-count breakdown shared by the basic situation tables: each count column with the
// condition an employee meets to be counted in it. Conditions are SQL over the columns
// 职工性别, 民族编码, 文化程度, 政治面貌 and 出生年月 of the employee. Ages are calendar-year
// differences (the cut-off's year minus the birth year), so an age band is a range of birth
// dates: compared as text, with no function called per employee.

#include <QDate>
#include <QString>
#include <vector>

namespace stats {

struct CountColumn {
    QString name;
    QString condition;
};

// A work table column and its title in a grid or a printed table.
struct TitledColumn {
    QString field;
    QString title;
};

// Each count column followed by its share column (the count's name + "zb") titled `shareTitle`.
std::vector<TitledColumn> withShares(std::initializer_list<TitledColumn> counts, const QString &shareTitle);

// nv, ssmz, bs, ss, bk, dz, zz, dy, ty, mz, qt, l25, f25t30 … f55t60, in grid order.
std::vector<CountColumn> basicSituationColumns(const QDate &cutoff);

}  // namespace stats
