// Times the employee editor on a generated organisation: opening it, switching departments,
// the personal sheet, and a save while a long list is only partly read. Prints the department
// query beside the whole-history form for comparison.
//
//   build/bin/staff_bench [employees]      (default 100000; runs offscreen in a temporary folder)

#include "app/main_window.h"
#include "app/prompt.h"
#include "app/screen_registry.h"
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
#include "staff/personal_sheet.h"

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

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int employees = argc > 1 ? QString(argv[1]).toInt() : 100000;
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

    ScreenRegistry registry;
    registerAllScreens(registry);
    TfrmMain window(registry);
    window.resize(1400, 900);
    window.show();
    app.processEvents();

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
    return editor->mode() == Tfrmzglr::Mode::Browse ? 0 : 1;
}
