// A child process for the crash trials: opens a database and runs one real writer of the
// program in a loop until it is killed. It says "ready" once open, then one line per
// finished write, so the parent knows how far it got.

#include "codes/code_members.h"
#include "codes/code_rows.h"
#include "db/database.h"
#include "pay/appraisal.h"
#include "pay/pay_month.h"
#include "records/company_attendance.h"
#include "staff/employee_record.h"
#include "stats/statistics_table.h"
#include "staff/employee_fixture.h"

#include <QCoreApplication>
#include <QTextStream>
#include <functional>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return 2;
    const QString writer = args[1];
    if (!database::open("writer", args[2], database::Check::Identity).ok)
        return 1;
    const QSqlDatabase db = QSqlDatabase::database("writer", false);
    const std::map<QString, std::function<void(int)>> writers = {
        // An employee with the five entry-time history rows; every other one removed again.
        {"employee", [&](int i) {
             const QString code = QString::number(900000 + i);
             if (!staff::saveEmployee(db, validEmployee(code), true).isEmpty())
                 throw sql::Failure("refused");
             if (i % 2)
                 staff::removeEmployee(db, code);
         }},
        // A department added, renamed and deleted.
        {"codes", [&](int i) {
             const codes::Member &m = *codes::findMember("Tfrmdwdm");
             const QString code = QString::number(50 + i % 40);
             codes::saveRow(db, m, {{}, {{"单位编码", code}, {"单位名称", "试验部门"}}, {}});
             codes::saveRow(db, m, {code, {{"单位编码", code}, {"单位名称", "改名部门"}}, {}});
             codes::deleteRow(db, m, code);
         }},
        // A salary item: a money column of gzb together with its row of gzzd.
        {"salaryitem", [&](int i) {
             const codes::Member &m = *codes::findMember("Tfrmgzgs");
             const QString name = QStringLiteral("试验项目%1").arg(i % 3);
             codes::saveRow(db, m, {{}, {{"字段", name}, {"公式", QVariant()}}, {}});
             codes::deleteRow(db, m, name);
         }},
        // Pay months generated one after the other, carried forward from the month before.
        {"paymonth", [&](int i) {
             pay::generateMonth(db, QDate(2030, 1, 1).addMonths(i), i % 2 ? pay::Generation::CopyPrevious : pay::Generation::Blank);
         }},
        // A year's appraisal sheet generated, a new year each time.
        {"appraisal", [&](int i) { pay::generateAppraisalSheet(db, 2030 + i); }},
        // The company attendance table rebuilt for two ranges by turns.
        {"attendance", [&](int i) {
             records::rebuildCompanyAttendance(db, QDate(i % 2 ? 2025 : 2026, 1, 1), QDate(2026, 6, 30));
         }},
        // The statistics table rebuilt for two cut-offs by turns.
        {"rebuild", [&](int i) {
             stats::findStatisticsTable("zgjbqkfxb")->rebuild(db, i % 2 ? QDate(2020, 12, 31) : QDate(2024, 12, 31));
         }},
    };
    if (!writers.count(writer))
        return 2;
    QTextStream out(stdout);
    out << "ready\n" << Qt::flush;
    for (int i = 0;; ++i) {
        writers.at(writer)(i);
        out << i << '\n' << Qt::flush;
    }
}
