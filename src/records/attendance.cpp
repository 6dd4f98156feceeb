#include "records/attendance.h"

#include "db/dialect.h"
#include "db/sql.h"

namespace records {
namespace {

// The employee's rows of known kinds in the range; `columns` and `tail` complete the statement.
QSqlQuery rowsInRange(const QSqlDatabase &db, const QString &columns, const QString &tail, const QString &employee,
                      const QDate &from, const QDate &to)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select %1 from %3 where kqjlb.职工编码=:zgbm "
                                                  "and kqjlb.考勤时间>=:bdsj1 and kqjlb.考勤时间<=:bdsj2 "
                                                  "and kqfsb.方式编码=kqjlb.方式编码 %2")
                                       .arg(columns, tail, sql::dialect(db).joinedInOrder({"kqjlb", "kqfsb"})));
    q.setForwardOnly(true);
    q.bindValue(":zgbm", employee);
    q.bindValue(":bdsj1", sql::dateValue(from));
    q.bindValue(":bdsj2", sql::dateValue(to));
    sql::exec(q);
    return q;
}

}  // namespace

const EventBook &attendanceBook()
{
    using edit::Check;
    using edit::Kind;
    static const EventBook book = {
        "kqjlb", "kqfsb", "kqfsb.方式编码=kqjlb.方式编码",
        {{.label = QStringLiteral("考勤时间"), .table = "kqjlb", .column = "考勤时间", .kind = Kind::Date,
          .check = Check::Date, .message = QStringLiteral("考勤时间不是正确的日期（年-月-日）")},
         {.label = QStringLiteral("时数"), .table = "kqjlb", .column = "时数", .kind = Kind::Number,
          .check = Check::OptionalNumber, .message = QStringLiteral("时数不是正确的数字")},
         {.label = QStringLiteral("出勤方式"), .table = "kqjlb", .column = "方式编码", .kind = Kind::CodeList,
          .check = Check::NotBlank, .message = QStringLiteral("请从列表中选择出勤方式")},
         {.label = QStringLiteral("罚金"), .table = "kqjlb", .column = "罚金", .kind = Kind::Money,
          .check = Check::OptionalMoney, .message = QStringLiteral("罚金不是正确的金额（最多四位小数）")},
         {.label = QStringLiteral("事由"), .table = "kqjlb", .column = "事由"}},
        "方式编码",
        [](const QSqlDatabase &db) { return code_items::codeItems(db, QStringLiteral("kqfsb")); },
        {{"kqjlb.考勤时间", QStringLiteral("考勤时间")}, {"kqfsb.方式名称", QStringLiteral("出勤方式")},
         {"kqjlb.事由", QStringLiteral("事由")}, {"kqjlb.时数", QStringLiteral("时数"), false, true}},
    };
    return book;
}

Listing employeeAttendance(const QSqlDatabase &db, const QString &employee, const QDate &from, const QDate &to)
{
    QSqlQuery q = rowsInRange(db, "kqjlb.考勤时间, kqfsb.方式名称, kqjlb.时数, kqjlb.事由",
                              "order by kqjlb.考勤时间, kqjlb.自动编号", employee, from, to);
    Listing listing{{QStringLiteral("考勤时间"), QStringLiteral("出勤方式"), QStringLiteral("时数"), QStringLiteral("事由")}, {}, {2}};
    while (q.next())
        listing.rows << QVariantList{q.value(0), q.value(1), q.value(2), q.value(3)};  // hours as a number
    return listing;
}

std::vector<AttendanceTotal> employeeAttendanceTotals(const QSqlDatabase &db, const QString &employee, const QDate &from,
                                                      const QDate &to)
{
    QSqlQuery q = rowsInRange(db, "kqfsb.方式名称, total(kqjlb.时数)", "group by kqfsb.方式编码 order by kqfsb.方式编码",
                              employee, from, to);
    std::vector<AttendanceTotal> totals;
    while (q.next())
        totals.push_back({q.value(0).toString(), q.value(1).toDouble()});
    return totals;
}

}  // namespace records
