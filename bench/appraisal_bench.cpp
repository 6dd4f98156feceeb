// Times the annual appraisal on a generated organisation: generating a year's sheet, reading
// it, counting it per department (beside one plain read of the year's rows), marking one
// result, and the grade salary and appraisal table: its first screen of rows as the list's
// model fetches them, and one employee's detail.
//
//   build/bin/appraisal_bench [employees]   (default 100000)

#include "best_of.h"
#include "generated_organisation.h"
#include "db/database.h"
#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "pay/appraisal.h"
#include "pay/appraisal_list.h"
#include "pay/appraisal_statistics.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>

namespace {

void run(const QSqlDatabase &db, int employees)
{
    demo::Options options;
    options.employees = employees;
    options.payMonths = 1;
    demo::generate(db, options);

    const int year = options.anchor.year();  // the generated organisation has no sheet for it yet
    const Step removeYear = [&] {
        QSqlQuery remove = sql::prepare(db, "delete from ndkhb where 年度=:year");
        remove.bindValue(":year", year);
        sql::exec(remove);
    };
    QTextStream out(stdout);
    out << "employees " << employees << '\n';
    out << "generate a year's sheet (ms)  " << best([&] { pay::generateAppraisalSheet(db, year); }, removeYear) << '\n';
    pay::generateAppraisalSheet(db, year);
    const std::vector<pay::AppraisalRow> sheet = pay::appraisalSheet(db, year);
    out << "rows of the year              " << sheet.size() << '\n';
    out << "read the year's sheet (ms)    " << best([&] { pay::appraisalSheet(db, year); }) << '\n';
    const qint64 id = sheet[sheet.size() / 2].id;
    const Step plainRead = [&] {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        q.prepare("select * from ndkhb where 年度=:year");
        q.bindValue(":year", year);
        q.exec();
        while (q.next())
            q.value(0);
    };
    const Step statisticsStep = [&] { pay::appraisalStatistics(db, year, pay::AppraisalCounts::Shares); };
    // The first rebuild after a write reads the department history afresh.
    const double afterWrite = best(statisticsStep, [&] { pay::markResult(db, id, "及格"); });
    const double statistics = best(statisticsStep);
    const double plain = best(plainRead);
    out << "statistics of the year (ms)   " << statistics << "  plain read " << plain << "  ratio "
        << statistics / plain << '\n';
    out << "  the first after a write (ms)  " << afterWrite << "  ratio " << afterWrite / plain << '\n';
    out << "mark one result (ms)          " << best([&] { pay::markResult(db, id, "优秀"); }) << '\n';
    WindowedRows list;
    out << "table's first rows (ms)       " << best([&] {
        list.open(db, pay::appraisalListing({}));
        list.index(0, 0).data();
    }) << "  rows listed " << list.rowCount() << '\n';
    const QString employee = sheet[sheet.size() / 2].employee;
    out << "one employee's detail (ms)    " << best([&] {
        pay::gradeSalaryHistoryGrid(db, employee);
        pay::appraisalResultsGrid(db, employee);
    }) << '\n';
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int employees = app.arguments().value(1, "100000").toInt();
    if (!employeesInRange(employees)) {
        QTextStream(stderr) << "usage: appraisal_bench [employees 1-999999]\n";
        return 2;
    }
    QTemporaryDir folder;
    const QString file = QDir(folder.path()).filePath("appraisal.db");
    database::createDelivered(file);
    if (!database::open("bench", file).ok)
        return 1;
    run(QSqlDatabase::database("bench", false), employees);
    database::close("bench");
    return 0;
}

