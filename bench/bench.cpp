// Times each rebuild and query on generated organisations beside its plain forms, one line a case:
//   operation  employees  ms(program)  cpu  ms(plain read)  cpu  ratio  [ms(statements)  ratio]
// (ms: wall time of the best run; cpu: the processor time of that run; the first ratio is the
// plain read's processor time ÷ the program's, which other work on the machine does not skew).
// A statistics rebuild is set beside one plain read of the rows it counts and beside its
// literal statement list.
// usage: wenpad-bench [--sizes 1000,10000,100000 | --employees N] [--cache DIR] [--only TEXT]
//                     [--no-statements]
//        wenpad-bench --db FILE|postgresql://… [--db …] [--only TEXT]
// With --cache, generated organisations are kept in DIR and reused by later runs; with --only,
// only the operations whose name contains TEXT run. With --db, the databases given (a file, a
// server's database) are measured instead, side by side, one column each, the last column the
// last database's time ÷ the first's:
//   operation  employees  ms(first)  ms(second) …  ratio

#include "best_of.h"
#include "generated_organisation.h"
#include "db/address.h"
#include "db/database.h"
#include "db/dialect.h"
#include "db/sql.h"
#include "db/windowed_rows.h"
#include "demo/demo_organisation.h"
#include "query/basic_situation.h"
#include "records/employee_search.h"
#include "records/personnel_query.h"
#include "records/timeline.h"
#include "records/work_dynamics.h"
#include "reference/literal.h"
#include "stats/statistics_table.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <climits>
#include <functional>

