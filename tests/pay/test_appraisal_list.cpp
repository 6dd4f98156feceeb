// The grade salary change and appraisal table: which rows are an employee's latest, who is
// left out, the condition, and the list with its detail screen as a user works them.

#include "app/main_window.h"
#include "app/screen_registry.h"
#include "app/striped_grid.h"
#include "db/scoped_hook.h"
#include "export/xlsx_export.h"
#include "pay/appraisal_list.h"
#include "pay/appraisal_list_screen.h"
#include "pay/grade_salary_detail.h"
#include "pay/pay_screens.h"
#include "query/condition_list.h"
#include "reports/print_preview.h"
#include "staff/employee_fixture.h"
#include "support/document_texts.h"

#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTest>

namespace {

// 000101 (02): a later grade change, then a back-dated correction entered last; appraised for
// 2005, then for 2004 entered later. 000102 (03): the entry row and one appraisal. 000103 has
// no appraisal and 000104 no grade salary row: neither is listed.
void fillRegister(const QSqlDatabase &db)
{
    for (const auto &[code, department] : {std::pair{"000101", "02"}, {"000102", "03"}, {"000103", "02"}, {"000104", "02"}})
        addEmployee(db, code, department);
    sql::exec(db, "update zghmc set 职工姓名='李四' where 职工编码='000102'");
    sql::exec(db, "insert into zwdjdtb (职工编码,变动时间,等级编码,等级工资,变动理由) values "
                  "('000101','2006-01-01','04',40000000,'晋级'), ('000101','2005-01-01',null,35000000,'更正')");
    sql::exec(db, "delete from zwdjdtb where 职工编码='000104'");
    sql::exec(db, "insert into ndkhb (年度,职工编码,考核成绩) values (2005,'000101','优秀'), (2004,'000101','不及格'), "
                  "(2004,'000102','及格'), (2004,'000104','及格')");
}

QString gradeName(const QSqlDatabase &db, const QString &code)
{
    return queryValue(db, "select 等级名称 from zwdjdmb where 等级编码='" + code + "'").toString();
}

}  // namespace

class TestAppraisalList : public QObject {
    Q_OBJECT
private slots:
    void theListShowsEachEmployeesLatestRows()
    {
        ProgramFolder folder;
        fillRegister(folder.db());
        const pay::Grid grid = pay::appraisalListGrid(folder.db(), {});
        QCOMPARE(grid.titles, (QStringList{"职工编码", "职工姓名", "等级工资变动时间", "等级工资", "变动理由", "考核年度", "考核成绩"}));
        // The greatest 自动编号 wins, not the latest date or year.
        QCOMPARE(rowsAsText(grid.rows, "|"), (QStringList{"000101|王五|2005-01-01|3500.00|更正|2004|不及格",
                                                           "000102|李四|2003-06-01|3120.50||2004|及格"}));

        QCOMPARE(rowsAsText(pay::appraisalListGrid(folder.db(), query::build({.department = "03"})).rows, "|"),
                 QStringList{"000102|李四|2003-06-01|3120.50||2004|及格"});
        QCOMPARE(pay::appraisalListGrid(folder.db(), query::build({.name = "王", .nameMatch = query::NameMatch::Prefix})).rows.size(), 1);
        QVERIFY(pay::appraisalListGrid(folder.db(), query::build({.name = "nobody"})).rows.isEmpty());
    }

    void theDetailShowsTheWholeHistoryAndEveryResult()
    {
        ProgramFolder folder;
        fillRegister(folder.db());
        const pay::Grid history = pay::gradeSalaryHistoryGrid(folder.db(), "000101");
        QCOMPARE(history.titles, (QStringList{"变动时间", "等级（职务）档次", "等级工资", "变动理由"}));
        // By change date; a row without a grade has no grade name.
        QCOMPARE(rowsAsText(history.rows, "|"),
                 (QStringList{"2003-06-01|" + gradeName(folder.db(), "03") + "|3120.50|", "2005-01-01||3500.00|更正",
                              "2006-01-01|" + gradeName(folder.db(), "04") + "|4000.00|晋级"}));
        const pay::Grid results = pay::appraisalResultsGrid(folder.db(), "000101");
        QCOMPARE(results.titles, (QStringList{"年度", "优秀", "及格", "不及格"}));
        QCOMPARE(rowsAsText(results.rows, "|"), (QStringList{"2004|||√", "2005|√||"}));
        QVERIFY(pay::appraisalResultsGrid(folder.db(), "000103").rows.isEmpty());
    }

    void theListOpensItsDetailScreenWhichFollowsTheSelection()
    {
        ProgramFolder folder;
        fillRegister(folder.db());
        ScreenRegistry registry;
        registerPayScreens(registry);
        TfrmMain window(registry);
        window.show();
        auto *screen = qobject_cast<Tfrmndkhcx *>(window.openScreen("Tfrmndkhcx"));
        QVERIFY(screen);
        WindowedRows *model = screen->list()->model();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), "等级工资变动时间");
        QVERIFY(model->headerData(3, Qt::Horizontal, xlsx::kMoneyColumnRole).toBool());

        QList<report::Document> printed;
        const ScopedHook<report::PreviewObserver, &report::setPreviewObserver> previewing(
            [&](const report::Document &d) { printed << d; });
        screen->button("打印")->click();

        screen->button("详细信息")->click();
        TFrmzwdjxxxx *detail = screen->detailScreen();
        QVERIFY(detail);
        QCOMPARE(detail->shownCode(), "000101");
        QCOMPARE(detail->gradeSalaries()->rowCount(), 3);
        screen->list()->selectRow(1);
        QCOMPARE(detail->shownCode(), "000102");
        QCOMPARE(detail->results()->rows(), (QList<QVariantList>{{2004, "", "√", ""}}));
        detail->findChild<QPushButton *>()->click();  // "打印一览表"

        QCOMPARE(printed.size(), 2);
        QCOMPARE(printed[0].name, "Tfrmndkhcx");
        QCOMPARE(printed[1].name, "TFrmzwdjxxxx");
        QVERIFY(documentTexts(printed[0]).contains("3500.00"));
        QVERIFY(documentTexts(printed[1]).contains("职工编码：000102    职工姓名：李四"));
        QVERIFY(documentTexts(printed[1]).contains("√"));

        // A condition matching nobody: an empty list, and the detail screen shows empty grids.
        screen->list()->showList(query::build({.name = "nobody"}));
        QCOMPARE(model->rowCount(), 0);
        QCOMPARE(detail->gradeSalaries()->rowCount(), 0);
        QCOMPARE(detail->results()->rowCount(), 0);

        // Closing the list takes the detail screen with it and gives the main window back.
        const QPointer<TFrmzwdjxxxx> watched = detail;
        screen->close();
        QTRY_VERIFY(!watched);
        QVERIFY(window.menuBar()->actions().first()->isEnabled());
    }
};

QTEST_MAIN(TestAppraisalList)
#include "test_appraisal_list.moc"
