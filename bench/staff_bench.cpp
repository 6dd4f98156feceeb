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
#include "db/transaction.h"
#include "staff/employee_editor.h"
#include "staff/employee_record.h"
#include "staff/personal_sheet.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// Each employee: a master row and an entry row in each history; one in three later moved to
// another department (so the current row is not always the first).
void generate(const QSqlDatabase &db, int employees)
{
    QRandomGenerator random(42);
    Transaction transaction(db);
    QSqlQuery master = sql::prepare(db, "insert into zghmc (职工编码,职工姓名,职工性别,出生年月,政治面貌,入党时间,文化程度,入司时间) "
                                        "values (:c,:n,:s,:b,'01',:d,'03',:d)");
    const QStringList rows = {
        "insert into dwdtb (职工编码,变动时间,单位编码) values (:c,:d,:x)",
        "insert into zwdtb (职工编码,变动时间,职务编码) values (:c,:d,'10')",
        "insert into zcdtb (职工编码,变动时间,职称编码,类别编码) values (:c,:d,'03','01')",
        "insert into gwjndtb (职工编码,变动时间,档次编码,类别编码) values (:c,:d,'02','03')",
        "insert into zwdjdtb (职工编码,变动时间,等级编码,等级工资) values (:c,:d,'05',26400000)"};
    std::vector<QSqlQuery> history;
    for (const QString &s : rows)
        history.push_back(sql::prepare(db, s));
    const auto department = [&] { return QString("%1").arg(1 + random.bounded(10), 2, 10, QChar('0')); };
    for (int i = 1; i <= employees; ++i) {
        const QString code = QString("%1").arg(i, 6, 10, QChar('0'));
        const QString entry = QDate(1990, 1, 1).addDays(random.bounded(12000)).toString(Qt::ISODate);
        master.bindValue(":c", code);
        master.bindValue(":n", QString("职工%1").arg(i));
        master.bindValue(":s", random.bounded(2) ? "男" : "女");
        master.bindValue(":b", QDate(1950, 1, 1).addDays(random.bounded(15000)).toString(Qt::ISODate));
        master.bindValue(":d", entry);
        sql::exec(master);
        for (QSqlQuery &q : history) {
            q.bindValue(":c", code);
            q.bindValue(":d", entry);
            if (q.lastQuery().contains(":x"))
                q.bindValue(":x", department());
            sql::exec(q);
        }
        if (i % 3 == 0) {
            history[0].bindValue(":c", code);
            history[0].bindValue(":d", QDate::fromString(entry, Qt::ISODate).addYears(3).toString(Qt::ISODate));
            history[0].bindValue(":x", department());
            sql::exec(history[0]);
        }
    }
    transaction.commit();
    sql::exec(db, "analyze");
}

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
    generate(db, employees);
    std::printf("generated %d employees, %lld history rows in %.0f ms\n", employees,
                sql::scalar(db, "select (select count(*) from dwdtb)+(select count(*) from zwdtb)+(select count(*) from zcdtb)"
                                "+(select count(*) from gwjndtb)+(select count(*) from zwdjdtb)").toLongLong(),
                ms(t));

    QString refused;  // a prompt would wait for a person; record it instead
    prompt::setAnswerer([&](const prompt::Call &call) {
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
    const auto *list = static_cast<QSqlQueryModel *>(editor->employeeGrid()->model());
    editor->departmentGrid()->selectRow(1);
    app.processEvents();
    std::printf("switch department: mean %.1f ms, worst %.1f ms over %d departments "
                "(rows read for ~%d employees in 02: %d)\n",
                total / departments, worst, departments, employees / 10, list->rowCount());
    std::printf("same list, whole-history form: %.1f ms\n", wholeHistoryForm(db, "02"));

    t.restart();
    for (int i = 0; i < 100; ++i)
        staff::personalSheet(db, QString("%1").arg(1 + i * (employees / 100), 6, 10, QChar('0')));
    std::printf("personal sheet query: %.2f ms each\n", ms(t) / 100);

    // A save while the long list is still open and only partly read.
    editor->edit();
    t.restart();
    editor->save();
    std::printf("save while the list is partly read: %s, %.1f ms\n",
                editor->mode() == Tfrmzglr::Mode::Browse ? "saved" : qPrintable("refused: " + refused), ms(t));
    return editor->mode() == Tfrmzglr::Mode::Browse ? 0 : 1;
}
