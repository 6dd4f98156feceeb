// The two training share tables against their literal statement lists, cell for cell, on
// generated organisations and ranges and on one small fixture with the edge cases, whose
// telling cells are pinned by name; the rebuild as one transaction; wenpad-admin with a range.

#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "stats/cells.h"
#include "stats/statistics_table.h"
#include "support/test_engine.h"
#include "support/test_support.h"

#include <QSqlQuery>
#include <QTest>

namespace {

const stats::Period kYear2003(QDate(2003, 1, 1), QDate(2003, 12, 31));
const QString kLongContent = QString(200, QChar(u'训'));

// Courses:
//   P1 2003-03-01, a 200-character content: 000001 90 A, 000002 80 B, 000003 59.5 E, 000004 no
//      score E, 000009 (an employee no longer in zghmc) 70 C
//   P2 2003-12-31: 000001 100 E (every grade E)
//   P3 2002-12-31, outside 2003: 000002 65 D
//   P4 2003-06-01, without participants
void fillCourses(const QSqlDatabase &db)
{
    sql::exec(db, "insert into zghmc (职工编码,职工姓名) values ('000001','甲'),('000002','乙'),('000003','丙'),('000004','丁')");
    QSqlQuery q(db);
    q.prepare("insert into pxnrb (培训编码,培训日期,训练内容,累计时数) values ('P1','2003-03-01',?,8),"
              "('P2','2003-12-31','消防演练',4),('P3','2002-12-31','质量管理',6),('P4','2003-06-01','财务制度',2)");
    q.addBindValue(kLongContent);
    QVERIFY(q.exec());
    sql::exec(db, "insert into pxjlb (职工编码,培训编码,成绩,技能评定) values ('000001','P1',90,'A'),('000002','P1',80,'B'),"
                  "('000003','P1',59.5,'E'),('000004','P1',null,'E'),('000001','P2',100,'E'),('000002','P3',65,'D')");
    // An employee removed without the program: the row refers to nobody. (A server checks
    // references by triggers, which a superuser's session may switch off.)
    const bool server = testOnServer();
    sql::exec(db, server ? "set session_replication_role = replica" : "PRAGMA foreign_keys=OFF");
    sql::exec(db, "insert into pxjlb (职工编码,培训编码,成绩,技能评定) values ('000009','P1',70,'C')");
    sql::exec(db, server ? "set session_replication_role = default" : "PRAGMA foreign_keys=ON");
}

// Ranges worth comparing on a generated organisation: everything, each year of courses, a
// range without courses and one whose start is after its end.
QList<stats::Period> rangesOf(const QSqlDatabase &db)
{
    QList<stats::Period> ranges = {{QDate(1950, 1, 1), QDate(2040, 1, 1)}, {QDate(1990, 1, 1), QDate(1990, 12, 31)},
                                   {QDate(2026, 1, 1), QDate(2020, 1, 1)}};
    QSqlQuery q(db);
    q.exec("select distinct substr(培训日期,1,4) from pxnrb");
    while (q.next())
        ranges << stats::Period(QDate(q.value(0).toInt(), 1, 1), QDate(q.value(0).toInt(), 12, 31));
    return ranges;
}

}  // namespace

