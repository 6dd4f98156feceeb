#pragma once
// The lists the employee screens read: code-table lookups and one department's employees.

#include "staff/employee_fields.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace staff {

struct CodeItem {
    QString code;
    QString name;
};

// The rows a lookup offers, by code; a filtered lookup (titles of a work type) offers only the
// rows matching `filterValue`. Throws sql::Failure.
QList<CodeItem> lookupItems(const QSqlDatabase &db, const Lookup &lookup, const QString &filterValue = {});

// Whether `code` is one of the rows the lookup offers (a lookup "shows a name").
bool lookupOffers(const QSqlDatabase &db, const Lookup &lookup, const QString &code,
                  const QString &filterValue = {});

// Departments in code order: 单位编码, 单位名称. Executed. Throws sql::Failure.
QSqlQuery departments(const QSqlDatabase &db);

// The employees whose current department row (greatest 自动编号) is `department`, in code
// order: 职工编码, 职工姓名. Executed and ready to be read lazily: the department index gives
// the rows in order, so nothing is read before it is shown. Throws sql::Failure.
QSqlQuery departmentEmployees(const QSqlDatabase &db, const QString &department);

}  // namespace staff
