// The personnel record card: kqtjb with exact hours over its ten years, the skill-grade rows
// with the position in force on each date, and the screen as a user works it.

#include "app/main_window.h"
#include "app/screen_registry.h"
#include "app/striped_grid.h"
#include "db/clock.h"
#include "db/sql.h"
#include "records/employee_search_panel.h"
#include "records/record_card.h"
#include "records/record_card_screen.h"
#include "records/records_screens.h"
#include "reports/print_preview.h"
#include "staff/employee_fixture.h"
#include "support/document_texts.h"
#include "support/test_support.h"

#include <QDateEdit>
#include <QSqlQuery>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTest>

namespace {

// 000101 and 000102 in 人事科. 000101's attendance: 事假 (01) 2.5 h and 1.25 h in 2026, on the
// year's first and last day; 病假 (02) 8 h on the first day of 2017 and 4 h on the last of
// 2016; 事假 3 h on 1 January 2027. 000102: 事假 7 h in 2026. A kind whose name is SQL text.
void fillAttendance(const QSqlDatabase &db)
{
    addEmployee(db, "000101", "02");
    addEmployee(db, "000102", "02");
    sql::exec(db, "insert into kqfsb (方式编码,方式名称) values ('11','a\"b''; drop')");
    sql::exec(db, "insert into kqjlb (职工编码,方式编码,考勤时间,时数) values "
                  "('000101','01','2026-01-01',2.5),('000101','01','2026-12-31',1.25),"
                  "('000101','02','2017-01-01',8),('000101','02','2016-12-31',4),"
                  "('000101','01','2027-01-01',3),('000102','01','2026-05-01',7)");
}

QVariantList rowOf(const records::CardGrid &grid, const QString &kind)
{
    for (const QVariantList &row : grid.rows)
        if (row.value(0).toString() == kind)
            return row;
    return {};
}

}  // namespace

class TestRecordCard : public QObject {
    Q_OBJECT
private slots:
    void yearlyTableHoldsTenYearsOfExactHours()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        fillAttendance(db);

