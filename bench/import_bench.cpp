// Times a staff list of a generated organisation going out and back in: the register exported
// in the import template's columns (.xlsx and .csv), every row checked (the dry run), and the
// import into an empty database (the check, then the write of every row with its five
// entry-time rows in one transaction), each with the peak memory it reached. The file is read
// row by row, so the peak should stay about the same whatever the number of rows.
//
//   build/bin/import_bench [employees]   (default 100000)

#include "best_of.h"
#include "generated_organisation.h"
#include "db/database.h"
#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "import/import_run.h"
#include "import/register_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

using namespace staff_import;

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

// Runs the step once (each takes seconds) and prints its wall and processor time and the
// peak memory.
template <typename Work>
void measure(const QString &what, const Work &work)
{
    resetPeakMemory();
    const double before = processMemoryMb().rssMb;
    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = cpuMs();
    const QString result = work();
    const double seconds = clock.elapsed() / 1000.0;
    out() << what.leftJustified(38) << QString::number(seconds, 'f', 1) << " s (processor "
          << QString::number((cpuMs() - cpuBefore) / 1000.0, 'f', 1) << " s)   peak RSS "
          << QString::number(processMemoryMb().peakMb, 'f', 0) << " MB (before " << QString::number(before, 'f', 0)
          << " MB)   " << result << '\n'
          << Qt::flush;
}

QSqlDatabase emptyDatabase(const QString &folder, const QString &name)
{
    const QString file = QDir(folder).filePath(name + ".db");
    if (!database::createDelivered(file).ok || !database::open(name, file).ok)
        qFatal("cannot create %s", qPrintable(file));
    return QSqlDatabase::database(name, false);
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int employees = argc > 1 ? QString(argv[1]).toInt() : 100000;
    if (!employeesInRange(employees)) {
        QTextStream(stderr) << "employees: 1 to " << kMostEmployees << '\n';
        return 2;
    }
    QTemporaryDir folder;
    demo::Options options;
    options.employees = employees;
    const QSqlDatabase source = emptyDatabase(folder.path(), "source");
    demo::generate(source, options);
    // Generated non-members have no party date, which the employee editor (and so the import)
    // requires: give them their start of work, so that every row of the list is importable.
    sql::exec(source, "update zghmc set 入党时间=工作时间 where 入党时间 is null");
    out() << "employees " << employees << '\n';

    for (const QString suffix : {"xlsx", "csv"}) {
        const QString list = QDir(folder.path()).filePath("register." + suffix);
        measure("export ." + suffix, [&] {
            return QStringLiteral("%1 rows, %2 MB").arg(exportRegister(source, list)).arg(QFileInfo(list).size() / 1e6, 0, 'f', 1);
        });
        const QSqlDatabase target = emptyDatabase(folder.path(), "target-" + suffix);
        const Mapping mapping = proposeMapping(readHeaders(list));
        Counts checked;
        measure("check every row (dry run) ." + suffix, [&] {
            checked = checkFile(target, list, mapping, Existing::Skip, [](const Verdict &) {});
            return checked.text(true);
        });
        measure("import into an empty database ." + suffix, [&] {
            const Counts again = checkFile(target, list, mapping, Existing::Skip, [](const Verdict &) {});
            return importFile(target, list, mapping, Existing::Skip, again).text();
        });
        const qlonglong history = sql::scalar(target, "select count(*) from dwdtb").toLongLong();
        out() << "  register " << sql::scalar(target, "select count(*) from zghmc").toLongLong()
              << " employees, department history " << history << " rows\n";
    }
    return 0;
}
