// The grade salary editor as a user works it: the grade's standard salary and a typed amount,
// exact money, a refused save keeping the box open, modify and delete.

#include "app/field_controls.h"
#include "app/prompt.h"
#include "pay/grade_salary_editor.h"
#include "records/employee_search_panel.h"
#include "staff/employee_fixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTest>

using edit::Action;

namespace {

QString changes(const QSqlDatabase &db)
{
    return listed(db, "select 变动时间 || ' ' || 等级编码 || ' ' || 等级工资 || ' ' || coalesce(变动理由, '') "
                      "from zwdjdtb where 职工编码='000101' order by 自动编号", ", ");
}

}  // namespace

class TestGradeSalaryEditor : public QObject {
    Q_OBJECT
private slots:
    void init() { asked.clear(); }

    void addModifyAndDelete()
    {
        ProgramFolder folder;
        addEmployee(folder.db(), "000101", "02");  // grade 03 at 3120.5 from 2003-06-01
        TestHost host;
        auto *screen = new Tfrmzwdjbj(host);
        edit::ModeBar *bar = screen->bar();
        QCOMPARE(screen->rowModel()->rowCount(), 1);
        QVERIFY(!screen->editBox()->isVisibleTo(screen));
        QList<int> places;
        for (Action a : {Action::Add, Action::Modify, Action::Delete})
            places << bar->layout()->indexOf(bar->button(a));
        QVERIFY2(places[0] < places[1] && places[1] < places[2], "the toolbar reads 添加, 修改, 删除");

        // The grade fills its standard salary; a typed amount then wins, exactly.
        bar->button(Action::Add)->click();
        QVERIFY(screen->editBox()->isVisibleTo(screen));
        QVERIFY(!screen->search()->isEnabled() && !screen->rows()->isEnabled());
        typeInto(screen->control("变动时间"), "2005-7-1");
        chooseCode(screen->control("等级编码"), "02");
        QCOMPARE(edit::valueOf(screen->control("等级工资")), "3360.00");
        typeInto(screen->control("等级工资"), "3400.0001");
        qobject_cast<QLineEdit *>(screen->control("变动理由"))->setText("晋级");
        bar->button(Action::Save)->click();
        QVERIFY(asked.isEmpty());
        QVERIFY(!screen->editBox()->isVisibleTo(screen));
        QCOMPARE(changes(folder.db()), "2003-06-01 03 31205000 , 2005-07-01 02 34000001 晋级");
        QCOMPARE(screen->rowModel()->rowCount(), 2);
        QCOMPARE(screen->rows()->currentIndex().row(), 1);

        // Modifying: the stored amount is shown, not the grade's standard; choosing another
        // grade replaces the typed amount with that grade's standard.
        bar->button(Action::Modify)->click();
        QCOMPARE(edit::valueOf(screen->control("等级工资")), "3400.0001");
        typeInto(screen->control("等级工资"), "1");
        chooseCode(screen->control("等级编码"), "01");
        QCOMPARE(edit::valueOf(screen->control("等级工资")), "3600.00");
        bar->button(Action::Save)->click();
        QCOMPARE(changes(folder.db()), "2003-06-01 03 31205000 , 2005-07-01 01 36000000 晋级");

        // Deleting asks first; "忽略" keeps the row.
        answer = prompt::Ignore;
        bar->button(Action::Delete)->click();
        QCOMPARE(asked, QStringList{"删除提示 确定要删除这条动态信息吗？"});
        QCOMPARE(screen->rowModel()->rowCount(), 2);
        answer = prompt::Ok;
        bar->button(Action::Delete)->click();
        QCOMPARE(changes(folder.db()), "2003-06-01 03 31205000 ");
        screen->close();
    }

    void aRefusedSaveKeepsTheBoxOpen_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("salary");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not a calendar date") << "2005-02-30" << "100" << "变动日期不是正确的日期（年-月-日）";
        QTest::newRow("free text date") << "去年" << "100" << "变动日期不是正确的日期（年-月-日）";
        QTest::newRow("five decimals") << "2005-02-01" << "100.00001" << "等级工资不是正确的金额（最多四位小数）";
    }

    void aRefusedSaveKeepsTheBoxOpen()
    {
        QFETCH(QString, date);
        QFETCH(QString, salary);
        QFETCH(QString, reason);
        ProgramFolder folder;
        addEmployee(folder.db(), "000101", "02");
        TestHost host;
        auto *screen = new Tfrmzwdjbj(host);
        const QString before = changes(folder.db());
        screen->bar()->button(Action::Add)->click();
        chooseCode(screen->control("等级编码"), "02");
        auto *salaryBox = qobject_cast<QLineEdit *>(screen->control("等级工资"));
        salaryBox->setText(salary);  // past the typing pattern, as a paste could
        auto *dateBox = qobject_cast<QLineEdit *>(screen->control("变动时间"));
        dateBox->setText(date);
        screen->bar()->button(Action::Save)->click();
        QCOMPARE(asked, QStringList{"错误信息 这条动态信息无法保存！\n" + reason});
        QVERIFY(screen->editBox()->isVisibleTo(screen));
        QCOMPARE(dateBox->text(), date);
        QCOMPARE(salaryBox->text(), salary);
        QCOMPARE(changes(folder.db()), before);
        screen->bar()->button(Action::Ignore)->click();
        QVERIFY(!screen->editBox()->isVisibleTo(screen));
        QCOMPARE(changes(folder.db()), before);
        screen->close();
    }

private:
    QStringList asked;
    int answer = prompt::Ok;
    const prompt::ScopedAnswerer answering{[this](const prompt::Call &call) {
        asked << call.title + ' ' + call.message;
        return answer;
    }};
};

QTEST_MAIN(TestGradeSalaryEditor)
#include "test_grade_salary_editor.moc"