        records::rebuildYearlyAttendance(db, "000101", 2026);
        const records::CardGrid card = records::yearlyAttendance(db);
        QCOMPARE(card.titles, QStringList{"事由"} + records::attendanceYearColumns(2026));
        QCOMPARE(card.titles.value(1), "2026年");
        QCOMPARE(card.titles.value(10), "2017年");
        QCOMPARE(card.rows.size(), 11);  // every kind, in code order, the hostile name last
        QCOMPARE(card.rows.first().value(0).toString(), "事假");
        QCOMPARE(card.rows.last().value(0).toString(), "a\"b'; drop");
        // 2026 sums both days exactly; 2027 and 2016 lie outside; the other employee not counted.
        QCOMPARE(rowOf(card, "事假"), (QVariantList{"事假", 3.75, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(rowOf(card, "病假"), (QVariantList{"病假", 0, 0, 0, 0, 0, 0, 0, 0, 0, 8}));
        QCOMPARE(rowOf(card, "旷工"), (QVariantList{"旷工", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

        // A card dated in 2005 shows 2005 down to 1996, all empty here; a statement still
        // reading (as the lazily read employee list does) does not stop the rebuild.
        QSqlQuery reading(db);
        QVERIFY(reading.exec("select * from kqjlb") && reading.next());
        records::rebuildYearlyAttendance(db, "000101", 2005);
        reading.finish();
        const records::CardGrid old = records::yearlyAttendance(db);
        QCOMPARE(old.titles.value(1), "2005年");
        QCOMPARE(old.titles.last(), "1996年");
        QCOMPARE(rowOf(old, "事假"), (QVariantList{"事假", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

        // An employee without attendance, and a year with hours above 255 in one kind.
        sql::exec(db, "insert into kqjlb (职工编码,方式编码,考勤时间,时数) values ('000102','03','2026-02-01',300.5)");
        records::rebuildYearlyAttendance(db, "000102", 2026);
        QCOMPARE(rowOf(records::yearlyAttendance(db), "旷工").value(1), QVariant(300.5));

        // wenpad-admin prints the same card, grid by grid.
        const AdminRun printed = runAdmin({"grid", "Tfrmygrsjlk", "--db", folder.address(), "--employee", "000101", "--year", "2026"});
        QCOMPARE(printed.status, 0);
        const QStringList csv = printed.out.split('\n');
        QCOMPARE(csv.value(0), "岗位技能档次");
        QVERIFY(csv.contains("考勤情况（小时）"));
        QVERIFY(csv.contains("事假,3.75,0,0,0,0,0,0,0,0,0"));
    }

    void failedRebuildKeepsThePreviousTable()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        fillAttendance(db);
        records::rebuildYearlyAttendance(db, "000101", 2026);
        // The kinds can no longer be read: the new table is rolled back with the step.
        sql::exec(db, "alter table kqfsb rename to kqfsb_moved");
        QVERIFY_THROWS_EXCEPTION(sql::Failure, records::rebuildYearlyAttendance(db, "000101", 2005));
        const records::CardGrid kept = records::yearlyAttendance(db);
        QCOMPARE(kept.titles.value(1), "2026年");
        QCOMPARE(rowOf(kept, "事假").value(1), QVariant(3.75));
    }

    void skillGradesShowThePositionInForceAndTheDaysEachLasted()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        const clock_source::ScopedToday today(QDate(2026, 1, 31));
        addEmployee(db, "000101", "02");  // 2003-06-01: 科长 (04), 管理岗位二档
        // Positions: 副总经理 (02) from 2005; a correction to 总工程师 (03) dated 2004, entered last.
        sql::exec(db, "insert into zwdtb (职工编码,变动时间,职务编码) values ('000101','2005-01-01','02'),"
                      "('000101','2004-01-01','03')");
        // Grades, the 31 March change entered before the 1 March one.
        sql::exec(db, "insert into gwjndtb (职工编码,变动时间,类别编码,档次编码) values "
                      "('000101','2004-03-31','01','01'),('000101','2004-03-01','02','03'),('000101','2006-01-01','03','08')");

        const records::CardGrid grades = records::skillGrades(db, "000101");
        QCOMPARE(grades.titles, (QStringList{"变动时间", "职务", "工作时间", "岗位、技能档次"}));
        const QList<QVariantList> expected = {
            {"2003-06-01", codeName(db, "zwdmb", "04"), QDate(2003, 6, 1).daysTo(QDate(2004, 3, 1)), "管理岗位二档"},
            {"2004-03-01", codeName(db, "zwdmb", "03"), 30, "技术岗位三档"},
            {"2004-03-31", codeName(db, "zwdmb", "03"), QDate(2004, 3, 31).daysTo(QDate(2006, 1, 1)), "管理岗位一档"},
            // In force on 2006-01-01: of the rows dated on or before it, the last entered.
            {"2006-01-01", codeName(db, "zwdmb", "03"), QDate(2006, 1, 1).daysTo(QDate(2026, 1, 31)), "技能岗位八档"},
        };
        QCOMPARE(grades.rows.size(), expected.size());
        for (int r = 0; r < expected.size(); ++r)
            for (int c = 0; c < 4; ++c)
                QCOMPARE(grades.rows[r][c].toString(), expected[r][c].toString());

        QCOMPARE(records::skillGrades(db, "009999").rows.size(), 0);
    }

    void screenFollowsTheEmployeeAndTheYear()
    {
        ProgramFolder folder;
        fillAttendance(folder.db());
        sql::exec(folder.db(), "insert into jcjlb (职工编码,奖惩日期,奖惩,奖惩方式,事由) values "
                               "('000101','2025-04-01',1,'嘉奖','节能'),('000102','2025-05-01',-1,'警告','迟到')");
        const clock_source::ScopedToday today(QDate(2026, 7, 1));
        ScreenRegistry registry;
        registerRecordsScreens(registry);
        TfrmMain window(registry);
        window.resize(1200, 800);
        window.show();
        auto *screen = qobject_cast<Tfrmygrsjlk *>(window.openScreen("Tfrmygrsjlk"));
        QVERIFY(screen);
        QVERIFY(window.navigator()->isHidden());
        QVERIFY(!window.menuBar()->actions().first()->isEnabled());

        QCOMPARE(screen->search()->currentCode(), "000101");
        QCOMPARE(screen->dateBox()->date(), QDate(2026, 7, 1));
        QCOMPARE(screen->rewardsModel()->rowCount(), 1);
        QCOMPARE(screen->rewardsModel()->index(0, 2).data().toString(), "嘉奖");
        QCOMPARE(screen->attendanceModel()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "2026年");
        QCOMPARE(screen->attendanceModel()->index(0, 1).data(), QVariant(3.75));
        QCOMPARE(screen->skillModel()->rowCount(), 1);

        screen->search()->downButton()->click();
        QCOMPARE(screen->rewardsModel()->index(0, 2).data().toString(), "警告");
        QCOMPARE(screen->attendanceModel()->index(0, 1).data(), QVariant(7));
        screen->dateBox()->setDate(QDate(2005, 3, 1));
        QCOMPARE(screen->attendanceModel()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "2005年");
        QCOMPARE(screen->attendanceModel()->index(0, 1).data(), QVariant(0));

        QPushButton *toggle = screen->button("隐藏查找条件");
        toggle->click();
        QVERIFY(screen->search()->isHidden());
        QCOMPARE(toggle->text(), "显示查找条件");
        toggle->click();
        QVERIFY(!screen->search()->isHidden());
        QCOMPARE(toggle->text(), "隐藏查找条件");

        // The skill-grade side keeps 200 pixels however far the divider is dragged.
        QSplitter *divider = screen->divider();
        divider->setSizes({10, 2000});
        QCOMPARE(divider->sizes().first(), 200);

        QList<report::Document> printed;
        report::setPreviewObserver([&](const report::Document &d) { printed << d; });
        screen->button("打印")->click();
        report::setPreviewObserver({});
        QCOMPARE(printed.size(), 1);
        const QStringList texts = documentTexts(printed.first());
        QVERIFY(texts.contains("职工编号：000102　职工姓名：王五"));
        QVERIFY(texts.contains("警告"));
        QVERIFY(texts.contains("1996年"));
        const int pages = int(printed.first().pages.size());
        QVERIFY(pages >= 3);
        QVERIFY(texts.contains(QString("第 %1 页 共 %1 页").arg(pages)));

        screen->button("返回")->click();
        QTRY_VERIFY(!window.navigator()->isHidden());
        QVERIFY(window.menuBar()->actions().first()->isEnabled());

        // Hidden before the card opens: hidden while it is open and after "返回".
        window.toggleNavigator();
        screen = qobject_cast<Tfrmygrsjlk *>(window.openScreen("Tfrmygrsjlk"));
        QVERIFY(window.navigator()->isHidden());
        screen->button("返回")->click();
        QTRY_VERIFY(window.menuBar()->actions().first()->isEnabled());
        QVERIFY(window.navigator()->isHidden());
    }
};

QTEST_MAIN(TestRecordCard)
#include "test_record_card.moc"
