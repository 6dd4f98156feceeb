#pragma once
// The appraisal results of a year counted per department: appraised employees and how many
// were "优秀", "及格" and "不及格", each employee under his or her department of that year;
// the shares version follows each count with its percentage of the department's total.

#include "pay/pay_grids.h"

namespace pay {

enum class AppraisalCounts { Counts, Shares };

// 单位编码, 单位名称, 职工人数, then 优秀人数, 及格人数, 不及格人数, each followed by "占比"
// in the shares version.
QStringList appraisalStatisticsTitles(AppraisalCounts kind);

// One row per department with appraisal rows in the year, by department code. A share is
// written in general number format (33.3333333333333). Throws sql::Failure.
Grid appraisalStatistics(const QSqlDatabase &db, int year, AppraisalCounts kind);

}  // namespace pay
