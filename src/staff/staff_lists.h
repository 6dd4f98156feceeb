#pragma once
// The lists of the employee editor: departments and one department's employees.

#include <QSqlDatabase>
#include <QSqlQuery>

namespace staff {

// Departments in code order: 单位编码, 单位名称. Executed. Throws sql::Failure.
QSqlQuery departments(const QSqlDatabase &db);

// The employees whose current department row (greatest 自动编号) is `department`, in code
// order: 职工编码, 职工姓名. Executed and ready to be read lazily: the department index gives
// the rows in order, so nothing is read before it is shown. Throws sql::Failure.
QSqlQuery departmentEmployees(const QSqlDatabase &db, const QString &department);

}  // namespace staff
