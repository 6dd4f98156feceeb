// The pay screens: what they add over the pay logic (the month they open on, the enabled
// buttons, typed amounts refused or stored on leaving the row, generating, the printed lists
// and the statistics' printout).

#include "app/prompt.h"
#include "db/clock.h"
#include "db/sql.h"
#include "pay/pay_entry_screen.h"
#include "pay/pay_sheet_model.h"
#include "pay/pay_statistics_screen.h"
#include "app/striped_grid.h"
#include "reports/print_preview.h"
#include "staff/employee_fixture.h"

#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace {

QStringList textsOf(const report::Document &d)
{
    QStringList texts;
    for (const report::Page &p : d.pages)
        for (const report::Text &t : p.texts)
            texts << t.text;
    return texts;
}

}  // namespace

class TestPayScreens : public QObject {
    Q_OBJECT

private slots:
    void init() { clock_source::setToday(QDate(2024, 3, 20)); }
    void cleanup()
    {
        clock_source::setToday({});
    }

    void entryScreenGeneratesTypesAndPrints()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        addEmployee(db, "000001", "01", "2020-01-01");
        addEmployee(db, "000002", "01", "2020-01-01");
        TestHost host;
        auto *screen = new Tfrmgzlr(host);
        QCOMPARE(screen->yearBox()->value(), 2024);
        QCOMPARE(screen->monthBox()->value(), 3);
        QCOMPARE(screen->yearBox()->maximum(), 2025);
        QCOMPARE(screen->yearBox()->minimum(), 1980);
        QVERIFY(!screen->button("打印工资表")->isEnabled());
        QVERIFY(screen->button("生成工资表")->isEnabled());

        screen->copydata(false);
        QVERIFY(screen->button("打印工资表")->isEnabled());
        QVERIFY(!screen->button("生成工资表")->isEnabled());
        PaySheetModel *wages = screen->sheetModel(0);
        QCOMPARE(wages->rowCount(), 2);

        QStringList asked;
        const prompt::ScopedAnswerer answering([&](const prompt::Call &c) { asked << c.title + '|' + c.message; return 1; });
        QTableView *grid = screen->sheetGrid(0);
        const auto column = [&](const QString &name) {
            for (int c = 0; c < wages->columnCount(); ++c)
                if (wages->columnName(c) == name)
                    return c;
            return -1;
        };
        QVERIFY(!wages->setData(wages->index(0, column("基本工资")), "12.34567", Qt::EditRole));
        QCOMPARE(asked, QStringList{"错误提示|基本工资金额格式错误，请重新输入！"});
        QVERIFY(!wages->setData(wages->index(0, column("工龄")), "1.5", Qt::EditRole));
        QVERIFY(!(wages->flags(wages->index(0, column("应发工资"))) & Qt::ItemIsEditable));
        grid->setCurrentIndex(wages->index(0, column("基本工资")));
        for (const auto &[name, value] : {std::pair{"基本工资", "1000"}, {"岗位工资", "500"}, {"工龄", "30"}, {"边远津贴", "20"}, {"扣除税金", "50"}})
            QVERIFY(wages->setData(wages->index(0, column(name)), value, Qt::EditRole));
        QCOMPARE(wages->index(0, column("实发工资")).data().toString(), "1500.00");
        QVERIFY(queryValue(db, "select 实发工资 from gzb where 职工编码='000001'").isNull());  // not yet: still on the row
        grid->setCurrentIndex(wages->index(1, 0));
        QCOMPARE(queryValue(db, "select 实发工资 from gzb where 职工编码='000001'").toLongLong(), 15000000LL);

        report::Document printed;
        const ScopedHook<report::PreviewObserver, &report::setPreviewObserver> previewing(
            [&](const report::Document &d) { printed = d; });
        screen->printList(0);
        QCOMPARE(printed.name, "Trepgzb");
        const QStringList texts = textsOf(printed);
        for (const char *t : {"澄禾汀岚公司工资发放表", "2024年03月20日", "项目", "签名", "经理：", "复核：", "制表：", "1500.00"})
            QVERIFY2(texts.contains(t), t);
        QCOMPARE(texts.count("签名"), 2);  // over both columns of rows
        screen->close();
    }

    void statisticsPrintTheFrontTab()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        addEmployee(db, "000001", "01", "2020-01-01");
        sql::exec(db, "insert into jjb(职工编码,年月,单位系数工资,岗位系数,应发工资,扣发,税金,实发) values('000001','2024-03-01',8000000,2000000,10000000,1000000,300000,8700000)");
        TestHost host;
        auto *monthly = new PayStatisticsScreen(host, PayStatisticsScreen::Period::Month);
        QCOMPARE(monthly->sheetRows(2)->rows().size(), 1);
        QCOMPARE(monthly->sheetRows(2)->rows().first().last().toString(), "870.00");
        monthly->tabs()->setCurrentIndex(2);
        report::Document printed;
        const ScopedHook<report::PreviewObserver, &report::setPreviewObserver> previewing(
            [&](const report::Document &d) { printed = d; });
        monthly->print();
        QVERIFY(textsOf(printed).contains("公司月工资统计（奖金表）"));
        QVERIFY(textsOf(printed).contains("870.00"));
        monthly->monthBox()->setValue(4);
        QCOMPARE(monthly->sheetRows(2)->rows().size(), 0);
        monthly->close();
        auto *yearly = new PayStatisticsScreen(host, PayStatisticsScreen::Period::Year);
        QCOMPARE(yearly->sheetRows(2)->rows().size(), 1);
        yearly->close();
    }
};

QTEST_MAIN(TestPayScreens)
#include "test_pay_screens.moc"
