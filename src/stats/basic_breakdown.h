#pragma once
// The head-count breakdown several statistics tables share: the head count, sex, nationality,
// the five education levels, the four political statuses, the eight age bands and the average
// age, with their titles, headings and chart labels, and the charts and group captions over
// them. Ages are calendar-year differences: the cut-off's year minus the birth year.

#include "stats/statistics_table.h"

namespace stats::breakdown {

ValueColumn headCount();  // zs "总数", every counted row
// nv, ssmz, bs, ss, bk, dz, zz, dy, ty, mz, qt, l25, f25t30 … f55t60, in grid order.
std::vector<ValueColumn> basic();
ValueColumn averageAge();  // pjnl "平均年龄"
enum class Average { Without, With };
// The head count, the basic breakdown and, where asked, the average age.
std::vector<ValueColumn> full(Average average);
// The columns of basic() with these keys, in the order given.
std::vector<ValueColumn> pick(const QStringList &keys);

// A table of one row per department (dwbm, named dwmc from dwdmb) and then its total row, in
// ascending bz, before its values, groups, charts, reports and statements are filled in.
TableDescription departmentTable(const QString &name, const QString &screenClass, const QString &screen,
                                 const QString &gridLabel);

// The education, political status and age charts; the first and last captions differ by table.
std::vector<Chart> charts(const QString &educationCaption, const QString &ageCaption);

// The captions over the education, political status and age columns, with their printed
// group headings (none where empty).
std::vector<GroupCaption> groups(const QString &printedEducation, const QString &printedPolitics,
                                 const QString &printedAge);

}  // namespace stats::breakdown
