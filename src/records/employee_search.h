#pragma once
// The employee search of the record, pay and training screens: a department ("所有部门" or one
// department), a code prefix and a name prefix narrow a list of employees (职工编码, 职工姓名)
// in code order. The screens differ only in which employees the list starts from.

#include "db/windowed_rows.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

namespace records {

enum class ListBase {
    CurrentDepartment,  // employees with a department row, each under his or her current one
    AllEmployees,       // every employee; a chosen department still means the current one
    TechnicalCadres,    // as CurrentDepartment, of those with a current position and a current
                        // title whose category is not "00"
};

struct EmployeeSearch {
    QString department;  // a department code; empty: every department
    QString codePrefix;  // matched literally at the start of 职工编码; empty: any
    QString namePrefix;  // matched literally at the start of 职工姓名; empty: any
};

// The employees found, as the list for WindowedRows, in code order.
windowed::Listing searchListing(const QSqlDatabase &db, ListBase base, const EmployeeSearch &search);

// The same employees, executed. Throws sql::Failure.
QSqlQuery searchEmployees(const QSqlDatabase &db, ListBase base, const EmployeeSearch &search);

}  // namespace records
