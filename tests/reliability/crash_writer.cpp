// A child process for the crash trials: opens a database and runs one real writer of the
// program in a loop until it is killed. It says "ready" and its process id once open, then one
// line per finished write, so the parent knows how far it got. Files the writer reads or writes
// besides the database are in the database's folder: restore-a.db and restore-b.db to restore
// from by turns, backup-<n>.db written by the backups.

#include "codes/code_members.h"
#include "codes/code_rows.h"
#include "db/backup.h"
#include "db/database.h"
#include "demo/demo_organisation.h"
#include "pay/appraisal.h"
#include "pay/pay_month.h"
#include "records/company_attendance.h"
#include "records/record_card.h"
#include "records/timeline.h"
#include "records/training.h"
#include "staff/cadre_resume.h"
#include "staff/employee_record.h"
#include "stats/statistics_table.h"
#include "staff/employee_fixture.h"
#include "reliability/crash_subjects.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QThread>
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
    const QDir folder = QFileInfo(args[2]).absoluteDir();
    const auto firstValue = [&](const QString &statement) { return sql::scalar(db, statement).toString(); };
    const QString course = firstValue("select 培训编码 from pxnrb order by 培训编码 limit 1");
    const QString courseDate = firstValue("select 培训日期 from pxnrb order by 培训编码 limit 1");
    const QStringList subjects = crashSubjects(db);
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
        // An employee's timeline of work changes (gzdtjlb) built, two employees by turns.
        {"timeline", [&](int i) { records::rebuildTimeline(db, subjects.value(i % 2)); }},
        // An employee's yearly attendance of the record card (kqtjb) built, two employees and
        // two ten-year spans by turns.
        {"recordcard", [&](int i) { records::rebuildYearlyAttendance(db, subjects.value(i % 2), crashCardYear(i)); }},
        // Every statistics table rebuilt in turn, for two cut-offs (or ranges) by turns.
        {"rebuild", [&](int i) {
             const auto &tables = stats::statisticsTables();
             const stats::TableDescription &t = *tables[size_t(i) % tables.size()];
             const QDate cutoff = (i / int(tables.size())) % 2 ? QDate(2020, 12, 31) : QDate(2024, 12, 31);
             t.overRange ? t.rebuild(db, {QDate(cutoff.year(), 1, 1), cutoff}) : t.rebuild(db, cutoff);
         }},
        // A complete copy of the database, a new file each time.
        {"backup", [&](int i) {
             const backup::Outcome saved = backup::save(db, folder.filePath(QStringLiteral("backup-%1.db").arg(i)));
             if (!saved.ok)
                 throw sql::Failure(saved.message);
         }},
        // The data replaced by two backups by turns, the replaced data kept each time.
        {"restore", [&](int i) {
             const backup::Outcome restored = backup::restore(db, folder.filePath(i % 2 ? "restore-b.db" : "restore-a.db"));
             if (!restored.ok)
                 throw sql::Failure(restored.message);
         }},
        // A generated organisation in a database without employees; once done, it waits.
        {"demo", [&](int i) {
             if (i > 0)
                 QThread::sleep(60);
             demo::Options options;
             options.employees = 300;
             demo::generate(db, options);
         }},
        // A course's code changed back and forth, its participants following it.
        {"course", [&](int i) {
             const QString from = i % 2 ? course + "X" : course, to = i % 2 ? course : course + "X";
             records::training::saveCourse(db, {{"培训编码", to}, {"培训日期", courseDate}}, from);
         }},
        // A cadre's résumé answers and spouse written together, a new employee each time.
        {"resume", [&](int i) {
             const QString code = firstValue(QStringLiteral("select 职工编码 from zghmc where 职工编码 not in "
                                                            "(select 职工编码 from gbllb) order by 职工编码 limit 1"));
             staff::resume::saveAnswers(db, code, {}, {{staff::resume::spouseFields().front().column, QString::number(i)}},
                                        std::nullopt);
         }},
    };
    if (!writers.count(writer))
        return 2;
    QTextStream out(stdout);
    out << "ready " << QCoreApplication::applicationPid() << '\n' << Qt::flush;
    for (int i = 0;; ++i) {
        writers.at(writer)(i);
        out << i << '\n' << Qt::flush;
    }
}