namespace {

using DatabaseStep = std::function<void(const QSqlDatabase &)>;

struct Operation {
    QString name;
    DatabaseStep program;
    DatabaseStep plain;
    DatabaseStep statements = {};  // the literal statement list, for a rebuild
    // What both forms leave behind, compared before either is timed (a rebuild's table as CSV).
    std::function<QString(const QSqlDatabase &)> result = {};
};

const QDate kCutoff(2024, 12, 31);

// What a table is rebuilt for: the cut-off, or the cut-off's year for a table counted over a range.
stats::Period periodOf(const stats::TableDescription &table)
{
    return table.overRange ? stats::Period(QDate(kCutoff.year(), 1, 1), kCutoff) : stats::Period(kCutoff);
}

// The floor any rebuild is measured against: reading once every row of the tables it counts
// (the employees, the department history and the other histories its statements name; for a
// training table, the participant rows of the year's courses).
DatabaseStep readCountedRows(const stats::TableDescription &table)
{
    if (table.overRange)
        return [period = periodOf(table)](const QSqlDatabase &db) {
            QSqlQuery q(db);
            q.setForwardOnly(true);
            q.prepare("select * from pxjlb where 培训编码 in (select 培训编码 from pxnrb where 培训日期>=:from and 培训日期<=:to)");
            q.bindValue(":from", sql::dateValue(period.from));
            q.bindValue(":to", sql::dateValue(period.to));
            q.exec();
            while (q.next())
                q.value(0);
        };
    return [&table](const QSqlDatabase &db) {
        QStringList tables = {"dwdtb", "zghmc"};
        const QString statements = table.statements(table, sql::dialect(db)).join(' ');
        for (const char *history : {"zwdtb", "zcdtb"})
            if (statements.contains(history))
                tables << history;
        for (const QString &name : tables) {
            QSqlQuery q(db);
            q.setForwardOnly(true);
            q.exec(QString("select * from %1").arg(name));
            while (q.next())
                q.value(0);
        }
    };
}

void readEmployees(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.exec("select * from zghmc");
    while (q.next())
        q.value(0);
}

// Every row of the basic situation query for a condition, as the query reads them.
void allRowsOf(const QSqlDatabase &db, const query::Condition &condition)
{
    QSqlQuery q = query::basicSituationQuery(db, condition);
    while (q.next())
        q.value(0);
}

// What a list screen does on opening: its keys, then its first window shown.
void openList(const QSqlDatabase &db, const windowed::Listing &listing)
{
    WindowedRows rows;
    rows.open(db, listing);
    rows.value(0, 0);
}

// What a list grid does on opening: its first batch of rows (all of them with INT_MAX).
void readRows(QSqlQuery q, int rows)
{
    for (int i = 0; i < rows && q.next(); ++i)
        q.value(0);
}

QSqlQuery forwardQuery(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.exec(statement);
    return q;
}

void searchAllRows(const QSqlDatabase &db, const records::EmployeeSearch &search)
{
    readRows(records::searchEmployees(db, records::ListBase::CurrentDepartment, search), INT_MAX);
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
    static const std::vector<Operation> ops = [] {
        std::vector<Operation> all;
        for (const stats::TableDescription *table : stats::statisticsTables())
            all.push_back({"rebuild " + table->name,
                           [table](const QSqlDatabase &db) { table->rebuild(db, periodOf(*table)); }, readCountedRows(*table),
                           [table](const QSqlDatabase &db) { reference::rebuild(db, table->name, periodOf(*table)); },
                           [table](const QSqlDatabase &db) { return stats::toCsv(db, table->gridQuery()); }});
        // Opening a statistics screen again with nothing changed: the check, then the rows.
        for (const stats::TableDescription *table : stats::statisticsTables())
            all.push_back({"show unchanged " + table->name,
                           [table](const QSqlDatabase &db) {
                               if (!table->holds(db, periodOf(*table)))
                                   table->rebuild(db, periodOf(*table));
                               readRows(forwardQuery(db, table->gridQuery()), INT_MAX);
                           },
                           [table](const QSqlDatabase &db) { readRows(forwardQuery(db, table->gridQuery()), INT_MAX); }});
        all.push_back({"basic query opens (keys, first window)",
                       [](const QSqlDatabase &db) { openList(db, query::basicSituationListing({})); }, readEmployees});
        all.push_back({"basic query all rows vs zghmc", [](const QSqlDatabase &db) { allRowsOf(db, {}); }, readEmployees});
        all.push_back({"condition search vs zghmc",
                       [](const QSqlDatabase &db) {
                           allRowsOf(db, query::build({.name = "张", .nameMatch = query::NameMatch::Prefix, .department = "03"}));
                       },
                       readEmployees});
        // The work dynamics screens: the search panel, one employee's histories and timeline,
        // the personnel record query.
        const auto panelOpens = [](records::EmployeeSearch search) {
            return [search](const QSqlDatabase &db) {
                openList(db, records::searchListing(db, records::ListBase::CurrentDepartment, search));
            };
        };
        const auto panelRows = [](records::EmployeeSearch search) {
            return [search](const QSqlDatabase &db) { searchAllRows(db, search); };
        };
        all.push_back({"search panel opens, all depts", panelOpens({}), readEmployees});
        all.push_back({"search panel opens, one dept", panelOpens({.department = "03"}), readEmployees});
        all.push_back({"search panel one dept, all rows", panelRows({.department = "03"}), readEmployees});
        all.push_back({"search panel code prefix, all rows", panelRows({.codePrefix = "0012"}), readEmployees});
        all.push_back({"search panel name prefix, all rows", panelRows({.namePrefix = "张"}), readEmployees});
        all.push_back({"four history grids of one employee", historyGrids, readEmployeeHistories});
        all.push_back({"timeline of one employee", timeline, readEmployeeHistories});
        all.push_back({"record query opens (keys, first window)",
                       [](const QSqlDatabase &db) { openList(db, records::personnelRecordListing({})); }, readEmployees});
        all.push_back({"record query condition search",
                       [](const QSqlDatabase &db) {
                           readRows(records::personnelRecordQuery(
                                        db, query::build({.name = "张", .nameMatch = query::NameMatch::Prefix, .department = "03"})),
                                    INT_MAX);
                       },
                       readEmployees});
        return all;
    }();
    return ops;
}

// The best of five runs after one that warms the page cache. A step that takes seconds is
// timed once.
Timing timingOf(const DatabaseStep &step, const QSqlDatabase &db)
{
    return bestOf([&] { step(db); }, {}, {.timed = 5, .warmUp = true, .enoughMs = 2000});
}

// Each operation timed on each of `databases`, side by side.
int sideBySide(const QStringList &databases, const QString &only)
{
    QTextStream out(stdout);
    QStringList names;
    QString header = QString("%1 %2").arg("operation", -36).arg("employees", 10);
    for (int i = 0; i < databases.size(); ++i) {
        names << QString("bench-%1").arg(i);
        const database::OpenResult opened = database::open(names.last(), databases[i]);
        if (!opened.ok) {
            QTextStream(stderr) << opened.message << '\n';
            return 1;
        }
        header += QString(" %1").arg(database::isServerAddress(databases[i]) ? "ms(server)" : "ms(file)", 12);
    }
    out << header << QString(" %1").arg("ratio", 8) << '\n';
    const int employees = sql::scalar(QSqlDatabase::database(names.first(), false), "select count(*) from zghmc").toInt();
    for (const Operation &op : operations()) {
        if (!op.name.contains(only))
            continue;
        QString line = QString("%1 %2").arg(op.name, -36).arg(employees, 10);
        QList<double> times;
        for (const QString &name : names) {
            times << timingOf(op.program, QSqlDatabase::database(name, false)).wall;
            line += QString(" %1").arg(times.last(), 12, 'f', 1);
        }
        out << line << QString(" %1").arg(times.last() / times.first(), 8, 'f', 2) << '\n' << Qt::flush;
    }
    for (const QString &name : names)
        database::close(name);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    QList<int> sizes = {1000, 10000, 100000};
    QTemporaryDir temporary;
    const QString cache = takeCacheFolder(args, temporary);
    QString only;
    QStringList databases;
    // The literal statement list takes minutes at 100,000 employees and more: left out on request.
    const bool skipStatements = args.removeAll("--no-statements") > 0;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--sizes" || args[i] == "--employees") {
            sizes.clear();
            for (const QString &s : args[i + 1].split(',')) {
                if (!employeesInRange(s.toInt())) {
                    QTextStream(stderr) << "sizes run from 1 to " << kMostEmployees << " employees: " << s << '\n';
                    return 2;
                }
                sizes << s.toInt();
            }
        } else if (args[i] == "--only") {
            only = args[i + 1];
        } else if (args[i] == "--db") {
            databases << args[i + 1];
        }
    }
    if (!databases.isEmpty())
        return sideBySide(databases, only);
    QTextStream out(stdout);
    // ratio: the plain form's time ÷ the program's (above 1: the program is faster).
    out << QString("%1 %2 %3 %4 %5 %6 %7 %8 %9\n")
               .arg("operation", -36)
               .arg("employees", 10)
               .arg("ms", 10)
               .arg("cpu", 8)
               .arg("ms(read)", 10)
               .arg("cpu", 8)
               .arg("ratio", 8)
               .arg("ms(stmts)", 10)
               .arg("ratio", 8);
    for (int employees : sizes) {
        const QString file = cachedOrganisation(cache, QString("demo-%1").arg(employees), {.employees = employees, .seed = 1});
        if (file.isEmpty() || !database::open("bench", file).ok)
            return 1;
        for (const Operation &op : operations()) {
            if (!op.name.contains(only))
                continue;
            const QSqlDatabase db = QSqlDatabase::database("bench", false);
            if (op.result && !skipStatements) {
                op.statements(db);
                const QString expected = op.result(db);
                op.program(db);
                if (op.result(db) != expected) {
                    QTextStream(stderr) << op.name << ": the program's result differs from the statements'\n";
                    return 3;
                }
            }
            const Timing program = timingOf(op.program, db);
            const Timing plain = timingOf(op.plain, db);
            QString line = QString("%1 %2 %3 %4 %5 %6 %7")
                               .arg(op.name, -36)
                               .arg(employees, 10)
                               .arg(program.wall, 10, 'f', 1)
                               .arg(program.cpu, 8, 'f', 1)
                               .arg(plain.wall, 10, 'f', 1)
                               .arg(plain.cpu, 8, 'f', 1)
                               .arg(plain.cpu / program.cpu, 8, 'f', 2);
            if (op.statements && !skipStatements) {
                const Timing statements = timingOf(op.statements, db);
                line += QString(" %1 %2").arg(statements.wall, 10, 'f', 1).arg(statements.cpu / program.cpu, 8, 'f', 2);
            }
            out << line << '\n' << Qt::flush;
        }
        database::close("bench");
    }
    return 0;
}
