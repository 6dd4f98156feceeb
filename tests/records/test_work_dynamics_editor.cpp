// The work dynamics editor as a user works it: one group through add, save, modify, ignore and
// delete, the refusals, the title list following the category and the states of the screen.

#include "app/field_controls.h"
#include "app/prompt.h"
#include "records/employee_search_panel.h"
#include "records/history_panels.h"
#include "records/work_dynamics_editor.h"
#include "staff/employee_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTest>

using edit::Action;

namespace {

const int kDepartment = 0, kTitle = 1, kSkill = 3;

QString rows(const QSqlDatabase &db, const QString &table)
{
    return listed(db, QString("select 变动时间 || ' ' || %2 from %1 where 职工编码='000101' order by 自动编号")
                          .arg(table, table == "gwjndtb" ? "类别编码 || 档次编码" : table == "dwdtb" ? "单位编码" : "职称编码"),
                  ", ");
}

}  // namespace

class TestWorkDynamicsEditor : public QObject {
    Q_OBJECT
private slots:
    void init() { asked.clear(); }

    void oneGroupThroughItsButtons()
    {
        ProgramFolder folder;
        addEmployee(folder.db(), "000101", "02");
        TestHost host;
        auto *screen = new Tfrmgzdtbj(host);
        HistoryPanels *panels = screen->panels();
        edit::ModeBar *bar = screen->bar();
        QCOMPARE(panels->currentGroup(), kDepartment);
        panels->setCurrentGroup(kSkill);
        QCOMPARE(panels->model(kSkill)->rowCount(), 1);

        // The entry-time row cannot go.
        answer = prompt::Ok;
        bar->button(Action::Delete)->click();
        QCOMPARE(asked, QStringList{"错误信息 由于此动态信息不能删除！"});

        // Adding: only the current group's strip shows; the lists and grids wait.
        bar->button(Action::Add)->click();
        QVERIFY(screen->strip(kSkill)->isVisibleTo(screen));
        QVERIFY(!screen->strip(kDepartment)->isVisibleTo(screen));
        QVERIFY(!screen->search()->isEnabled());
        QVERIFY(!panels->grid(kDepartment)->isEnabled());
        for (Action a : {Action::Add, Action::Modify, Action::Delete, Action::Return})
            QVERIFY(!bar->button(a)->isEnabled());
        QVERIFY(bar->button(Action::Save)->isEnabled() && bar->button(Action::Ignore)->isEnabled());

        // "忽略" on a new row: nothing reaches gwjndtb.
        typeInto(screen->control(kSkill, "变动时间"), "2005-7-1");
        bar->button(Action::Ignore)->click();
        QVERIFY(!screen->strip(kSkill)->isVisibleTo(screen));
        QVERIFY(screen->search()->isEnabled());
        QCOMPARE(rows(folder.db(), "gwjndtb"), "2003-06-01 0102");

        bar->button(Action::Add)->click();
        typeInto(screen->control(kSkill, "变动时间"), "2005-7-1");
        chooseCode(screen->control(kSkill, "类别编码"), "02");
        chooseCode(screen->control(kSkill, "档次编码"), "05");
        bar->button(Action::Save)->click();
        QCOMPARE(bar->mode(), edit::Mode::Browse);
        QCOMPARE(rows(folder.db(), "gwjndtb"), "2003-06-01 0102, 2005-07-01 0205");
        QCOMPARE(panels->grid(kSkill)->currentIndex().row(), 1);  // the saved row

        bar->button(Action::Modify)->click();
        QCOMPARE(edit::valueOf(screen->control(kSkill, "变动时间")), "2005-07-01");
        QCOMPARE(edit::valueOf(screen->control(kSkill, "档次编码")), "05");
        chooseCode(screen->control(kSkill, "档次编码"), "06");
        bar->button(Action::Ignore)->click();
        QCOMPARE(rows(folder.db(), "gwjndtb"), "2003-06-01 0102, 2005-07-01 0205");
        bar->button(Action::Modify)->click();
        chooseCode(screen->control(kSkill, "档次编码"), "06");
        bar->button(Action::Save)->click();
        QCOMPARE(rows(folder.db(), "gwjndtb"), "2003-06-01 0102, 2005-07-01 0206");

        // Deleting asks first; "忽略" keeps the row.
        asked.clear();
        answer = prompt::Ignore;
        bar->button(Action::Delete)->click();
        QCOMPARE(asked, QStringList{"删除提示 确定要删除此动态信息吗？"});
        QCOMPARE(rows(folder.db(), "gwjndtb"), "2003-06-01 0102, 2005-07-01 0206");
        answer = prompt::Ok;
        bar->button(Action::Delete)->click();
        QCOMPARE(rows(folder.db(), "gwjndtb"), "2003-06-01 0102");
        QCOMPARE(panels->model(kSkill)->rowCount(), 1);

        // A row deleted meanwhile is reported, not passed off as deleted now.
        sql::exec(folder.db(), "insert into gwjndtb (职工编码,变动时间,类别编码,档次编码) values ('000101','2006-01-01','01','03')");
        panels->reload(kSkill);
        panels->grid(kSkill)->selectRow(1);
        sql::exec(folder.db(), "delete from gwjndtb where 变动时间='2006-01-01'");
        asked.clear();
        bar->button(Action::Delete)->click();
        QCOMPARE(asked.last(), "错误信息 由于本员工信息无法删除！");
    }

