// Times the long lists on a generated organisation, each beside the form it replaced, after
// checking both give the same rows:
//   - opening a roster: the windowed list (its keys and first window) vs reading every row of
//     the plain statement into memory, for 科级以上干部花名册 and 专业技术干部花名册 as they open;
//   - sorting in the database (a title click) by each kind of column: the section cadre roster
//     by 出生年月 (a date, both ways), 职工姓名 (text), 职务名称 (a code's name) and 职工编码
//     (a code), the grade salary and appraisal list of every employee by 等级工资 (money) and
//     年度 (a number); each to its first rows, then a jump to its last window;
//   - the screens opening in the main window (offscreen), with the memory they add, and the
//     basic situation analysis opened with nothing changed and after a write, the basic
//     situation query opened on every employee;
//   - the basic situation query's list to its last row in one Ctrl+End, vs the chunked query
//     model that needed a key press per 256 rows.
// Each line gives the wall time (best of three) and the process CPU time of that run; on a
// loaded machine the CPU time is the steadier figure.
//
//   build/bin/list_bench [employees] [--db FILE|postgresql://user@host:port/dbname] [--sorts]
//   (default 100000 employees generated in a temporary folder; --db measures a copy-free
//   existing organisation, e.g. one written by wenpad-admin demo, or one copied onto a server
//   by wenpad-admin copy; --sorts stops after the sorting)

#include "best_of.h"
#include "generated_organisation.h"
#include "shown_main_window.h"
#include "db/app_paths.h"
#include "db/database.h"
#include "db/sql.h"
#include "db/windowed_rows.h"
#include "demo/demo_organisation.h"
#include "pay/appraisal_list.h"
#include "query/basic_situation.h"
#include "query/basic_situation_screen.h"
#include "query/condition_list.h"
#include "reference/roster_plain.h"
#include "staff/roster_screen.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSqlQueryModel>
#include <QTemporaryDir>
#include <cstdio>

