#pragma once
// An employee's grade (position) salary history, zwdjdtb, as its editor keeps it: the change
// date, the grade of zwdjdmb, the grade salary and the reason. The rows are read, saved and
// deleted through the history kit of the work dynamics editor.

#include "records/work_dynamics.h"

#include <QSqlDatabase>
#include <QString>

namespace pay {

// "等级工资动态": rows with 等级名称, 等级工资 and 变动理由; fields 变动日期, 等级档次,
// 等级工资, 变动理由.
const records::HistoryGroup &gradeSalaryGroup();

// The grade's standard salary as a yuan amount for the salary box; empty when the grade has
// none or is unknown. Throws sql::Failure.
QString standardSalary(const QSqlDatabase &db, const QString &grade);

}  // namespace pay
