// The comprehensive salary query: who is listed (all three sheets for the month and a current
// row in each of the five histories), conditions bound and replacing each other, the months
// the date boxes choose, and what the screen adds (the month boxes, a cancelled dialog, the
// totals of the range, the printout of every row, the condition named in the workbook).

#include "app/column_totals.h"
#include "app/grid_export.h"
#include "app/striped_grid.h"
#include "db/clock.h"
#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "pay/salary_query.h"
#include "pay/salary_query_screen.h"
#include "query/condition_dialog.h"
#include "reports/print_preview.h"
#include "staff/employee_fixture.h"
#include "support/document_texts.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace pay;

namespace {

// One row of each named sheet for the month; the wage row as 1000 + 500 + 30 (whole yuan)
// + 20 less 50 tax.
void addPay(const QSqlDatabase &db, const QString &code, const QString &month,
            const QStringList &tables = {"gzb", "btb", "jjb"})
{
    for (const QString &t : tables) {
        if (t == "gzb")
            sql::exec(db, QString("insert into gzb(职工编码,年月,基本工资,岗位工资,工龄,边远津贴,应发工资,扣除税金,实发工资) "
                                  "values('%1','%2',10000000,5000000,30,200000,15500000,500000,15000000)").arg(code, month));
        else {
            // 123.45 in the first term, the others 0: the net is 123.45 by the sheet's rule.
            const Sheet &s = sheet(t);
            const QStringList others = s.entered.mid(1) + s.deductions;
            sql::exec(db, QString("insert into %1(职工编码,年月,%2,%3) values('%4','%5',1234500,%6)")
                              .arg(t, s.entered.first(), others.join(','), code, month, QStringList(others.size(), "0").join(',')));
        }
    }
}

// 000001 paid in January and March; 000002 without a bonus row in March; 000003 without any
// grade salary history; 000004 paid in February only; 000005 moved from 01 to 02.
void fillFixture(const QSqlDatabase &db)
{
    for (const char *code : {"000001", "000002", "000003", "000004", "000005"})
        addEmployee(db, code, "01");
    sql::exec(db, "insert into dwdtb(职工编码,变动时间,单位编码) values('000005','2023-07-01','02')");
    sql::exec(db, "delete from zwdjdtb where 职工编码='000003'");
    addPay(db, "000001", "2024-01-01");
    addPay(db, "000001", "2024-03-01");
    addPay(db, "000002", "2024-03-01", {"gzb", "btb"});
    addPay(db, "000003", "2024-03-01");
    addPay(db, "000004", "2024-02-01");
    addPay(db, "000005", "2024-03-01");
}

// "code month" of each listed row.
QStringList listed(const QAbstractItemModel &rows)
{
    QStringList out;
    for (int r = 0; r < rows.rowCount(); ++r)
        out << rows.index(r, 0).data().toString() + ' ' + rows.index(r, 2).data().toString();
    return out;
}

QStringList listed(const QSqlDatabase &db, const QDate &from, const QDate &to, const query::Condition &condition = {})
{
    QStringList out;
    const std::vector<Grid> grids = salaryQueryGrids(db, MonthRange(from, to), condition);
    for (const QVariantList &row : grids.front().rows)
        out << row.at(0).toString() + ' ' + row.at(2).toString();
    return out;
}

void clickButton(QWidget *dialog, const QString &caption)
{
    for (QPushButton *b : dialog->findChildren<QPushButton *>())
        if (b->text() == caption)
            b->click();
}

}  // namespace

class TestSalaryQuery : public QObject {
    Q_OBJECT

private slots:
    void init() { clock_source::setToday(QDate(2024, 3, 20)); }
    void cleanup() { clock_source::setToday({}); }

