#include "records/attendance_kinds.h"

#include "db/sql.h"

namespace records {

std::vector<AttendanceKind> attendanceKinds(const QSqlDatabase &db)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select 方式编码, 方式名称 from kqfsb order by 方式编码"));
    q.setForwardOnly(true);
    sql::exec(q);
    std::vector<AttendanceKind> kinds;
    while (q.next())
        kinds.push_back({q.value(0).toString(), q.value(1).toString()});
    return kinds;
}

}  // namespace records
