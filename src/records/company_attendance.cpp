#include "records/company_attendance.h"

#include "db/dialect.h"
#include "db/sql.h"
#include "db/transaction.h"
#include "records/attendance_kinds.h"

namespace records {
namespace {

const QStringList kFixedColumns = {QStringLiteral("bz"), QStringLiteral("职工编码"), QStringLiteral("职工姓名")};

QStringList quoted(const QStringList &names)
{
    QStringList q;
    for (const QString &n : names)
        q << sql::quoteIdentifier(n);
    return q;
}

}  // namespace

void rebuildCompanyAttendance(const QSqlDatabase &db, const QDate &from, const QDate &to)
{
    Transaction transaction(db);
    const std::vector<AttendanceKind> kinds = attendanceKinds(db);
    const QStringList columns = quoted(kindColumnNames(kinds, kFixedColumns));
    sql::exec(db, QStringLiteral("drop table if exists gskqtjb"));
    QStringList definitions = {"bz TEXT", "职工编码 TEXT", "职工姓名 TEXT"};
    for (const QString &c : columns)
        definitions << c + " REAL NOT NULL DEFAULT 0";
    sql::exec(db, QStringLiteral("create table gskqtjb (%1)").arg(definitions.join(", ")));
    if (!kinds.empty()) {
        // One pass over the range's rows: each kind's hours summed per employee. The kinds'
        // codes are bound, never written into the statement.
        QStringList sums, picked;
        for (size_t i = 0; i < kinds.size(); ++i) {
            sums << QStringLiteral("round(total(case when 方式编码=:k%1 then 时数 end), 4) as s%1").arg(i);
            picked << QStringLiteral("t.s%1").arg(i);
        }
        QSqlQuery insert = sql::prepare(
            db, QStringLiteral("insert into gskqtjb (bz, 职工编码, 职工姓名, %1) "
                               "select '2', t.职工编码, zghmc.职工姓名, %3 from "
                               "(select 职工编码, %2 from kqjlb where 考勤时间>=:from and 考勤时间<=:to "
                               "and 方式编码 in (select 方式编码 from kqfsb) group by 职工编码) as t "
                               "left join zghmc on zghmc.职工编码=t.职工编码 order by t.职工编码")
                    .arg(columns.join(", "), sums.join(", "), picked.join(", ")));
        for (size_t i = 0; i < kinds.size(); ++i)
            insert.bindValue(QStringLiteral(":k%1").arg(i), kinds[i].code);
        insert.bindValue(":from", sql::dateValue(from));
        insert.bindValue(":to", sql::dateValue(to));
        sql::exec(insert);
    }
    transaction.commit();
}

QStringList companyAttendanceKindColumns(const QSqlDatabase &db)
{
    QStringList columns;
    for (const QString &column : sql::dialect(db).columnNames(db, QStringLiteral("gskqtjb")))
        if (!kFixedColumns.contains(column))
            columns << column;
    return columns;
}

QStringList companyAttendanceTitles(const QSqlDatabase &db)
{
    return kFixedColumns.mid(1) + companyAttendanceKindColumns(db);
}

QString companyAttendanceQuery(const QSqlDatabase &db)
{
    return QStringLiteral("select %1 from gskqtjb order by 职工编码")
        .arg(quoted(kFixedColumns.mid(1) + companyAttendanceKindColumns(db)).join(", "));
}

}  // namespace records