    // Listed only with all three sheets for the month and all five histories; a department
    // condition judges the current department; typed texts are bound, not spliced.
    void membershipAndConditions()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        fillFixture(db);
        const QDate march(2024, 3, 1);
        QCOMPARE(listed(db, march, march), (QStringList{"000001 2024-03", "000005 2024-03"}));
        QCOMPARE(listed(db, march, march, query::build({.department = "02"})), QStringList{"000005 2024-03"});
        QCOMPARE(listed(db, march, march, query::build({.department = "01"})), QStringList{"000001 2024-03"});
        QCOMPARE(listed(db, march, march, query::build({.name = "王'五"})), QStringList{});
        QCOMPARE(listed(db, march, march, query::build({.name = "王", .nameMatch = query::NameMatch::Prefix})).size(), 2);
        QCOMPARE(listed(db, march, march, query::build({.name = "%", .nameMatch = query::NameMatch::Prefix})), QStringList{});
        QCOMPARE(listed(db, march, march, query::build({.staff = query::StaffKind::Ordinary})), QStringList{});
    }

    // The months shown run from the month of the first date to the month of the second.
    void dateBoxesChooseMonths_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("both in one month") << QDate(2024, 3, 20) << QDate(2024, 3, 5)
                                           << QStringList{"000001 2024-03", "000005 2024-03"};
        QTest::newRow("whole months at both ends") << QDate(2024, 1, 31) << QDate(2024, 2, 1)
                                                   << QStringList{"000001 2024-01", "000004 2024-02"};
        QTest::newRow("a year, by employee then month") << QDate(2024, 1, 1) << QDate(2024, 12, 31)
                                                        << QStringList{"000001 2024-01", "000001 2024-03", "000004 2024-02", "000005 2024-03"};
        QTest::newRow("before any pay") << QDate(2023, 12, 1) << QDate(2023, 12, 31) << QStringList{};
        QTest::newRow("reversed months") << QDate(2024, 3, 1) << QDate(2024, 1, 1) << QStringList{};
    }
    void dateBoxesChooseMonths()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QStringList, rows);
        ProgramFolder folder;
        fillFixture(folder.db());
        QCOMPARE(listed(folder.db(), from, to), rows);
    }

    // Each sheet's own columns, amounts as yuan text, whole yuan as they are.
    void gridsShowEachSheetsColumns()
    {
        ProgramFolder folder;
        fillFixture(folder.db());
        const std::vector<Grid> grids = salaryQueryGrids(folder.db(), MonthRange({2024, 1, 1}, {2024, 1, 1}), {});
        QCOMPARE(grids.size(), size_t(3));
        QCOMPARE(grids[0].caption, "工资表");
        QCOMPARE(grids[0].titles, (QStringList{"职工编码", "职工姓名", "年月", "基本工资", "岗位工资", "工龄", "边远津贴", "应发工资", "扣除税金", "实发工资"}));
        QCOMPARE(grids[0].rows, (QList<QVariantList>{{"000001", "王五", "2024-01", "1000.00", "500.00", 30, "20.00", "1550.00", "50.00", "1500.00"}}));
        QCOMPARE(grids[1].titles.mid(3), (QStringList{"生活补贴", "食品补贴", "艰难补贴", "液化气补贴", "误餐补贴", "医药补贴", "应发工资", "扣发公积金", "扣发养老金", "实发工资"}));
        QCOMPARE(grids[1].rows.first().last(), "123.45");
        QCOMPARE(grids[2].titles.mid(3), (QStringList{"单位系数工资", "岗位系数", "应发工资", "扣发", "税金", "实发"}));
        QCOMPARE(grids[2].rows.first().last(), "123.45");
    }

    // On a generated organisation: exactly the employees a plain employee-by-employee check
    // finds, for the whole register and for one department.
    void matchesAPlainCheckOnGeneratedPay()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        demo::Options options;
        options.employees = 200;
        options.payMonths = 2;
        demo::generate(db, options);
        const QDate month(options.anchor.year(), options.anchor.month(), 1);
        const QString m = month.toString(Qt::ISODate);
        // Some employees lack a history or a sheet, so the check has something to leave out.
        sql::exec(db, "delete from zwdjdtb where 职工编码 in (select 职工编码 from zghmc order by 职工编码 limit 3)");
        sql::exec(db, "delete from jjb where 职工编码 in (select 职工编码 from zghmc order by 职工编码 desc limit 3)");
        const auto latest = [&](const QString &table, const QString &column, const QString &code) {
            return queryValue(db, QString("select %1 from %2 where 职工编码='%3' order by 自动编号 desc limit 1").arg(column, table, code));
        };
        QStringList all;                      // "code month", in register order
        QMap<QString, QStringList> expected;  // department → the same
        QSqlQuery employees = sql::prepare(db, "select 职工编码 from zghmc order by rowid");
        sql::exec(employees);
        while (employees.next()) {
            const QString code = employees.value(0).toString();
            bool listedHere = true;
            for (const char *t : {"gzb", "btb", "jjb"})
                listedHere = listedHere && queryValue(db, QString("select count(*) from %1 where 职工编码='%2' and 年月='%3'").arg(t, code, m)).toInt() == 1;
            for (const char *t : {"dwdtb", "zcdtb", "zwdtb", "gwjndtb", "zwdjdtb"})
                listedHere = listedHere && latest(t, "自动编号", code).isValid();
            listedHere = listedHere
                && queryValue(db, QString("select count(*) from zcdmb where 职称编码='%1'").arg(latest("zcdtb", "职称编码", code).toString())).toInt() == 1
                && queryValue(db, QString("select count(*) from zwdmb where 职务编码='%1'").arg(latest("zwdtb", "职务编码", code).toString())).toInt() == 1;
            if (listedHere) {
                all << code + ' ' + m.left(7);
                expected[latest("dwdtb", "单位编码", code).toString()] << all.last();
            }
        }
        QVERIFY(all.size() <= 200 - 6);
        QCOMPARE(listed(db, month, month), all);
        const QString department = expected.firstKey();
        QCOMPARE(listed(db, month, month, query::build({.department = department})), expected.value(department));
    }

    // The screen opens on this year up to today, the month boxes put both dates on one month,
    // a confirmed dialog replaces the condition and a cancelled one changes nothing.
    void screenMonthsAndConditions()
    {
        ProgramFolder folder;
        fillFixture(folder.db());
        TestHost host;
        auto *screen = new Tfrmzggzzhcx(host);
        QCOMPARE(screen->yearBox()->value(), 2024);
        QCOMPARE(screen->monthBox()->value(), 3);
        QCOMPARE(screen->yearBox()->maximum(), 2025);
        QCOMPARE(screen->fromBox()->date(), QDate(2024, 1, 1));
        QCOMPARE(screen->toBox()->date(), QDate(2024, 3, 20));
        QCOMPARE(screen->tabs()->currentIndex(), 0);
        QCOMPARE(screen->tabs()->tabText(2), "            奖金表");
        QCOMPARE(listed(*screen->sheetRows(0)).size(), 4);

        screen->monthBox()->setValue(2);
        QCOMPARE(screen->fromBox()->date(), QDate(2024, 2, 1));
        QCOMPARE(screen->toBox()->date(), QDate(2024, 2, 29));
        QCOMPARE(listed(*screen->sheetRows(2)), QStringList{"000004 2024-02"});

        screen->showList(query::build({.department = "02"}));
        screen->monthBox()->setValue(3);
        QCOMPARE(listed(*screen->sheetRows(1)), QStringList{"000005 2024-03"});

        const auto answerDialog = [](const QString &department, const QString &button) {
            QTimer::singleShot(0, [=] {
                auto *dialog = qobject_cast<Tfrmzgcx *>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                QComboBox *list = dialog->list("部门名称");
                list->setCurrentIndex(list->findData(department));
                clickButton(dialog, button);
            });
        };
        answerDialog("01", "返回");
        screen->askCondition();
        QCOMPARE(listed(*screen->sheetRows(0)), QStringList{"000005 2024-03"});
        screen->fromBox()->setDate(QDate(2024, 1, 1));  // the kept condition still holds
        QCOMPARE(listed(*screen->sheetRows(0)), QStringList{"000005 2024-03"});
        answerDialog("01", "查询");
        screen->askCondition();  // from the base again: department 01 alone
        QCOMPARE(listed(*screen->sheetRows(0)), (QStringList{"000001 2024-01", "000001 2024-03", "000004 2024-02"}));
        // The workbook names the months and the condition in words.
        QVERIFY2(grid_export::titleOf(*screen->tabs()->widget(0)).startsWith("职工工资综合查询 2024年01月 至 2024年03月（查询条件：部门名称：01 "),
                 qPrintable(grid_export::titleOf(*screen->tabs()->widget(0))));
        screen->close();
    }

    // The "合计" row covers the whole range while rows are still to be read (summed by the
    // database), and "打印" prints the tab in front with every row of the months, beyond those
    // fetched, and their totals.
    void totalsAndPrintoutCoverEveryRow()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        addEmployee(db, "000001", "01");
        for (QDate m(2000, 1, 1); m.year() <= 2024; m = m.addMonths(1))
            addPay(db, "000001", m.toString(Qt::ISODate));
        TestHost host;
        auto *screen = new Tfrmzggzzhcx(host);
        screen->fromBox()->setDate(QDate(2000, 1, 1));
        screen->toBox()->setDate(QDate(2024, 12, 31));
        const auto *wages = static_cast<StripedGrid *>(screen->tabs()->widget(0));
        // A file's rows are read as they are scrolled; a server's result comes whole.
        QVERIFY(testOnServer() || wages->model()->canFetchMore({}));
        const std::vector<column_totals::Total> &totals = wages->totalsOfAll();
        QStringList shown;
        for (const column_totals::Total &t : totals)
            shown << t.shown();
        // 300 months of 1000 + 500 + 30 (whole yuan) + 20 less 50.
        QCOMPARE(shown.mid(3, 7), (QStringList{"300000.00", "150000.00", "9000", "6000.00", "465000.00", "15000.00", "450000.00"}));
        // Each sheet's own 应发工资, though three sheets name a column so.
        QStringList bonusShown;
        for (const column_totals::Total &t : static_cast<StripedGrid *>(screen->tabs()->widget(2))->totalsOfAll())
            bonusShown << t.shown();
        QCOMPARE(bonusShown.at(5), QStringLiteral("37035.00"));
        QCOMPARE(bonusShown.at(8), QStringLiteral("37035.00"));
        screen->tabs()->setCurrentIndex(2);
        report::Document printed;
        const ScopedHook<report::PreviewObserver, &report::setPreviewObserver> previewing(
            [&](const report::Document &d) { printed = d; });
        screen->print();
        const QStringList texts = documentTexts(printed);
        for (const char *t : {"职工工资综合查询（奖金表）", "2000年01月 至 2024年12月", "2000-01", "2024-12", "123.45"})
            QVERIFY2(texts.contains(t), t);
        QCOMPARE(texts.count("123.45"), 3 * 300);  // each row: the first term, the gross and the net
        QVERIFY(texts.contains("合计"));
        QCOMPARE(texts.count("37035.00"), 3);
        screen->close();
    }
};

QTEST_MAIN(TestSalaryQuery)
#include "test_salary_query.moc"
