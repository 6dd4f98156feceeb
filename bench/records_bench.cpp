// Times rewards and attendance on a generated organisation beside their plain forms:
//   the company attendance table (gskqtjb) for a year vs one plain read of that year's
//   attendance rows, the company rewards list for a year, and one employee's attendance rows,
//   statistics and cards and reward rows.
//
//   build/bin/records_bench [employees] [--cache DIR]
//   (default 100000; the organisation is kept in DIR, written under a temporary name and
//   renamed when complete, so an interrupted run leaves nothing a later run would reuse)

#include "best_of.h"
#include "generated_organisation.h"
#include "db/database.h"
#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "records/attendance.h"
#include "records/company_attendance.h"
#include "records/rewards.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QTemporaryDir temporary;
    const QString cache = takeCacheFolder(args, temporary);
    const int employees = args.value(0, "100000").toInt();
    if (!employeesInRange(employees)) {
        QTextStream(stderr) << "usage: records_bench [employees 1-999999] [--cache DIR]\n";
        return 2;
    }
    demo::Options options;
    options.employees = employees;
    const QString file = cachedOrganisation(cache, QString("records-%1").arg(employees), options);
    if (file.isEmpty() || !database::open("bench", file).ok)
        return 1;
    const QSqlDatabase db = QSqlDatabase::database("bench", false);
    const QDate from(2025, 1, 1), to(2025, 12, 31);  // the generated organisation's last whole year
    QTextStream out(stdout);
    const auto line = [&](const QString &name, double ms, double plain) {
        out << QString("%1 %2 %3 %4 %5\n").arg(name, -40).arg(employees, 9).arg(ms, 10, 'f', 1)
                   .arg(plain, 10, 'f', 1).arg(plain > 0 ? QString::number(ms / plain, 'f', 2) + "×" : QString("-"), 8)
            << Qt::flush;
    };
    const qlonglong rows = [&] {
        QSqlQuery counted = sql::prepare(db, "select count(*) from kqjlb where 考勤时间>=:from and 考勤时间<=:to");
        counted.bindValue(":from", sql::dateValue(from));
        counted.bindValue(":to", sql::dateValue(to));
        sql::exec(counted);
        return counted.next() ? counted.value(0).toLongLong() : 0;
    }();
    out << QString("attendance rows in %1: %2\n").arg(from.year()).arg(rows);
    out << QString("%1 %2 %3 %4 %5\n").arg("operation", -40).arg("employees", 9).arg("ms", 10).arg("ms(plain)", 10).arg("ratio", 8);

    // Plain reads of the year's rows, walked once: the columns the table sums, and whole rows.
    const auto plainRead = [&](const QString &columns) {
        return [&db, columns, from, to] {
            QSqlQuery q(db);
            q.setForwardOnly(true);
            q.prepare(QString("select %1 from kqjlb where 考勤时间>=:from and 考勤时间<=:to").arg(columns));
            q.bindValue(":from", from.toString(Qt::ISODate));
            q.bindValue(":to", to.toString(Qt::ISODate));
            q.exec();
            while (q.next())
                q.value(0);
        };
    };
    const double rebuildMs = best([&] { records::rebuildCompanyAttendance(db, from, to); });
    line("company attendance vs read 3 columns", rebuildMs, best(plainRead("职工编码, 方式编码, 时数")));
    // The processor time of one rebuild, which other work on a shared machine does not stretch.
    line("company attendance, processor time", cpuMsOf([&] { records::rebuildCompanyAttendance(db, from, to); }), 0);
    line("company attendance vs read whole rows", rebuildMs, best(plainRead("*")));
    line("company rewards for a year", best([&] { records::companyRewards(db, from, to, records::RewardOrder::ByDate); }), 0);

    const QString someone = sql::scalar(db, "select 职工编码 from zghmc order by 职工编码 limit 1 offset 5000").toString();
    line("one employee's attendance rows (editor)", best([&] {
             QSqlQuery q = records::eventRows(db, records::attendanceBook(), someone);
             while (q.next())
                 q.value(0);
         }), 0);
    line("one employee's attendance statistics+cards", best([&] {
             records::employeeAttendance(db, someone, from, to);
             records::employeeAttendanceTotals(db, someone, from, to);
         }), 0);
    line("one employee's rewards (editor+statistics)", best([&] {
             QSqlQuery q = records::eventRows(db, records::rewardBook(), someone);
             while (q.next())
                 q.value(0);
             records::employeeRewards(db, someone, from, to);
         }), 0);
    database::close("bench");
    return 0;
}
