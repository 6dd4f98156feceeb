// Times each rebuild and query on generated organisations beside its plain form, one line a case:
//   operation  employees  ms(program)  ms(plain)  ratio
// usage: wenpad-bench [--sizes 1000,10000,100000] [--cache DIR]
// With --cache, generated organisations are kept in DIR and reused by later runs.

#include "db/database.h"
#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "query/basic_situation.h"
#include "records/employee_search.h"
#include "records/personnel_query.h"
#include "records/timeline.h"
#include "records/work_dynamics.h"
#include "reference/zgjbqkfxb_reference.h"
#include "stats/zgjbqkfxb.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <climits>
#include <functional>

namespace {

using Step = std::function<void(const QSqlDatabase &)>;

struct Operation {
    QString name;
    Step program;
    Step plain;
};

const QDate kCutoff(2024, 12, 31);

// The floor any rebuild is measured against: reading every row it counts once.
void readCountedRows(const QSqlDatabase &db)
{
    for (const char *table : {"dwdtb", "zghmc"}) {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        q.exec(QString("select * from %1").arg(table));
        while (q.next())
            q.value(0);
    }
}

void readEmployees(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.exec("select * from zghmc");
    while (q.next())
        q.value(0);
}

// What a list grid does on opening: the query, then its first batch of rows.
void firstRowsOf(const QSqlDatabase &db, const query::Condition &condition, int rows)
{
    QSqlQuery q = query::basicSituationQuery(db, condition);
    for (int i = 0; i < rows && q.next(); ++i)
        q.value(0);
}

// What a list grid does on opening: its first batch of rows (all of them with INT_MAX).
void readRows(QSqlQuery q, int rows)
{
    for (int i = 0; i < rows && q.next(); ++i)
        q.value(0);
}

void searchFirstRows(const QSqlDatabase &db, const records::EmployeeSearch &search, int rows)
{
    readRows(records::searchEmployees(db, records::ListBase::CurrentDepartment, search), rows);
}

// An employee from the middle of the register, for the per-employee screens.
QString middleEmployee(const QSqlDatabase &db)
{
    return sql::scalar(db, "select 职工编码 from zghmc order by 职工编码 limit 1 offset (select count(*)/2 from zghmc)")
        .toString();
}

// The four history grids of one employee as the work dynamics screens read them.
void historyGrids(const QSqlDatabase &db)
{
    const QString employee = middleEmployee(db);
    for (const records::HistoryGroup &group : records::historyGroups())
        readRows(records::historyRows(db, group, employee), INT_MAX);
}

// The plain form: the employee's rows of the four histories, read once.
void readEmployeeHistories(const QSqlDatabase &db)
{
    const QString employee = middleEmployee(db);
    for (const char *table : {"dwdtb", "zwdtb", "zcdtb", "gwjndtb"}) {
        QSqlQuery q(db);
        q.prepare(QString("select * from %1 where 职工编码=:e").arg(table));
        q.bindValue(":e", employee);
        q.exec();
        while (q.next())
            q.value(0);
    }
}

void timeline(const QSqlDatabase &db)
{
    const QString employee = middleEmployee(db);
    records::rebuildTimeline(db, employee);
    readRows(records::timelineRows(db, employee), INT_MAX);
}

const std::vector<Operation> &operations()
{
    static const std::vector<Operation> ops = {
        {"rebuild zgjbqkfxb vs statements",
         [](const QSqlDatabase &db) { stats::rebuildZgjbqkfxb(db, kCutoff); },
         [](const QSqlDatabase &db) { reference::rebuildZgjbqkfxb(db, kCutoff); }},
        {"rebuild zgjbqkfxb vs plain read",
         [](const QSqlDatabase &db) { stats::rebuildZgjbqkfxb(db, kCutoff); }, readCountedRows},
        {"basic query first 256 rows vs zghmc",
         [](const QSqlDatabase &db) { firstRowsOf(db, {}, 256); }, readEmployees},
        {"basic query all rows vs zghmc",
         [](const QSqlDatabase &db) { firstRowsOf(db, {}, INT_MAX); }, readEmployees},
        {"condition search vs zghmc",
         [](const QSqlDatabase &db) {
             firstRowsOf(db, query::build({.name = "张", .nameMatch = query::NameMatch::Prefix, .department = "03"}), INT_MAX);
         },
         readEmployees},
        {"search panel first rows, all depts",
         [](const QSqlDatabase &db) { searchFirstRows(db, {}, 256); }, readEmployees},
        {"search panel one dept, first rows",
         [](const QSqlDatabase &db) { searchFirstRows(db, {.department = "03"}, 256); }, readEmployees},
        {"search panel one dept, all rows",
         [](const QSqlDatabase &db) { searchFirstRows(db, {.department = "03"}, INT_MAX); }, readEmployees},
        {"search panel code prefix, all rows",
         [](const QSqlDatabase &db) { searchFirstRows(db, {.codePrefix = "0012"}, INT_MAX); }, readEmployees},
        {"search panel name prefix, all rows",
         [](const QSqlDatabase &db) { searchFirstRows(db, {.namePrefix = "张"}, INT_MAX); }, readEmployees},
        {"four history grids of one employee", historyGrids, readEmployeeHistories},
        {"timeline of one employee", timeline, readEmployeeHistories},
        {"record query first 256 rows",
         [](const QSqlDatabase &db) { readRows(records::personnelRecordQuery(db, {}), 256); }, readEmployees},
        {"record query condition search",
         [](const QSqlDatabase &db) {
             readRows(records::personnelRecordQuery(
                          db, query::build({.name = "张", .nameMatch = query::NameMatch::Prefix, .department = "03"})),
                      INT_MAX);
         },
         readEmployees},
    };
    return ops;
}

// The best of a few runs after one that warms the page cache: the least disturbed by
// whatever else the machine is doing.
double millisecondsOf(const Step &step, const QSqlDatabase &db)
{
    step(db);
    double best = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        step(db);
        const double ms = timer.nsecsElapsed() / 1e6;
        best = run == 0 ? ms : std::min(best, ms);
    }
    return best;
}

