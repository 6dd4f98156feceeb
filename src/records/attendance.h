#pragma once
// Attendance (kqjlb): the editor's book, and one employee's rows within a date range with
// the hours summed per attendance kind.

#include "records/event_book.h"

#include <QDate>

namespace records {

// Fields 考勤时间, 时数, 方式编码 (a kind of kqfsb), 罚金, 事由; the grid shows 考勤时间,
// 方式名称 (titled "出勤方式"), 事由, 时数. A row whose kind is not in kqfsb is not listed.
const EventBook &attendanceBook();

// The employee's rows dated from `from` to `to` (both days counted), by date: 考勤时间,
// 出勤方式, 时数, 事由. Throws sql::Failure.
Listing employeeAttendance(const QSqlDatabase &db, const QString &employee, const QDate &from, const QDate &to);

// One card of the summary: a kind with rows in the range and the sum of their hours.
struct AttendanceTotal {
    QString kind;  // 方式名称
    double hours;
};
// The kinds the employee has rows of in the range, in 方式编码 order. Throws sql::Failure.
std::vector<AttendanceTotal> employeeAttendanceTotals(const QSqlDatabase &db, const QString &employee, const QDate &from,
                                                      const QDate &to);

}  // namespace records
