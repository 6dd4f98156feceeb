// The search panel, the timeline screen and the personnel record query as a user works them.

#include "app/file_choice.h"
#include "app/main_window.h"
#include "app/notify.h"
#include "app/screen_registry.h"
#include "db/clock.h"
#include "db/scoped_hook.h"
#include "query/condition.h"
#include "query/condition_dialog.h"
#include "query/condition_list.h"
#include "records/employee_search_panel.h"
#include "records/history_panels.h"
#include "records/personnel_query_screen.h"
#include "records/records_screens.h"
#include "records/timeline.h"
#include "records/timeline_screen.h"
#include "records/work_dynamics_view.h"
#include "reports/print_preview.h"
#include "staff/employee_fixture.h"
#include "support/document_texts.h"

#include <QApplication>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {

// 000101 and 000102 in 人事科 (02), 000201 in 财务科 (03); 000101 moved to 02 from 01 on
// 2004-03-01 and became 高级工程师 on 2004-06-01.
void fillRegister(const QSqlDatabase &db)
{
    addEmployee(db, "000101", "01");
    addEmployee(db, "000102", "02");
    addEmployee(db, "000201", "03");
    sql::exec(db, "update zghmc set 民族编码='01'");
    sql::exec(db, "insert into dwdtb (职工编码,变动时间,单位编码) values ('000101','2004-03-01','02')");
    sql::exec(db, "insert into zcdtb (职工编码,变动时间,职称编码,类别编码) values ('000101','2004-06-01','02','01')");
}

QStringList column(const QAbstractItemModel *model, int c)
{
    QStringList values;
    for (int r = 0; r < model->rowCount(); ++r)
        values << model->index(r, c).data().toString();
    return values;
}

}  // namespace

class TestRecordsScreens : public QObject {
    Q_OBJECT
private slots:
    void searchPanelNarrowsAndSteps()
    {
        ProgramFolder folder;
        fillRegister(folder.db());
        EmployeeSearchPanel panel(folder.db(), {records::ListBase::CurrentDepartment, EmployeeSearchPanel::Arrows::Active});
        QStringList announced;
        connect(&panel, &EmployeeSearchPanel::employeeChanged, [&](const QString &code) { announced << code; });
        panel.start();
        QCOMPARE(panel.departmentBox()->itemText(0), "所有部门");
        QCOMPARE(panel.departmentBox()->itemText(2), "02 人事科");
        QCOMPARE(column(panel.list()->model(), 0), (QStringList{"000101", "000102", "000201"}));
        QCOMPARE(announced, QStringList{"000101"});

        panel.downButton()->click();
        panel.downButton()->click();
        panel.downButton()->click();  // stays on the last row
        QCOMPARE(panel.currentCode(), "000201");
        panel.upButton()->click();
        QCOMPARE(announced, (QStringList{"000101", "000102", "000201", "000102"}));

        // "查找" narrows as one types, by code or name, anywhere in it, and announces the first row.
        QTest::keyClicks(panel.findBox(), "0201");
        QCOMPARE(column(panel.list()->model(), 0), QStringList{"000201"});
        QCOMPARE(announced.last(), "000201");
        panel.findBox()->setText(panel.list()->model()->index(0, 1).data().toString().right(1));
        QVERIFY(panel.list()->model()->rowCount() >= 1);
        panel.findBox()->setText("0_");  // taken literally
        QCOMPARE(panel.list()->model()->rowCount(), 0);
        QCOMPARE(announced.last(), QString());

        // The department narrows the found ones further, and the text stays for it.
        panel.findBox()->setText("0001");
        panel.departmentBox()->setCurrentIndex(2);
        emit panel.departmentBox()->activated(2);
        QCOMPARE(column(panel.list()->model(), 0), (QStringList{"000101", "000102"}));
        panel.findBox()->setText("无此人");
        QCOMPARE(panel.list()->model()->rowCount(), 0);
        QCOMPARE(announced.last(), QString());
    }

