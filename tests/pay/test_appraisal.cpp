// The annual appraisal: which employees a year's sheet holds and under which department,
// generation once per year, marking, and the editor's grid and year field.

#include "app/striped_grid.h"
#include "db/clock.h"
#include "pay/appraisal.h"
#include "pay/appraisal_editor.h"
#include "staff/employee_fixture.h"

#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace {

void departmentChange(const QSqlDatabase &db, const QString &employee, const QString &date, const QString &department)
{
    sql::exec(db, QString("insert into dwdtb (职工编码, 变动时间, 单位编码) values ('%1', '%2', '%3')")
                      .arg(employee, date, department));
}

// employee → department of the year's rows, "000101:02 000102:03".
QString sheetOf(const QSqlDatabase &db, int year)
{
    QStringList rows;
    for (const pay::AppraisalRow &r : pay::appraisalSheet(db, year))
        rows << r.employee + ':' + r.department + (r.result == "及格" ? "" : '=' + r.result);
    rows.sort();
    return rows.join(' ');
}

}  // namespace

class TestAppraisal : public QObject {
    Q_OBJECT
private slots:
    void generationFollowsTheDepartmentOfTheYear_data()
    {
        QTest::addColumn<QStringList>("changes");  // "date department" rows after joining 02 on 2003-06-01
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("sheet");
        QTest::newRow("joined in the year") << QStringList{} << 2003 << "000101:02";
        QTest::newRow("joined after the year") << QStringList{} << 2002 << "";
        QTest::newRow("moved on 31 December counts") << QStringList{"2004-12-31 05"} << 2004 << "000101:05";
        QTest::newRow("moved on 1 January of the next year does not")
            << QStringList{"2005-01-01 05"} << 2004 << "000101:02";
        QTest::newRow("retired in the year") << QStringList{"2004-03-01 97"} << 2004 << "";
        QTest::newRow("left the year after") << QStringList{"2005-03-01 99"} << 2004 << "000101:02";
        // Order of entry decides, not the date: a late correction back to 03 wins.
        QTest::newRow("late correction") << QStringList{"2004-06-01 97", "2004-02-01 03"} << 2004 << "000101:03";
    }

    void generationFollowsTheDepartmentOfTheYear()
    {
        QFETCH(QStringList, changes);
        QFETCH(int, year);
        QFETCH(QString, sheet);
        ProgramFolder folder;
        addEmployee(folder.db(), "000101", "02");
        for (const QString &c : changes)
            departmentChange(folder.db(), "000101", c.section(' ', 0, 0), c.section(' ', 1, 1));
        pay::generateAppraisalSheet(folder.db(), year);
        QCOMPARE(sheetOf(folder.db(), year), sheet);
        QCOMPARE(queryValue(folder.db(), QString("select count(*) from ndkhb where 年度=%1").arg(year)).toInt(),
                 sheet.isEmpty() ? 0 : 1);
    }

    void aYearIsGeneratedOnce()
    {
        ProgramFolder folder;
        addEmployee(folder.db(), "000101", "02");
        addEmployee(folder.db(), "000102", "03");
        QCOMPARE(pay::generateAppraisalSheet(folder.db(), 2004), 2);
        sql::exec(folder.db(), "delete from ndkhb where 职工编码='000102'");
        addEmployee(folder.db(), "000103", "03");
        // A second press, and a year with rows for some employees only, write nothing.
        QCOMPARE(pay::generateAppraisalSheet(folder.db(), 2004), 0);
        QCOMPARE(sheetOf(folder.db(), 2004), "000101:02");
        QCOMPARE(pay::generateAppraisalSheet(folder.db(), 2005), 3);
    }

    void marking()
    {
        ProgramFolder folder;
        addEmployee(folder.db(), "000101", "02");
        pay::generateAppraisalSheet(folder.db(), 2004);
        const qint64 id = pay::appraisalSheet(folder.db(), 2004).front().id;
        pay::markResult(folder.db(), id, "优秀");
        pay::markResult(folder.db(), id, "优秀");
        QCOMPARE(sheetOf(folder.db(), 2004), "000101:02=优秀");
        QVERIFY_THROWS_EXCEPTION(sql::Failure, pay::markResult(folder.db(), id, "良好"));
        QVERIFY_THROWS_EXCEPTION(sql::Failure, pay::markResult(folder.db(), id + 100, "及格"));
        QCOMPARE(sheetOf(folder.db(), 2004), "000101:02=优秀");
    }

    void theEditorGeneratesAndMarks()
    {
        ProgramFolder folder;
        addEmployee(folder.db(), "000101", "01");
        addEmployee(folder.db(), "000102", "01");
        addEmployee(folder.db(), "000103", "02");
        TestHost host;
        auto *screen = new Tfrmndkhbj(host);
        const int thisYear = clock_source::today().year();
        QCOMPARE(screen->year()->value(), thisYear);
        QCOMPARE(screen->year()->minimum(), 1980);
        QCOMPARE(screen->year()->maximum(), thisYear + 1);
        QVERIFY(screen->generateButton()->isEnabled());
        QVERIFY(!screen->sheet()->isEnabled());

        screen->generateButton()->click();
        QVERIFY(!screen->generateButton()->isEnabled());
        QVERIFY(screen->sheet()->isEnabled());
        QAbstractItemModel *grid = screen->sheet()->model();
        QCOMPARE(grid->rowCount(), 2);  // department 01 is selected first
        QCOMPARE(grid->index(1, 4).data().toString(), "");
        QCOMPARE(grid->index(1, 3).data().toString(), "√");

        screen->mark(grid->index(1, 4));  // "不及格"
        screen->mark(grid->index(0, 1));  // the name column changes nothing
        QCOMPARE(grid->index(1, 3).data().toString(), "");
        QCOMPARE(grid->index(1, 4).data().toString(), "√");
        QCOMPARE(listed(folder.db(), "select 职工编码 || 考核成绩 from ndkhb order by 职工编码", " "),
                 "000101及格 000102不及格 000103及格");

        screen->departments()->selectRow(1);
        QCOMPARE(grid->rowCount(), 1);
        screen->year()->stepDown();  // a year without a sheet
        QVERIFY(screen->generateButton()->isEnabled());
        QCOMPARE(grid->rowCount(), 0);
        screen->close();
    }
};

QTEST_MAIN(TestAppraisal)
#include "test_appraisal.moc"
