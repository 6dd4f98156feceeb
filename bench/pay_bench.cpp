// Times the pay months on a generated organisation beside their plain forms:
//   generating a month (blank, carried forward) vs one plain copy of the rows involved,
//   loading a department's month, the monthly and the yearly company totals vs reading the rows,
//   the comparison tables vs reading the wage rows they sum, one employee's sheets, and the
//   comprehensive query (its first rows as the screen shows them, with and without a condition,
//   and a whole month) vs reading the month's rows of the three sheets.
//
//   build/bin/pay_bench [employees] [pay months] [--cache DIR]
//   (defaults 100000 and 36; the organisation is kept in DIR, written under a temporary name
//   and renamed when complete, so an interrupted run leaves nothing a later run would reuse)

#include "best_of.h"
#include "generated_organisation.h"
#include "db/database.h"
#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "pay/pay_comparison.h"
#include "pay/pay_grids.h"
#include "pay/pay_month.h"
#include "pay/salary_query.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlQueryModel>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QTemporaryDir temporary;
    const QString cache = takeCacheFolder(args, temporary);
    const int employees = args.value(0, "100000").toInt();
    const int months = args.value(1, "36").toInt();
    if (!employeesInRange(employees) || months < 1) {
        QTextStream(stderr) << "usage: pay_bench [employees 1-999999] [pay months] [--cache DIR]\n";
        return 2;
    }
    demo::Options options;
    options.employees = employees;
    options.payMonths = months;
    const QString file = cachedOrganisation(cache, QString("pay-%1-%2").arg(employees).arg(months), options);
    if (file.isEmpty() || !database::open("bench", file).ok)
        return 1;
    const QSqlDatabase db = QSqlDatabase::database("bench", false);
    const QDate anchor(2026, 6, 1);  // the generated organisation's last pay month
    const QDate next = anchor.addMonths(1);
    const Step removeNext = [&] {
        for (const char *t : {"gzb", "btb", "jjb"}) {
            QSqlQuery remove = sql::prepare(db, QString("delete from %1 where 年月=:month").arg(t));
            remove.bindValue(":month", sql::dateValue(next));
            sql::exec(remove);
        }
    };
    // One plain copy of the rows a carried-forward month writes: last month's rows as they are.
    const Step plainCopy = [&] {
        sql::exec(db, "begin immediate");
        for (const pay::Sheet &s : pay::sheets()) {
            QSqlQuery copy = sql::prepare(db, QString("insert into %1 (年月,职工编码,%2) select :next, 职工编码, %2 from %1 where 年月=:month")
                                                  .arg(s.table, s.amountColumns().join(',')));
            copy.bindValue(":next", sql::dateValue(next));
            copy.bindValue(":month", sql::dateValue(anchor));
            sql::exec(copy);
        }
        sql::exec(db, "commit");
    };
    const auto readRows = [&](const QDate &from, const QDate &to) {
        return [&db, from, to] {
            for (const char *t : {"gzb", "btb", "jjb"}) {
                QSqlQuery q(db);
                q.setForwardOnly(true);
                q.prepare(QString("select * from %1 where 年月>=:from and 年月<=:to").arg(t));
                q.bindValue(":from", sql::dateValue(from));
                q.bindValue(":to", sql::dateValue(to));
                q.exec();
                while (q.next())
                    q.value(0);
            }
        };
    };
    const auto readWages = [&](const QDate &from, const QDate &to) {
        return [&db, from, to] {
            QSqlQuery q(db);
            q.setForwardOnly(true);
            q.prepare("select 职工编码, 年月, 实发工资 from gzb where 年月>=:from and 年月<=:to");
            q.bindValue(":from", sql::dateValue(from));
            q.bindValue(":to", sql::dateValue(to));
            q.exec();
            while (q.next())
                q.value(2);
        };
    };
    const double plainCopyMs = best(plainCopy, removeNext);
    QTextStream out(stdout);
    const auto line = [&](const QString &name, double ms, double plain) {
        out << QString("%1 %2 %3 %4 %5\n").arg(name, -34).arg(employees, 9).arg(ms, 10, 'f', 1)
                   .arg(plain, 10, 'f', 1).arg(plain > 0 ? QString::number(ms / plain, 'f', 2) + "×" : QString("-"), 8)
            << Qt::flush;
    };
    // A screen's step beside its floor, with the processor time of both (which a loaded machine
    // does not stretch).
    const auto timedLine = [&](const QString &name, const Timing &program, const Timing &plain) {
        out << QString("%1 %2 %3 %4 %5   cpu %6 / %7 ms\n").arg(name, -34).arg(employees, 9).arg(program.wall, 10, 'f', 1)
                   .arg(plain.wall, 10, 'f', 1).arg(QString::number(program.wall / plain.wall, 'f', 2) + "×", 8)
                   .arg(program.cpu, 0, 'f', 1).arg(plain.cpu, 0, 'f', 1)
            << Qt::flush;
    };
    out << QString("%1 %2 %3 %4 %5\n").arg("operation", -34).arg("employees", 9).arg("ms", 10).arg("ms(plain)", 10).arg("ratio", 8);
    line("generate blank month vs copy", best([&] { pay::generateMonth(db, next, pay::Generation::Blank); }, removeNext), plainCopyMs);
    line("generate carried month vs copy", best([&] { pay::generateMonth(db, next, pay::Generation::CopyPrevious); }, removeNext), plainCopyMs);
    // The entry screen's department month beside reading that department's rows of the month.
    const Step readDepartmentMonth = [&] {
        for (const char *t : {"gzb", "btb", "jjb"}) {
            QSqlQuery q(db);
            q.setForwardOnly(true);
            q.prepare(QString("select * from %1 where 年月=:m and 单位编码='07'").arg(t));
            q.bindValue(":m", sql::dateValue(anchor));
            q.exec();
            while (q.next())
                q.value(0);
        }
    };
    timedLine("load a department's month", timed([&] { pay::sheetGrids(db, anchor, "07"); }), timed(readDepartmentMonth));
    // 公司年工资统计 for the year of the last pay month, as a clerk opens it.
    const QDate thisJanuary(anchor.year(), 1, 1);
    timedLine("this year's company statistics", timed([&] { pay::statisticsGrids(db, thisJanuary, thisJanuary.addMonths(11)); }),
              timed(readRows(thisJanuary, thisJanuary.addMonths(11))));
    line("monthly totals vs read", best([&] { pay::statisticsGrids(db, anchor, anchor); }), best(readRows(anchor, anchor)));
    const QDate january(anchor.year() - 1, 1, 1);
    line("yearly totals vs read", best([&] { pay::statisticsGrids(db, january, january.addMonths(11)); }),
         best(readRows(january, january.addMonths(11))));
    const int year = anchor.year();
    line("monthly comparison vs read wages", best([&] { pay::comparisonGrid(db, pay::ComparisonSpan::Months, year); }),
         best(readWages(QDate(year, 1, 1), QDate(year, 12, 1))));
    line("yearly comparison vs read wages", best([&] { pay::comparisonGrid(db, pay::ComparisonSpan::Years, year); }),
         best(readWages(QDate(year - 9, 1, 1), QDate(year, 12, 1))));
    QSqlQuery pick(db);
    pick.exec("select 职工编码 from zghmc order by 职工编码 limit 1 offset 5000");
    const QString someone = pick.next() ? pick.value(0).toString() : QString();
    line("one employee's sheets over a year", best([&] { pay::employeeGrids(db, someone, january, anchor); }), 0);
    // The comprehensive query as its screen runs it: a query model reads the first rows.
    const auto firstRows = [&](const pay::MonthRange &months, const query::Condition &condition) {
        return [&db, months, condition] {
            QSqlQueryModel model;
            model.setQuery(pay::salaryQuery(db, months, condition));
        };
    };
    const auto allRows = [&](const pay::MonthRange &months, const query::Condition &condition) {
        return [&db, months, condition] {
            QSqlQuery q = pay::salaryQuery(db, months, condition);
            while (q.next())
                q.value(0);
        };
    };
    const pay::MonthRange month(anchor, anchor), thisYear(QDate(year, 1, 1), anchor);
    pick.prepare("select 职工姓名 from zghmc where 职工编码=:code");
    pick.bindValue(":code", someone);
    pick.exec();
    const QString name = pick.next() ? pick.value(0).toString() : QString();
    line("comprehensive query: first rows", best(firstRows(month, {})), best(readRows(anchor, anchor)));
    line("  … months of this year", best(firstRows(thisYear, {})), 0);
    line("  … department 07", best(firstRows(month, query::build({.department = "07"}))), 0);
    line("  … one name (whole register)", best(firstRows(month, query::build({.name = name}))), 0);
    line("  … age 30 to 40, cadres", best(firstRows(month, query::build({.ageFrom = 30, .ageTo = 40, .staff = query::StaffKind::Cadre}))), 0);
    line("  … a whole month", best(allRows(month, {})), best(readRows(anchor, anchor)));
    line("  … a whole month of department 07", best(allRows(month, query::build({.department = "07"}))), 0);
    database::close("bench");
    return 0;
}