    void timelineFollowsTheSelectionAndPrints()
    {
        ProgramFolder folder;
        fillRegister(folder.db());
        const clock_source::ScopedToday today(QDate(2004, 12, 31));
        TestHost host;
        auto *screen = new Tfrmgzdttj(host);
        QCOMPARE(column(screen->model(), 0), (QStringList{"2003-06-01", "2004-03-01", "2004-06-01"}));
        QCOMPARE(column(screen->model(), 1), (QStringList{"经理办公室", "人事科", "人事科"}));
        QCOMPARE(column(screen->model(), 3), (QStringList{"工程师", "工程师", "高级工程师"}));
        QCOMPARE(column(screen->model(), 5), (QStringList{"274", "92", "213"}));

        // The arrows have no action here; choosing another employee rebuilds the timeline.
        screen->search()->downButton()->click();
        QCOMPARE(screen->search()->currentCode(), "000101");
        screen->search()->list()->selectRow(2);
        QCOMPARE(column(screen->model(), 0), QStringList{"2003-06-01"});
        QCOMPARE(listed(folder.db(), "select distinct 职工编码 from gzdtjlb"), "000201");

        QList<report::Document> printed;
        const ScopedHook<report::PreviewObserver, &report::setPreviewObserver> previewing(
            [&](const report::Document &d) { printed << d; });
        screen->findChild<QPushButton *>("print")->click();
        QCOMPARE(printed.size(), 1);
        QCOMPARE(printed[0].name, "Trepgzdttj");

        // Another copy of the program builds the work table for another employee meanwhile:
        // "打印" builds it again for the one shown, says so, and prints the same lines.
        records::rebuildTimeline(folder.db(), "000101");
        QStringList told;
        const notify::ScopedObserver telling(
            [&](notify::Kind, const QString &, const QString &text) { told << text; });
        screen->findChild<QPushButton *>("print")->click();
        QCOMPARE(told, QStringList{"工作动态统计表已被另一程序改动，已重新统计，打印的是重新统计的结果。"});
        QCOMPARE(printed.size(), 2);
        QCOMPARE(documentTexts(printed[1]), documentTexts(printed[0]));

        // "导出Excel…" likewise: the workbook holds the lines shown.
        records::rebuildTimeline(folder.db(), "000101");
        told.clear();
        const QString workbook = folder.file("动态.xlsx");
        {
            const file_choice::ScopedChooser choosing([&](const file_choice::Request &) { return workbook; });
            screen->exportTimeline();
        }
        QCOMPARE(told.value(0), "工作动态统计表已被另一程序改动，已重新统计，导出的是重新统计的结果。");
        QCOMPARE(listed(folder.db(), "select distinct 职工编码 from gzdtjlb"), "000201");
        QCOMPARE(workbookSheets(workbook).at(0).toObject().value("rows").toArray().size(), 2 + 1);  // title, headings, one line

        sql::exec(folder.db(), "insert into zwdtb (职工编码,变动时间,职务编码) values ('000201','2004-01-01','05')");
        screen->findChild<QPushButton *>("rebuild")->click();
        QCOMPARE(column(screen->model(), 0), (QStringList{"2003-06-01", "2004-01-01"}));
        screen->close();
        QCOMPARE(host.enabledCalls, (QList<bool>{false, true}));
    }

    void personnelQueryNarrowsAndShowsDetails()
    {
        ProgramFolder folder;
        fillRegister(folder.db());
        ScreenRegistry registry;
        registerRecordsScreens(registry);
        TfrmMain window(registry);
        window.show();
        auto *screen = qobject_cast<Tfrmzggzdtcx *>(window.openScreen("Tfrmzggzdtcx"));
        QVERIFY(screen);
        ConditionList *list = screen->list();
        QCOMPARE(column(list->model(), 0), (QStringList{"000101", "000102", "000201"}));
        QCOMPARE(list->model()->headerData(5, Qt::Horizontal).toString(), "等级（职务）档次");
        QCOMPARE(list->model()->index(0, 2).data().toString(), "人事科");  // the current rows

        list->showList(query::build({.department = "02"}));
        QCOMPARE(column(list->model(), 0), (QStringList{"000101", "000102"}));
        list->showList(query::build({.name = "nobody"}));
        QCOMPARE(list->model()->rowCount(), 0);
        list->showList(query::build({.department = "03"}));  // from the base again

        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<Tfrmzgcx *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->box("职工姓名")->setText("nobody");
            for (QPushButton *b : dialog->findChildren<QPushButton *>())
                if (b->text() == "返回")
                    b->click();
        });
        screen->button("查询条件")->click();
        QCOMPARE(column(list->model(), 0), QStringList{"000201"});

        list->showList({});
        screen->button("详细信息")->click();
        Tfrmgzdtxxxx *view = screen->detailView();
        QVERIFY(view);
        QCOMPARE(view->shownCode(), "000101");
        QCOMPARE(column(view->panels()->model(0), 1), (QStringList{"2003-06-01", "2004-03-01"}));
        list->selectRow(2);  // the view follows the selection
        QCOMPARE(view->shownCode(), "000201");
        QCOMPARE(view->panels()->model(1)->rowCount(), 1);
        view->findChild<QPushButton *>()->click();
        QTRY_VERIFY(!screen->detailView());
        // The query is still open: the main window's menu stays disabled until it closes.
        QVERIFY(!window.menuBar()->actions().first()->isEnabled());
        screen->close();
        QVERIFY(window.menuBar()->actions().first()->isEnabled());
    }
};

QTEST_MAIN(TestRecordsScreens)
#include "test_records_screens.moc"