namespace {

void line(const char *what, int employees, const Timing &program, const Timing &plain)
{
    std::printf("%-44s %8d %9.1f %9.1f %9.1f %9.1f %7.2f\n", what, employees, program.wall, program.cpu, plain.wall,
                plain.cpu, plain.cpu / program.cpu);
    std::fflush(stdout);
}

bool sameRows(const WindowedRows &model, const QList<QVariantList> &all)
{
    if (model.rowCount() != all.size())
        return false;
    for (int r : {0, int(all.size()) / 2, int(all.size()) - 1})
        if (r >= 0 && model.value(r, 0) != all.at(r).at(0))
            return false;
    return true;
}

void pressCtrlEnd(QWidget *grid)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(grid, &press);
    QApplication::processEvents();
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int employees = 100000;
    QString given;
    bool sortsOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (QString(argv[i]) == "--db" && i + 1 < argc)
            given = argv[++i];
        else if (QString(argv[i]) == "--sorts")
            sortsOnly = true;
        else
            employees = QString(argv[i]).toInt();
    }
    if (given.isEmpty() && !employeesInRange(employees)) {
        std::fprintf(stderr, "usage: list_bench [employees 1-%d] [--db FILE|postgresql://…]\n", kMostEmployees);
        return 2;
    }
    QTemporaryDir dir;
    app_paths::setProgramDir(dir.path());
    const QString file = given.isEmpty() ? app_paths::databaseFile() : given;
    const database::OpenResult opened = database::open(database::kSharedConnection, file);
    if (!opened.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(opened.message));
        return 1;
    }
    QSqlDatabase db = database::shared();
    if (given.isEmpty()) {
        demo::generate(db, {.employees = employees, .seed = 1});
        sql::exec(db, "analyze");
    }
    employees = sql::scalar(db, "select count(*) from zghmc").toInt();
    std::printf("%-44s %8s %9s %9s %9s %9s %7s\n", "operation", "staff", "ms", "cpu ms", "ms(old)", "cpu(old)",
                "ratio");

    // Opening a roster: the windowed list against every row of the plain statement held.
    for (const char *screen : {"Tfrmkjgbxx", "Tfrmgbxx"}) {
        const roster::Member &member = *roster::findMember(screen);
        const roster::Filter filter = roster::openingFilter(db, member);
        const QList<QVariantList> plain = reference::plainRoster(db, member, filter);
        WindowedRows check;
        check.open(db, roster::listing(db, member, filter));
        if (!sameRows(check, plain)) {
            std::fprintf(stderr, "%s: the windowed roster differs from the plain statement\n", screen);
            return 1;
        }
        const Timing program = timed([&] {
            WindowedRows model;
            model.open(db, roster::listing(db, member, filter));
            model.value(0, 0);
        });
        const Timing old = timed([&] { reference::plainRoster(db, member, filter); });
        const QByteArray name = QString("open roster %1 (%2 rows)").arg(screen).arg(plain.size()).toUtf8();
        line(name.constData(), employees, program, old);
    }

    ShownMainWindow mainWindow(app);
    TfrmMain &window = mainWindow.window;

    // The screens as the program opens them: query, first window shown, columns fitted.
    for (const char *screen : {"Tfrmkjgbxx", "Tfrmgbxx"}) {
        const double before = processMemoryMb().rssMb;
        QWidget *shown = nullptr;
        const Timing opening = timed([&] {
            shown = window.openScreen(screen);
            app.processEvents();
        }, [&] {
            shown->close();
            app.processEvents();
        });
        shown = window.openScreen(screen);
        app.processEvents();
        const auto [rss, peak] = processMemoryMb();
        std::printf("%-44s %8d %9.1f %9.1f   (rows held %d of %d; +%.0f MB, process %.0f MB, peak %.0f MB)\n",
                    QString("open screen %1").arg(screen).toUtf8().constData(), employees, opening.wall, opening.cpu,
                    static_cast<RosterScreen *>(shown)->rows()->heldRows(),
                    static_cast<RosterScreen *>(shown)->rows()->rowCount(), rss - before, rss, peak);
        shown->close();
        app.processEvents();
    }

    // A click on a title: the database sorts the list by the column and the grid shows its
    // first rows; then a jump to the last window. Each kind of column the lists hold.
    {
        auto *cadres = static_cast<RosterScreen *>(window.openScreen("Tfrmkjgbxx"));
        app.processEvents();
        WindowedRows appraisals;
        appraisals.open(db, pay::appraisalListing({}));
        struct Sort {
            const char *what;
            WindowedRows *rows;
            int column;
            Qt::SortOrder order;
        };
        const Sort sorts[] = {
            {"Tfrmkjgbxx by 出生年月 (date) asc", cadres->rows(), roster::Born, Qt::AscendingOrder},
            {"Tfrmkjgbxx by 出生年月 (date) desc", cadres->rows(), roster::Born, Qt::DescendingOrder},
            {"Tfrmkjgbxx by 职工姓名 (text)", cadres->rows(), roster::Name, Qt::AscendingOrder},
            {"Tfrmkjgbxx by 职务名称 (code name)", cadres->rows(), roster::Position, Qt::AscendingOrder},
            {"Tfrmkjgbxx by 职工编码 (code) desc", cadres->rows(), roster::Code, Qt::DescendingOrder},
            {"Tfrmndkhcx by 等级工资 (money)", &appraisals, 3, Qt::AscendingOrder},
            {"Tfrmndkhcx by 年度 (number) desc", &appraisals, 5, Qt::DescendingOrder},
        };
        for (const Sort &sort : sorts) {
            WindowedRows *rows = sort.rows;
            const Timing sorting = timed([&] {
                rows->sort(sort.column, sort.order);
                rows->value(0, 0);
                app.processEvents();
            }, [&] { rows->sort(-1, Qt::AscendingOrder); });
            // Sorted afresh after each run, so the last window is read each time.
            rows->sort(sort.column, sort.order);
            const Timing toEnd = timed([&] { rows->value(rows->rowCount() - 1, 0); }, [&] { rows->sort(sort.column, sort.order); });
            rows->sort(-1, Qt::AscendingOrder);
            line(QString("sort %1 (%2 rows)").arg(sort.what).arg(rows->rowCount()).toUtf8().constData(), employees, sorting, {});
            line("  then its last window", employees, toEnd, {});
        }
        cadres->close();
        app.processEvents();
    }
    if (sortsOnly)
        return 0;

    // The analysis screen: opened again with nothing written since, and opened after a write
    // (its table rebuilt).
    const auto openAnalysis = [&] {
        window.openScreen("Tfrmzgjbqkfxb")->close();
        app.processEvents();
    };
    openAnalysis();
    line("open screen Tfrmzgjbqkfxb, nothing changed", employees, timed(openAnalysis), {});
    const auto write = [&] { sql::exec(db, "update zghmc set 备注=备注 where 职工编码=(select min(职工编码) from zghmc)"); };
    write();
    line("open screen Tfrmzgjbqkfxb after a write", employees, timed(openAnalysis, write), {});

    // The query's list to its end in one gesture, against the chunked model's key presses.
    const auto openQuery = [&] {
        window.openScreen("Tfrmzgjbqkcx")->close();
        app.processEvents();
    };
    line("open screen Tfrmzgjbqkcx (every employee)", employees, timed(openQuery), {});
    auto *query = static_cast<Tfrmzgjbqkcx *>(window.openScreen("Tfrmzgjbqkcx"));
    app.processEvents();
    ConditionList *grid = query->grid();
    const int rowsListed = grid->model()->rowCount();
    windowed::Listing last = query::basicSituationListing({});
    last.columns = "max(zghmc.职工编码)";
    const QVariant lastCode = sql::scalar(db, last.statement());
    const Timing toEnd = timed([&] {
        grid->selectRow(0);
        app.processEvents();
        pressCtrlEnd(grid);
    });
    if (grid->currentIndex().row() != rowsListed - 1 || grid->model()->index(rowsListed - 1, 0).data() != lastCode) {
        std::fprintf(stderr, "Ctrl+End did not reach the last employee\n");
        return 1;
    }
    // The chunked model needs a key press per 256 rows, each slower than the last: above this
    // size it runs for many minutes and is left out.
    constexpr int kMostForChunked = 200000;
    if (rowsListed > kMostForChunked) {
        line("query list to its end (one Ctrl+End)", employees, toEnd, {});
        std::printf("%-44s %8d   new: %d rows held of %d; old: not run above %d rows\n", "  (rows held)", employees,
                    query->model()->heldRows(), rowsListed, kMostForChunked);
        return 0;
    }
    int presses = 0;
    double oldRss = 0;
    const Timing oldToEnd = timed([&] {
        QSqlQueryModel chunked;
        grid->setModel(&chunked);
        chunked.setQuery(query::basicSituationQuery(db, {}));
        presses = 0;
        while ((grid->currentIndex().row() < 0 || grid->model()->index(grid->currentIndex().row(), 0).data() != lastCode)
               && presses < 100000) {
            pressCtrlEnd(grid);
            ++presses;
        }
        oldRss = processMemoryMb().rssMb;
        grid->setModel(query->model());
    });
    line("query list to its end (one Ctrl+End)", employees, toEnd, oldToEnd);
    std::printf("%-44s %8d   new: %d rows held of %d; old: %d key presses, process %.0f MB with all rows read\n",
                "  (rows held)", employees, query->model()->heldRows(), rowsListed, presses, oldRss);
    return 0;
}
