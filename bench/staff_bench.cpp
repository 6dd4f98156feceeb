// Times the employee editor on a generated organisation: opening it, switching departments,
// the personal sheet, and a save while a long list is only partly read; then the cadre résumé:
// its cadre list's first rows, moving between cadres, and the printed résumé. Prints the
// department query and the cadre list beside their whole-history forms for comparison.
//
//   build/bin/staff_bench [employees]      (default 100000; runs offscreen in a temporary folder)

#include "best_of.h"
#include "generated_organisation.h"
#include "shown_main_window.h"

#include "app/prompt.h"
#include "db/app_paths.h"
#include "db/database.h"
#include "db/history.h"
#include "db/sql.h"
#include "db/windowed_rows.h"
#include "demo/demo_organisation.h"
#include "app/field_controls.h"
#include "staff/detail_panel.h"
#include "staff/employee_editor.h"
#include "staff/employee_record.h"
#include "staff/cadre_resume_screen.h"
#include "staff/personal_sheet.h"
#include "staff/resume_report.h"
#include "records/employee_search.h"
#include "records/employee_search_panel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

namespace {

double ms(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

// The whole-history form: every employee's greatest 自动编号 first, then the department.
double wholeHistoryForm(const QSqlDatabase &db, const QString &department)
{
    QElapsedTimer t;
    t.start();
    QSqlQueryModel model;
    QSqlQuery q = sql::prepare(db, "select zghmc.职工编码, zghmc.职工姓名 from zghmc, dwdtb where zghmc.职工编码=dwdtb.职工编码 "
                                   "and dwdtb.单位编码=:dw and " + history::currentRow(history::Table::Department)
                                   + " order by zghmc.职工编码");
    q.bindValue(":dw", department);
    sql::exec(q);
    model.setQuery(std::move(q));
    model.rowCount();
    return ms(t);
}

// The cadre list as a join of every employee's current rows, each found over the whole history.
double wholeHistoryCadres(const QSqlDatabase &db)
{
    using history::Table;
    QElapsedTimer t;
    t.start();
    QSqlQueryModel model;
    QSqlQuery q = sql::prepare(db, "select zghmc.职工编码, zghmc.职工姓名 from zghmc, dwdtb, zwdtb, zcdtb where "
                                   "zghmc.职工编码=dwdtb.职工编码 and zghmc.职工编码=zwdtb.职工编码 and zghmc.职工编码=zcdtb.职工编码 and "
                                   + history::currentRow(Table::Department) + " and " + history::currentRow(Table::Position) + " and "
                                   + history::currentRow(Table::Title) + " and zcdtb.类别编码<>'00' order by zghmc.职工编码");
    sql::exec(q);
    model.setQuery(std::move(q));
    model.rowCount();
    return ms(t);
}

int timeResume(QApplication &app, TfrmMain &window, const QSqlDatabase &db)
{
    // Each timing is the best of three (best_of.h): the machine is shared.
    Tfrmgbllbj *screen = nullptr;
    const double opened = best([&] {
        screen = static_cast<Tfrmgbllbj *>(window.openScreen("Tfrmgbllbj"));
        app.processEvents();
    }, [&] {
        screen->close();
        app.processEvents();
    });
    screen = static_cast<Tfrmgbllbj *>(window.openScreen("Tfrmgbllbj"));
    app.processEvents();
    QTableView *list = screen->search()->list();
    std::printf("open cadre résumé (building its nine pages, the cadre list's first rows, the first cadre shown): %.1f ms "
                "(%d rows read so far)\n", opened, list->model()->rowCount());
    std::printf("cadre list searched again (first rows shown, the first cadre's pages filled): %.1f ms\n", best([&] {
                    screen->search()->search();
                    app.processEvents();
                }));
    std::printf("of which the cadre list's first rows: %.1f ms\n", best([&] {
                    QSqlQueryModel first;
                    first.setQuery(records::searchEmployees(db, records::ListBase::TechnicalCadres, {}));
                    first.rowCount();
                }));
    // The straightforward form takes minutes from some tens of thousands of employees on.
    if (sql::scalar(db, "select count(*) from zghmc").toInt() <= 10000)
        std::printf("same cadre list, whole-history form: %.1f ms\n", wholeHistoryCadres(db));

    // Filling is what selecting a cadre does at once; the repaint follows when events are
    // processed.
    const int moves = std::min(200, list->model()->rowCount() - 1);
    for (const bool repaint : {false, true}) {
        double worst = 0, total = 0;
        const auto select = [&](int row) {
            list->selectRow(row);
            if (repaint)
                app.processEvents();
        };
        for (int row = 1; row <= moves; ++row) {
            const double took = best([&] { select(row); }, [&] { select(row - 1); });
            worst = std::max(worst, took);
            total += took;
        }
        std::printf("move between cadres (nine pages filled%s): mean %.2f ms, worst %.2f ms over %d cadres\n",
                    repaint ? " and the shown one repainted" : "", total / moves, worst, moves);
    }
    QStringList codes;
    for (int row = 1; row <= moves; ++row)
        codes << list->model()->index(row, 0).data().toString();
    std::printf("of which reading a cadre's résumé: %.2f ms each\n", best([&] {
                    for (const QString &code : codes) {
                        staff::resume::personalData(db, code);
                        staff::resume::loadResume(db, code);
                    }
                }) / moves);
    const int printedCount = int(std::min<qsizetype>(20, codes.size()));
    int pages = 0;
    const double printed = best([&] {
        pages = 0;
        for (int row = 0; row < printedCount; ++row)
            pages += int(staff::resume::printedResume(db, codes[row])->pages.size());
    });
    std::printf("printed résumé (read and laid out): %.1f ms each, %.1f pages each\n", printed / printedCount,
                double(pages) / printedCount);
    screen->close();
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int employees = argc > 1 ? QString(argv[1]).toInt() : 100000;
    if (!employeesInRange(employees)) {
        std::fprintf(stderr, "usage: staff_bench [employees 1-%d]\n", kMostEmployees);
        return 2;
    }
    QTemporaryDir dir;
    app_paths::setProgramDir(dir.path());
    const database::OpenResult opened = database::open(database::kSharedConnection, app_paths::databaseFile());
    if (!opened.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(opened.message));
        return 1;
    }
    QSqlDatabase db = database::shared();
    QElapsedTimer t;
    t.start();
    demo::generate(db, {.employees = employees, .seed = 1});
    sql::exec(db, "analyze");
    std::printf("generated %d employees, %lld history rows in %.0f ms\n", employees,
                sql::scalar(db, "select (select count(*) from dwdtb)+(select count(*) from zwdtb)+(select count(*) from zcdtb)"
                                "+(select count(*) from gwjndtb)+(select count(*) from zwdjdtb)").toLongLong(),
                ms(t));

    QString refused;  // a prompt would wait for a person; record it instead
    const prompt::ScopedAnswerer answering([&](const prompt::Call &call) {
        refused = call.message;
        return int(prompt::Ok);
    });

    ShownMainWindow mainWindow(app);
    TfrmMain &window = mainWindow.window;

    t.restart();
    auto *editor = static_cast<Tfrmzglr *>(window.openScreen("Tfrmzglr"));
    app.processEvents();
    std::printf("open editor (first department, its first employee shown): %.1f ms\n", ms(t));

    double worst = 0, total = 0;
    const int departments = editor->departmentGrid()->model()->rowCount();
    for (int row = 0; row < departments; ++row) {
        t.restart();
        editor->departmentGrid()->selectRow(row);
        app.processEvents();
        const double took = ms(t);
        worst = std::max(worst, took);
        total += took;
    }
    const auto *list = static_cast<WindowedRows *>(editor->employeeGrid()->model());
    editor->departmentGrid()->selectRow(1);
    app.processEvents();
    const qlonglong inDepartment = sql::scalar(db, "select count(*) from dwdtb where 单位编码='02' and "
                                                   + history::currentRow(history::Table::Department)).toLongLong();
    std::printf("switch department: mean %.1f ms, worst %.1f ms over %d departments "
                "(department 02: %lld employees listed as %d rows, %d of them held)\n",
                total / departments, worst, departments, inDepartment, list->rowCount(), list->heldRows());
    std::printf("same list, whole-history form: %.1f ms\n", wholeHistoryForm(db, "02"));

    t.restart();
    for (int i = 0; i < 100; ++i)
        staff::personalSheet(db, QString("%1").arg(1 + i * (employees / 100), 6, 10, QChar('0')));
    std::printf("personal sheet query: %.2f ms each\n", ms(t) / 100);

    // A save while the long list is still open and only partly read.
    editor->edit();
    if (!staff::parseDate(edit::valueOf(editor->detail()->control("入党时间"))).isValid())
        edit::setValue(editor->detail()->control("入党时间"), "2000-07-01");  // required to save
    t.restart();
    editor->save();
    std::printf("save while the list is partly read: %s, %.1f ms\n",
                editor->mode() == Tfrmzglr::Mode::Browse ? "saved" : qPrintable("refused: " + refused), ms(t));
    if (editor->mode() != Tfrmzglr::Mode::Browse)
        return 1;
    editor->close();
    app.processEvents();
    return timeResume(app, window, db);
}
