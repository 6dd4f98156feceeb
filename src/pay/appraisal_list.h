#pragma once
// The grade salary change and appraisal table: every employee with his or her latest grade
// salary change and latest appraisal result (each the greatest 自动编号, whatever its date or
// year), narrowed by the combined condition; and one employee's whole grade salary history and
// every appraisal result. An employee lacking a row in any of the five histories or in ndkhb
// is not listed.

#include "db/windowed_rows.h"
#include "pay/pay_grids.h"
#include "query/basic_situation.h"
#include "query/condition.h"

namespace pay {

// The list narrowed by a condition, for WindowedRows, in code order.
windowed::Listing appraisalListing(const query::Condition &condition);
// 职工编码, 职工姓名, 等级工资变动时间, 等级工资 (integer money), 变动理由, 考核年度, 考核成绩.
const std::vector<query::ListColumn> &appraisalListColumns();

// The whole list as shown (amounts as yuan text), for printing and wenpad-admin grid. Throws
// sql::Failure.
Grid appraisalListGrid(const QSqlDatabase &db, const query::Condition &condition);

// The employee's grade salary rows by change date: 变动时间, 等级（职务）档次 (the grade's name,
// empty for an unknown grade), 等级工资 (yuan text), 变动理由. Throws sql::Failure.
Grid gradeSalaryHistoryGrid(const QSqlDatabase &db, const QString &employee);

// The employee's appraisal rows by year: 年度, then "√" under the one of 优秀, 及格, 不及格
// that is the result. Throws sql::Failure.
Grid appraisalResultsGrid(const QSqlDatabase &db, const QString &employee);

}  // namespace pay