QString organisation(const QString &folder, int employees)
{
    const QString file = QDir(folder).filePath(QString("demo-%1.db").arg(employees));
    if (QFile::exists(file))
        return file;
    database::createDelivered(file);
    database::open("bench-fill", file);
    demo::generate(QSqlDatabase::database("bench-fill", false), {.employees = employees, .seed = 1});
    database::close("bench-fill");
    return file;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QList<int> sizes = {1000, 10000, 100000};
    QTemporaryDir temporary;
    QString cache = temporary.path();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--sizes") {
            sizes.clear();
            for (const QString &s : args[i + 1].split(','))
                sizes << s.toInt();
        } else if (args[i] == "--cache") {
            cache = args[i + 1];
            QDir().mkpath(cache);
        }
    }
    QTextStream out(stdout);
    out << QString("%1 %2 %3 %4 %5\n").arg("operation", -36).arg("employees", 10).arg("ms", 10).arg("ms(plain)", 10).arg("ratio", 8);
    for (int employees : sizes) {
        const QString file = organisation(cache, employees);
        if (!database::open("bench", file).ok)
            return 1;
        for (const Operation &op : operations()) {
            const QSqlDatabase db = QSqlDatabase::database("bench", false);
            const double program = millisecondsOf(op.program, db);
            const double plain = millisecondsOf(op.plain, db);
            out << QString("%1 %2 %3 %4 %5\n")
                       .arg(op.name, -36)
                       .arg(employees, 10)
                       .arg(program, 10, 'f', 1)
                       .arg(plain, 10, 'f', 1)
                       .arg(plain / program, 8, 'f', 2)
                << Qt::flush;
        }
        database::close("bench");
    }
    return 0;
}