    // The current group is the panel the person last clicked into, painted highlighted.
    void clickingAPanelMakesItCurrent()
    {
        ProgramFolder folder;
        addEmployee(folder.db(), "000101", "02");
        TestHost host;
        host.area.resize(1200, 800);
        host.area.show();
        QApplication::setActiveWindow(&host.area);
        QVERIFY(QTest::qWaitForWindowActive(&host.area));
        auto *screen = new Tfrmgzdtbj(host);
        screen->show();
        QTRY_VERIFY(screen->panels()->grid(kDepartment)->hasFocus());
        QTest::mouseClick(screen->panels()->grid(kTitle)->viewport(), Qt::LeftButton);
        QCOMPARE(screen->panels()->currentGroup(), kTitle);
        QVERIFY(screen->panels()->panel(kTitle)->styleSheet().contains("background"));
        QVERIFY(!screen->panels()->panel(kDepartment)->styleSheet().contains("background"));
        screen->bar()->button(Action::Add)->click();
        QVERIFY(screen->strip(kTitle)->isVisible());
        QVERIFY(screen->control(kTitle, "变动时间")->hasFocus());
        screen->bar()->button(Action::Ignore)->click();
        QVERIFY(screen->panels()->grid(kTitle)->hasFocus());
    }

    void refusedSaveStaysPending_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("department");
        QTest::addColumn<QString>("reason");  // the refusal names the field
        const QString wrongDate = "变动时间不是正确的日期（年-月-日）";
        QTest::newRow("not a date") << "2005-02-30" << "03" << wrongDate;
        QTest::newRow("another date form") << "2005/02/01" << "03" << wrongDate;
        QTest::newRow("no date") << "" << "03" << wrongDate;
        QTest::newRow("no department") << "2005-02-01" << "" << "请从列表中选择单位名称";
    }
    void refusedSaveStaysPending()
    {
        QFETCH(QString, date);
        QFETCH(QString, department);
        QFETCH(QString, reason);
        ProgramFolder folder;
        addEmployee(folder.db(), "000101", "02");
        TestHost host;
        auto *screen = new Tfrmgzdtbj(host);
        answer = prompt::Ok;
        screen->bar()->button(Action::Add)->click();
        typeInto(screen->control(kDepartment, "变动时间"), date);
        chooseCode(screen->control(kDepartment, "单位编码"), department);
        screen->bar()->button(Action::Save)->click();
        QCOMPARE(asked, QStringList{"错误信息 由于本动态信息无法变动！\n" + reason});
        QCOMPARE(screen->bar()->mode(), edit::Mode::Adding);
        QCOMPARE(rows(folder.db(), "dwdtb"), "2003-06-01 02");

        // Corrected, the same pending row is saved.
        typeInto(screen->control(kDepartment, "变动时间"), "2005-02-01");
        chooseCode(screen->control(kDepartment, "单位编码"), "03");
        screen->bar()->button(Action::Save)->click();
        QCOMPARE(rows(folder.db(), "dwdtb"), "2003-06-01 02, 2005-02-01 03");
        QCOMPARE(screen->search()->currentCode(), "000101");
    }

    void titleListFollowsTheCategory()
    {
        ProgramFolder folder;
        addEmployee(folder.db(), "000101", "02");
        TestHost host;
        auto *screen = new Tfrmgzdtbj(host);
        screen->panels()->setCurrentGroup(kTitle);
        screen->bar()->button(Action::Add)->click();
        auto *titles = qobject_cast<QComboBox *>(screen->control(kTitle, "职称编码"));
        QCOMPARE(titles->count(), 0);
        chooseCode(screen->control(kTitle, "类别编码"), "02");  // 会计
        QStringList offered;
        for (int i = 0; i < titles->count(); ++i)
            offered << titles->itemText(i);
        QCOMPARE(offered, (QStringList{"高级会计师", "会计师", "助理会计师", "会计员"}));

        // A title of another category is refused even when typed in by other means.
        typeInto(screen->control(kTitle, "变动时间"), "2006-01-01");
        titles->addItem("工程师", "03");
        titles->setCurrentIndex(titles->count() - 1);
        answer = prompt::Ok;
        screen->bar()->button(Action::Save)->click();
        QCOMPARE(asked, QStringList{"错误信息 由于本动态信息无法变动！\n请从列表中选择职称名称"});
        chooseCode(screen->control(kTitle, "职称编码"), "07");
        screen->bar()->button(Action::Save)->click();
        QCOMPARE(rows(folder.db(), "zcdtb"), "2003-06-01 03, 2006-01-01 07");
    }

private:
    QStringList asked;
    int answer = prompt::Ok;
    const prompt::ScopedAnswerer answering{[this](const prompt::Call &call) {
        asked << call.title + ' ' + call.message;
        return answer;
    }};
};

QTEST_MAIN(TestWorkDynamicsEditor)
#include "test_work_dynamics_editor.moc"
