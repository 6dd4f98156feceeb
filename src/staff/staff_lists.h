#pragma once
// The lists of the employee editor: departments and one department's employees, as lists for
// WindowedRows.

#include "db/windowed_rows.h"

#include <QSqlDatabase>
#include <optional>

namespace staff {

// Departments in code order: 单位编码, 单位名称.
windowed::Listing departments();

// The employees whose current department row (greatest 自动编号) is `department`, in code
// order: 职工编码, 职工姓名. The department index gives the rows in order, so a window of them
// is read without reading the rest.
windowed::Listing departmentEmployees(const QString &department);

// The first employee of the register (codes or names beginning with the text before those
// holding it elsewhere, then by code) whose code or name holds `text`, taken literally, with
// the department of his or her current department row (empty without one); nullopt when
// nobody matches. Throws sql::Failure.
struct FoundEmployee {
    QString code;
    QString department;
};
std::optional<FoundEmployee> findEmployee(const QSqlDatabase &db, const QString &text);

}  // namespace staff
