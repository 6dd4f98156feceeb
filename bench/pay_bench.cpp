// Times the pay months on a generated organisation beside their plain forms:
//   generating a month (blank, carried forward) vs one plain copy of the rows involved,
//   loading a department's month, the monthly and the yearly company totals vs reading the rows,
//   the comparison tables vs reading the wage rows they sum, and one employee's sheets.
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

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QTemporaryDir temporary;
    QString cache = temporary.path();
    if (const qsizetype at = args.indexOf("--cache"); at >= 0 && at + 1 < args.size()) {
        cache = args.at(at + 1);
        QDir().mkpath(cache);
        args.remove(at, 2);
    }
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
        for (const char *t : {"gzb", "btb", "jjb"})
            sql::exec(db, QString("delete from %1 where 年月='%2'").arg(t, next.toString(Qt::ISODate)));
    };
    // One plain copy of the rows a carried-forward month writes: last month's rows as they are.
    const Step plainCopy = [&] {
        sql::exec(db, "begin immediate");
        for (const pay::Sheet &s : pay::sheets())
            sql::exec(db, QString("insert into %1 (年月,职工编码,%2) select '%3', 职工编码, %2 from %1 where 年月='%4'")
                              .arg(s.table, s.amountColumns().join(','), next.toString(Qt::ISODate), anchor.toString(Qt::ISODate)));
        sql::exec(db, "commit");
    };
    const auto readRows = [&](const QDate &from, const QDate &to) {
        return [&db, from, to] {
            for (const char *t : {"gzb", "btb", "jjb"}) {
                QSqlQuery q(db);
                q.setForwardOnly(true);
                q.exec(QString("select * from %1 where 年月>='%2' and 年月<='%3'").arg(t, from.toString(Qt::ISODate), to.toString(Qt::ISODate)));
                while (q.next())
                    q.value(0);
            }
        };
    };
    const auto readWages = [&](const QDate &from, const QDate &to) {
        return [&db, from, to] {
            QSqlQuery q(db);
            q.setForwardOnly(true);
            q.exec(QString("select 职工编码, 年月, 实发工资 from gzb where 年月>='%1' and 年月<='%2'").arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate)));
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
    out << QString("%1 %2 %3 %4 %5\n").arg("operation", -34).arg("employees", 9).arg("ms", 10).arg("ms(plain)", 10).arg("ratio", 8);
    line("generate blank month vs copy", best([&] { pay::generateMonth(db, next, pay::Generation::Blank); }, removeNext), plainCopyMs);
    line("generate carried month vs copy", best([&] { pay::generateMonth(db, next, pay::Generation::CopyPrevious); }, removeNext), plainCopyMs);
    line("load a department's month", best([&] { pay::sheetGrids(db, anchor, "07"); }), 0);
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
    database::close("bench");
    return 0;
}
