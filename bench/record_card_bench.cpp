// Times the personnel record card on a generated organisation: an employee's card read
// (skill grades with their positions, rewards, kqtjb rebuilt and read), and the screen's move
// to the next employee in the list, as a person steps through it.
//
//   build/bin/record_card_bench [employees]   (default 100000; runs offscreen in a temporary folder)

#include "app/notify.h"
#include "best_of.h"
#include "generated_organisation.h"
#include "shown_main_window.h"
#include "db/app_paths.h"
#include "db/clock.h"
#include "db/database.h"
#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "records/employee_search_panel.h"
#include "records/record_card.h"
#include "records/record_card_screen.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <vector>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int employees = app.arguments().value(1, "100000").toInt();
    if (!employeesInRange(employees)) {
        QTextStream(stderr) << "usage: record_card_bench [employees 1-999999]\n";
        return 2;
    }
    QTemporaryDir dir;
    app_paths::setProgramDir(dir.path());
    const database::OpenResult opened = database::open(database::kSharedConnection, app_paths::databaseFile());
    if (!opened.ok) {
        QTextStream(stderr) << opened.message << '\n';
        return 1;
    }
    const QSqlDatabase db = database::shared();
    const demo::Options options{.employees = employees, .seed = 1};
    demo::generate(db, options);
    sql::exec(db, "analyze");
    const clock_source::ScopedToday today(options.anchor);
    const int year = options.anchor.year();

    // The employee with the most attendance rows, and one in the middle of the register.
    const QString busiest = sql::scalar(db, "select 职工编码 from kqjlb group by 职工编码 order by count(*) desc limit 1").toString();
    const QString middle = QString("%1").arg(employees / 2, 6, 10, QChar('0'));
    QTextStream out(stdout);
    out << "employees " << employees << ", attendance rows " << sql::scalar(db, "select count(*) from kqjlb").toLongLong()
        << ", rewards rows " << sql::scalar(db, "select count(*) from jcjlb").toLongLong() << '\n';
    for (const QString &code : {busiest, middle}) {
        const auto card = [&] {
            records::skillGrades(db, code);
            records::rewardsAndPunishments(db, code);
            records::rebuildYearlyAttendance(db, code, year);
            records::yearlyAttendance(db);
        };
        out << "card of " << code << " (ms)            " << best(card) << "\n";
        out << "  kqtjb rebuilt and read (ms)  "
            << best([&] { records::rebuildYearlyAttendance(db, code, year); records::yearlyAttendance(db); }) << '\n';
        out << "  skill grades (ms)            " << best([&] { records::skillGrades(db, code); }) << '\n';
    }

    // A failure would wait for a person in a message box; print it instead.
    int failures = 0;
    const notify::ScopedObserver failing([&](notify::Kind, const QString &, const QString &text) {
        ++failures;
        QTextStream(stderr) << "failed: " << text << '\n';
    });
    ShownMainWindow mainWindow(app);
    TfrmMain &window = mainWindow.window;
    QElapsedTimer t;
    t.start();
    auto *screen = static_cast<Tfrmygrsjlk *>(window.openScreen("Tfrmygrsjlk"));
    app.processEvents();
    out << "open the card screen (ms)       " << t.nsecsElapsed() / 1e6 << '\n';
    // A step: the card read into the grids, then the window painted. The processor time beside
    // the wall-clock time tells a slow step from a busy machine.
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::vector<double> steps, reads, processor;
    for (int i = 0; i < 50; ++i) {
        const double started = cpuMs();
        t.restart();
        screen->search()->downButton()->click();
        reads.push_back(t.nsecsElapsed() / 1e6);
        app.processEvents();
        steps.push_back(t.nsecsElapsed() / 1e6);
        processor.push_back(cpuMs() - started);
    }
    out << "next employee on the screen (ms) median " << median(steps) << ", worst "
        << *std::max_element(steps.begin(), steps.end()) << " over " << steps.size()
        << " steps; the card read into the grids: median " << median(reads) << "; processor time: median "
        << median(processor) << '\n';
    return failures == 0 ? 0 : 1;
}
