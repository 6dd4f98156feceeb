#pragma once
// The company attendance statistics' work table gskqtjb: one row per employee with attendance
// rows of a known kind in a date range (bz '2', 职工编码, 职工姓名), one column per attendance
// kind (named as records::kindColumnNames gives it, in 方式编码 order) holding the sum of that
// employee's hours of that kind in the range, 0 where there are none. The hours keep their
// fractions, so the columns are reals.

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace records {

// Drops gskqtjb (when there is one) and builds it again for the range (both days counted), in
// one transaction: on failure the previous table stays as it was and sql::Failure carries the
// database's message.
void rebuildCompanyAttendance(const QSqlDatabase &db, const QDate &from, const QDate &to);

// The kind columns of gskqtjb as it stands (none when there is no table). Throws sql::Failure.
QStringList companyAttendanceKindColumns(const QSqlDatabase &db);

// The grid's column titles: the employee's code and name, then each kind's column as the
// table names it (read from the table, since the driver's column names drop double quotes).
QStringList companyAttendanceTitles(const QSqlDatabase &db);

// The grid's statement: 职工编码, 职工姓名 and the kind columns of gskqtjb as it stands, by
// employee code. Throws sql::Failure.
QString companyAttendanceQuery(const QSqlDatabase &db);

}  // namespace records
