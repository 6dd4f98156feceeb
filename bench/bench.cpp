// Times each rebuild and query on generated organisations beside its plain form, one line a case:
//   operation  employees  ms(program)  ms(plain)  ratio
// usage: wenpad-bench [--sizes 1000,10000,100000] [--cache DIR]
// With --cache, generated organisations are kept in DIR and reused by later runs.

#include "db/database.h"
#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "reference/zgjbqkfxb_reference.h"
#include "stats/zgjbqkfxb.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
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

const std::vector<Operation> &operations()
{
    static const std::vector<Operation> ops = {
        {"rebuild zgjbqkfxb vs statements",
         [](const QSqlDatabase &db) { stats::rebuildZgjbqkfxb(db, kCutoff); },
         [](const QSqlDatabase &db) { reference::rebuildZgjbqkfxb(db, kCutoff); }},
        {"rebuild zgjbqkfxb vs plain read",
         [](const QSqlDatabase &db) { stats::rebuildZgjbqkfxb(db, kCutoff); }, readCountedRows},
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
