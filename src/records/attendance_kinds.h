#pragma once
// The attendance kinds of kqfsb, for the screens and work tables that list one row or column
// per kind.

#include <QSqlDatabase>
#include <QString>
#include <vector>

namespace records {

struct AttendanceKind {
    QString code;  // 方式编码
    QString name;  // 方式名称
};

// Every kind, by ascending 方式编码. Throws sql::Failure.
std::vector<AttendanceKind> attendanceKinds(const QSqlDatabase &db);

}  // namespace records