class TestTrainingShares : public QObject {
    Q_OBJECT
private slots:
    void matchTheLiteralStatements_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("pxcjzbtjb") << "pxcjzbtjb";
        QTest::newRow("pxjnzbtjb") << "pxjnzbtjb";
    }
    void matchTheLiteralStatements()
    {
        QFETCH(QString, name);
        {
            ProgramFolder folder;
            fillCourses(folder.db());
            for (const stats::Period &p : {kYear2003, stats::Period(QDate(2002, 12, 31), QDate(2003, 3, 1))}) {
                const QString mismatch = literalMismatch(folder.db(), name, p);
                QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
            }
        }
        for (quint64 seed : {11, 12}) {
            ProgramFolder folder;
            demo::generate(folder.db(), {.employees = 1500, .seed = seed});
            for (const stats::Period &p : rangesOf(folder.db()))
                QVERIFY2(literalMismatch(folder.db(), name, p).isEmpty(), qPrintable(stats::periodCaption(p)));
        }
    }

    void edgeCases_data()
    {
        addCellColumns();
        const auto row = cellCase;
        const QVariant empty;
        row("every participant row counts, a missing employee too", "pxcjzbtjb", "pxbm='P1'", "zs", 5);
        row("90 is in 90 and above", "pxcjzbtjb", "pxbm='P1'", "u90", 1);
        row("80 is in 80 to 90", "pxcjzbtjb", "pxbm='P1'", "f80t90", 1);
        row("the missing employee's 70 is in 70 to 80", "pxcjzbtjb", "pxbm='P1'", "f70t80", 1);
        row("a band nobody is in stays empty", "pxcjzbtjb", "pxbm='P1'", "f60t70", empty);
        row("its share too", "pxcjzbtjb", "pxbm='P1'", "f60t70zb", empty);
        row("59.5 is below 60", "pxcjzbtjb", "pxbm='P1'", "l60", 1);
        row("share of the participant rows", "pxcjzbtjb", "pxbm='P1'", "u90zb", 20.0);
        row("a missing score lowers the average", "pxcjzbtjb", "pxbm='P1'", "pjcj", (90 + 80 + 59.5 + 70) / 5);
        row("the whole course content", "pxcjzbtjb", "pxbm='P1'", "pxnr", kLongContent);
        row("a course on the last day of the range", "pxcjzbtjb", "pxbm='P2'", "u90", 1);
        row("a course before the range has no row", "pxcjzbtjb", "pxbm='P3'", "zs", "no row");
        row("a course without participants has no row", "pxcjzbtjb", "pxbm='P4'", "zs", "no row");
        row("total row named", "pxcjzbtjb", "bz='3'", "pxnr", "汀岚分公司");
        row("total row has no code", "pxcjzbtjb", "bz='3'", "pxbm", empty);
        row("total head count", "pxcjzbtjb", "bz='3'", "zs", 6);
        row("total average is weighted", "pxcjzbtjb", "bz='3'", "pjcj", (90 + 80 + 59.5 + 70 + 100) / 6);
        row("grade A", "pxjnzbtjb", "pxbm='P1'", "A", 1);
        row("grade A share", "pxjnzbtjb", "pxbm='P1'", "Azb", 20.0);
        row("grade D of a course outside the range is not counted", "pxjnzbtjb", "bz='3'", "D", empty);
        row("grade E is in no column", "pxjnzbtjb", "pxbm='P2'", "zs", 1);
        row("all grades E: every grade column empty", "pxjnzbtjb", "pxbm='P2'", "A", empty);
        row("all grades E: no share", "pxjnzbtjb", "pxbm='P2'", "Dzb", empty);
        row("grade total", "pxjnzbtjb", "bz='3'", "C", 1);
    }
    void edgeCases()
    {
        QFETCH(QString, name);
        QFETCH(QString, row);
        QFETCH(QString, column);
        QFETCH(QVariant, expected);
        ProgramFolder folder;
        fillCourses(folder.db());
        table(name).rebuild(folder.db(), kYear2003);
        QCOMPARE_CELL(cellOf(folder.db(), name, column, row), expected);
    }

    // Nothing in the range: only the total row, empty but for bz and pxnr; rows in grid order.
    void emptyRangeAndGridOrder()
    {
        ProgramFolder folder;
        fillCourses(folder.db());
        table("pxcjzbtjb").rebuild(folder.db(), stats::Period(QDate(2010, 1, 1), QDate(2010, 12, 31)));
        QCOMPARE(tableCsv(folder.db(), "pxcjzbtjb").split('\n').value(1), "3,,汀岚分公司,,,,,,,,,,,,");
        table("pxcjzbtjb").rebuild(folder.db(), stats::Period(QDate(2002, 1, 1), QDate(2003, 12, 31)));
        QSqlQuery q(folder.db());
        QVERIFY(q.exec(table("pxcjzbtjb").gridQuery("bz,pxbm")));
        QStringList rows;
        while (q.next())
            rows << q.value(0).toString() + q.value(1).toString();
        QCOMPARE(rows, QStringList({"2P1", "2P2", "2P3", "3"}));
    }

    // A failing statement leaves the previous rows.
    void aFailureKeepsThePreviousRows()
    {
        ProgramFolder folder;
        fillCourses(folder.db());
        table("pxjnzbtjb").rebuild(folder.db(), kYear2003);
        const QString before = tableCsv(folder.db(), "pxjnzbtjb");
        failInserts(folder.db(), "pxjnzbtjb", "refused", "new.bz='3'");
        QVERIFY_THROWS_EXCEPTION(sql::Failure, table("pxjnzbtjb").rebuild(folder.db(), {QDate(2002, 1, 1), QDate(2002, 12, 31)}));
        QCOMPARE(tableCsv(folder.db(), "pxjnzbtjb"), before);
    }

    // wenpad-admin takes the range for these tables and refuses a cut-off date, and the other way round.
    void adminRebuildsForARange()
    {
        ProgramFolder folder;
        fillCourses(folder.db());
        const QString db = folder.address();
        const QString pdf = folder.file("table.pdf");
        const AdminRun run = runAdmin({"rebuild", "pxcjzbtjb", "--db", db, "--from", "2003-01-01", "--to", "2003-12-31", "--pdf", pdf});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        table("pxcjzbtjb").rebuild(folder.db(), kYear2003);  // on a server the tool's work table was its own
        QCOMPARE(run.out, stats::gridCsv(folder.db(), table("pxcjzbtjb")));
        const QString out = pdfText(pdf).normalized(QString::NormalizationForm_KC);
        QVERIFY(out.contains(QString("2003年01月01日至2003年12月31日").normalized(QString::NormalizationForm_KC)));
        QVERIFY(out.contains(QString("汀岚分公司").normalized(QString::NormalizationForm_KC)));

        for (const QStringList &wrong : {QStringList{"rebuild", "pxjnzbtjb", "--db", db, "--date", "2003-12-31"},
                                         QStringList{"rebuild", "pxjnzbtjb", "--db", db, "--from", "2003-01-01"},
                                         QStringList{"rebuild", "zgjbqkfxb", "--db", db, "--from", "2003-01-01", "--to", "2003-12-31"},
                                         QStringList{"rebuild", "zgjbqkfxb", "--db", db}}) {
            const AdminRun refused = runAdmin(wrong);
            QCOMPARE(refused.status, 2);
            const QString says = refused.err;
            QVERIFY2(says.contains("--date") && says.trimmed().count('\n') == 0, qPrintable(says));
        }
    }
};

QTEST_GUILESS_MAIN(TestTrainingShares)
#include "test_training_shares.moc"
