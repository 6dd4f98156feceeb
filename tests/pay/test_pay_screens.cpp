// The pay screens: what they add over the pay logic (the month they open on, the enabled
// buttons, typed amounts refused or stored on leaving the row, generating, the printed lists
// and the statistics' printout).

#include "app/column_totals.h"
#include "app/prompt.h"
#include "db/money.h"
#include "db/clock.h"
#include "db/sql.h"
#include "pay/employee_pay_screen.h"
#include "pay/pay_comparison_screen.h"
#include "pay/pay_entry_screen.h"
#include "pay/pay_grids.h"
#include "pay/pay_sheet_model.h"
#include "pay/pay_statistics_screen.h"
#include "app/striped_grid.h"
#include "reports/print_preview.h"
#include "reports/render.h"
#include "records/employee_search_panel.h"
#include "staff/employee_fixture.h"
#include "support/document_texts.h"

#include <QDateEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

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

        // More than ten whole digits would let a year's sums overflow: refused at entry.
        asked.clear();
        QVERIFY(!wages->setData(wages->index(1, column("基本工资")), "12345678901", Qt::EditRole));
        QCOMPARE(asked, QStringList{"错误提示|基本工资金额不能超过10位整数，请重新输入！"});
        // A stored row's totals fit their columns at once.
        screen->show();
        asked.clear();
        for (const auto &[name, value] : {std::pair{"基本工资", "9999999999.9999"}, {"岗位工资", "1"}, {"工龄", "1"},
                                          {"边远津贴", "1"}, {"扣除税金", "0"}})
            QVERIFY(wages->setData(wages->index(1, column(name)), value, Qt::EditRole));
        grid->setCurrentIndex(wages->index(0, 0));
        QVERIFY(asked.isEmpty());
        const QString gross = wages->index(1, column("应发工资")).data().toString();
        QCOMPARE(gross, "10000000002.9999");
        // The grid shows amounts with two decimals: that text must fit.
        const QString shown = money::formatShown(*money::parseYuan(gross));
        QVERIFY(grid->columnWidth(column("应发工资")) > grid->fontMetrics().horizontalAdvance(shown));
        // A row another program deleted meanwhile is not reported as saved.
        sql::exec(db, "delete from gzb where 职工编码='000002'");
        QVERIFY(wages->setData(wages->index(1, column("扣除税金")), "7", Qt::EditRole));
        grid->setCurrentIndex(wages->index(1, 0));
        grid->setCurrentIndex(wages->index(0, 0));
        QCOMPARE(asked, QStringList{"错误信息|这一行没有保存。\n" + sql::kStaleMessage});
        QCOMPARE(wages->index(1, column("扣除税金")).data().toString(), "0.00");  // as stored before

        report::Document printed;
        const ScopedHook<report::PreviewObserver, &report::setPreviewObserver> previewing(
            [&](const report::Document &d) { printed = d; });
        screen->printList(0);
        QCOMPARE(printed.name, "Trepgzb");
        const QStringList texts = documentTexts(printed);
        for (const char *t : {"澄禾汀岚公司工资发放表", "2024年03月20日", "项目", "签名", "经理：", "复核：", "制表：", "1500.00"})
            QVERIFY2(texts.contains(t), t);
        QCOMPARE(texts.count("签名"), 2);  // over both columns of rows
        // Two-line headings break where their blanks are.
        for (const char *line : {"扣", "税金", "边远", "津贴"})
            QVERIFY2(texts.contains(line), line);
        QVERIFY(!texts.contains("扣 税金"));
        screen->close();
    }

    // The wage list of a department's month says the month and the department, numbers its
    // pages "第 N 页 共 M 页", and adds each page's rows at its foot and all rows after the last,
    // exactly; the sheet shows the same sums in its "合计" row; the PDF reads them back.
    void payListSaysWhatItHoldsAndAddsUp()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        for (int i = 1; i <= 90; ++i)
            addEmployee(db, QString::number(i).rightJustified(6, '0'), "01", "2020-01-01");
        sql::exec(db, "update zghmc set 职工姓名='职工'||职工编码");
        TestHost host;
        auto *screen = new Tfrmgzlr(host);
        screen->copydata(false);
        const QString n = "cast(职工编码 as integer)";
        sql::exec(db, QString("update gzb set 基本工资=%1*12345, 岗位工资=%1*100001, 工龄=%1, 边远津贴=5000,"
                              " 扣除税金=%1*3, 应发工资=%1*12345+%1*100001+%1*10000+5000,"
                              " 实发工资=%1*12345+%1*100001+%1*10000+5000-%1*3").arg(n));
        screen->Datechange();
        PaySheetModel *wages = screen->sheetModel(0);
        QCOMPARE(wages->rowCount(), 90);

        report::Document printed;
        const ScopedHook<report::PreviewObserver, &report::setPreviewObserver> previewing(
            [&](const report::Document &d) { printed = d; });
        screen->printList(0);
        const QString department = codeName(db, "dwdmb", "01");
        const QStringList texts = documentTexts(printed);
        QVERIFY(texts.contains("部门：" + department));
        QVERIFY(texts.contains("2024年03月"));
        const int pages = int(printed.pages.size());
        QVERIFY(pages > 1);
        QVERIFY(texts.contains(QStringLiteral("第 1 页 共 %1 页").arg(pages)));

        // The sum of 基本工资 over the rows named on a page, and the page's printed sums.
        const auto basicOf = [](const QString &name) { return name.mid(2).toLongLong() * 12345; };
        const auto sumsOnRowOf = [](const report::Page &page, const QString &caption) {
            QList<std::pair<double, QString>> cells;
            // Right of the caption on its line (a first column of rows may share the line).
            double top = -1, left = 0;
            for (const report::Text &t : page.texts)
                if (t.text == caption) {
                    top = t.box.top();
                    left = t.box.left();
                }
            for (const report::Text &t : page.texts)
                if (top >= 0 && qAbs(t.box.top() - top) < 0.01 && t.box.left() > left)
                    cells << std::pair{t.box.left(), t.text};
            std::sort(cells.begin(), cells.end());
            QStringList ordered;
            for (const auto &c : cells)
                ordered << c.second;
            return ordered;
        };
        qint64 all = 0;
        for (const report::Page &page : printed.pages) {
            qint64 onPage = 0;
            for (const report::Text &t : page.texts)
                if (t.text.startsWith("职工"))
                    onPage += basicOf(t.text);
            all += onPage;
            QCOMPARE(sumsOnRowOf(page, "本页合计").value(0), money::formatShown(onPage));
        }
        const QStringList end = sumsOnRowOf(printed.pages.back(), "合计");
        QCOMPARE(end.value(0), money::formatShown(all));
        QCOMPARE(end.value(2), QString::number(90 * 91 / 2));  // 工龄 in whole yuan
        // The sheet's "合计" row holds the same sums.
        const auto totals = column_totals::totals(*wages);
        QCOMPARE(totals[2].value, all);

        const QString file = folder.file("工资发放表.pdf");
        QString error;
        QVERIFY2(report::writePdf(printed, file, &error), qPrintable(error));
        const QString pdf = pdfText(file).remove(' ');  // pdftotext spaces the words as it sees fit
        for (const QString &t : {QStringLiteral("2024年03月"), "部门：" + department, QStringLiteral("第2页共%1页").arg(pages),
                                 QStringLiteral("本页合计"), money::formatShown(all)})
            QVERIFY2(pdf.contains(t), qPrintable(t));
        screen->close();
    }

    // Carrying last month forward says when there is nothing to carry, and makes a blank
    // sheet only when told to.
    void carryingForwardSaysWhenLastMonthHasNoSheet()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        addEmployee(db, "000001", "01", "2020-01-01");
        TestHost host;
        auto *screen = new Tfrmgzlr(host);
        QStringList asked;
        int answer = prompt::Ignore;
        const prompt::ScopedAnswerer answering([&](const prompt::Call &c) { asked << c.title + '|' + c.message; return answer; });
        screen->copydata(true);
        QCOMPARE(asked, QStringList{"生成提示|2024年2月没有工资表可复制，是否为本月生成空白工资表？"});
        QCOMPARE(queryValue(db, "select count(*) from gzb").toInt(), 0);
        answer = prompt::Ok;
        screen->copydata(true);
        QCOMPARE(queryValue(db, "select count(*) from gzb where 年月='2024-03-01'").toInt(), 1);

        // With last month's sheet there is nothing to ask.
        asked.clear();
        screen->monthBox()->setValue(4);
        screen->copydata(true);
        QVERIFY(asked.isEmpty());
        QCOMPARE(queryValue(db, "select count(*) from gzb where 年月='2024-04-01'").toInt(), 1);
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
        QVERIFY(documentTexts(printed).contains("公司月工资统计（奖金表）"));
        QVERIFY(documentTexts(printed).contains("870.00"));
        monthly->monthBox()->setValue(4);
        QCOMPARE(monthly->sheetRows(2)->rows().size(), 0);
        monthly->close();
        auto *yearly = new PayStatisticsScreen(host, PayStatisticsScreen::Period::Year);
        QCOMPARE(yearly->sheetRows(2)->rows().size(), 1);
        yearly->close();
    }

    void comparisonTablesOpenOnThisYearAndPrint()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        addEmployee(db, "000001", "01", "2010-01-01");
        sql::exec(db, "insert into gzb(职工编码,年月,基本工资,岗位工资,工龄,边远津贴,扣除税金) values"
                      "('000001','2024-03-01',15000000,0,0,0,0),('000001','2015-07-01',10000,0,0,0,0)");
        TestHost host;
        auto *monthly = new PayComparisonScreen(host, pay::ComparisonSpan::Months);
        QCOMPARE(monthly->yearBox()->value(), 2024);
        QCOMPARE(monthly->yearBox()->maximum(), 2025);
        QCOMPARE(monthly->rows()->rows().first().mid(0, 4), (QVariantList{"经理办公室", {}, {}, "1500.00"}));
        report::Document printed;
        const ScopedHook<report::PreviewObserver, &report::setPreviewObserver> previewing(
            [&](const report::Document &d) { printed = d; });
        monthly->print();
        for (const char *t : {"公司月工资统计对照表", "三月工资", "1500.00"})
            QVERIFY2(documentTexts(printed).contains(t), t);
        monthly->close();

        auto *yearly = new PayComparisonScreen(host, pay::ComparisonSpan::Years);
        QCOMPARE(yearly->rows()->headerData(10, Qt::Horizontal, Qt::DisplayRole).toString(), "2015年");
        QCOMPARE(yearly->rows()->rows().first().value(10), "1.00");
        yearly->yearBox()->setValue(2025);
        QCOMPARE(yearly->rows()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "2025年");
        QCOMPARE(yearly->rows()->rows().first().value(2), "1500.00");
        QVERIFY(yearly->rows()->rows().first().value(10).isNull());  // 2016 and later only
        yearly->close();
    }

    // Rows are dated the first of their month, so a range counts the months whose first day
    // lies in it.
    void employeeQueryRanges()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        addEmployee(db, "000001", "01", "2020-01-01");
        addEmployee(db, "000002", "01", "2020-01-01");
        for (const char *month : {"2024-01-01", "2024-02-01", "2024-03-01"})
            for (const char *table : {"gzb", "btb", "jjb"})
                sql::exec(db, QString("insert into %1(职工编码,年月) values('000001','%2')").arg(table, month));
        sql::exec(db, "update gzb set 基本工资=14880000, 岗位工资=0, 工龄=12, 边远津贴=0, 扣除税金=0 where 年月='2024-02-01'");
        const auto months = [&](const char *from, const char *to) {
            const std::vector<pay::Grid> grids = pay::employeeGrids(db, "000001", QDate::fromString(from, Qt::ISODate), QDate::fromString(to, Qt::ISODate));
            QStringList shown;
            for (const pay::Grid &g : grids) {
                QStringList own;
                for (const QVariantList &row : g.rows)
                    own << row.first().toString();
                shown << own.join(' ');
            }
            return shown;
        };
        const auto each = [](const QString &months) { return QStringList{months, months, months}; };
        QCOMPARE(months("2024-01-15", "2024-03-31"), each("2024-02 2024-03"));
        QCOMPARE(months("2024-01-01", "2024-02-01"), each("2024-01 2024-02"));
        QCOMPARE(months("2024-03-02", "2024-12-31"), each(""));
        QCOMPARE(months("2024-03-01", "2024-01-01"), each(""));

        TestHost host;
        auto *screen = new Tfrmzggzcx(host);
        QCOMPARE(screen->fromBox()->date(), QDate(2024, 1, 1));
        QCOMPARE(screen->toBox()->date(), QDate(2024, 3, 20));
        QCOMPARE(screen->search()->currentCode(), "000001");
        QCOMPARE(screen->sheetRows(0)->rows().size(), 3);
        QCOMPARE(screen->sheetRows(0)->rows().at(1), (QVariantList{"2024-02", "1488.00", "0.00", 12, "0.00", "1500.00", "0.00", "1500.00"}));
        screen->fromBox()->setDate(QDate(2024, 1, 2));
        QCOMPARE(screen->sheetRows(2)->rows().size(), 2);
        screen->search()->list()->selectRow(1);
        QCOMPARE(screen->search()->currentCode(), "000002");
        QCOMPARE(screen->sheetRows(1)->rows().size(), 0);
        screen->search()->list()->selectRow(0);
        QCOMPARE(screen->sheetRows(1)->rows().size(), 2);
        report::Document printed;
        const ScopedHook<report::PreviewObserver, &report::setPreviewObserver> previewing(
            [&](const report::Document &d) { printed = d; });
        screen->print();
        QVERIFY(documentTexts(printed).contains("职工工资查询（工资表）"));
        QVERIFY(documentTexts(printed).contains("1500.00"));
        screen->close();
    }
};

QTEST_MAIN(TestPayScreens)
#include "test_pay_screens.moc"
