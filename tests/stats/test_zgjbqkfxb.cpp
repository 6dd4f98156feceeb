// The basic situation analysis table: the rules pinned on a small named register, and the
// rebuild is compared with the literal statements in test_statistics_tables.

#include "db/sql.h"
#include "stats/statistics_table.h"
#include "stats/cells.h"
#include "support/test_support.h"

#include <QSqlQuery>
#include <QTest>

namespace {

const QDate kCutoff(2003, 4, 20);

// Departments 01 (mixed), 02 (all men), 03 (only a move on the cut-off day), 97 (retired).
void fillRegister(const QSqlDatabase &db)
{
    for (const char *s : {
             // code, name, sex, born, nation, education, party
             "insert into zghmc (职工编码,职工姓名,职工性别,出生年月,民族编码,文化程度,政治面貌) values "
             "('000001','甲','女','1978-06-01','00','01','01'),"   // age 25
             "('000002','乙','男','1973-01-01','03','05','02'),"   // age 30, minority, below college
             "('000003','丙','女','1942-12-31','00','03','00'),"   // age 61: no age band
             "('000004','丁','男','2003-12-31','00','04','03'),"   // born in the cut-off year: age 0
             "('000005','戊','男','1960-05-05','00','02','01'),"   // moves to 03 on the cut-off day
             "('000006','己','女','1950-01-01','00','03','01'),"   // retired to 97 before the cut-off
             "('000007','庚','男','1971-07-07','00','08','00')",   // joins after the cut-off
             "insert into dwdtb (职工编码,变动时间,单位编码) values "
             "('000001','1999-01-01','01'),('000002','1999-01-01','01'),('000003','1999-01-01','01'),"
             "('000004','2003-01-01','02'),('000005','1999-01-01','02'),('000005','2003-04-20','03'),"
             "('000006','1990-01-01','01'),('000006','2002-12-31','97'),('000007','2003-04-21','02')"}) {
        sql::exec(db, QString::fromUtf8(s));
    }
}

QVariant cell(const QSqlDatabase &db, const QString &bz, const QString &dwbm, const QString &column)
{
    QSqlQuery q(db);
    q.prepare(QString("select %1 from zgjbqkfxb where bz=:bz and coalesce(dwbm,'')=:dwbm").arg(column));
    q.bindValue(":bz", bz);
    q.bindValue(":dwbm", dwbm);
    if (!q.exec() || !q.next())
        return QString("no row");
    return q.value(0);
}

}  // namespace

class TestZgjbqkfxb : public QObject {
    Q_OBJECT
private slots:
    void rules_data()
    {
        QTest::addColumn<QString>("bz");
        QTest::addColumn<QString>("dwbm");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("expected");  // invalid: empty
        const auto row = [](const char *name, const char *bz, const char *dwbm, const char *column, QVariant v) {
            QTest::newRow(name) << QString(bz) << QString(dwbm) << QString(column) << v;
        };
        row("head count", "2", "01", "zs", 3);
        row("retired staff are not counted", "2", "97", "zs", "no row");
        row("age 25 in l25", "2", "01", "l25", 1);
        row("age 30 in 25-30", "2", "01", "f25t30", 1);
        row("age 61 in no band", "2", "01", "f55t60", QVariant());
        row("minority", "2", "01", "ssmz", 1);
        row("below college", "2", "01", "zz", 1);
        row("women share", "2", "01", "nvzb", 200.0 / 3);
        row("all-male department: no women", "2", "02", "nv", QVariant());
        row("all-male department: no women share", "2", "02", "nvzb", QVariant());
        row("born in the cut-off year is age 0", "2", "02", "l25", 1);
        row("joined after the cut-off: not counted", "2", "02", "zs", 1);
        row("change on the cut-off day counts", "2", "03", "zs", 1);
        row("department name", "2", "03", "dwmc", "财务科");
        row("total name", "3", "", "dwmc", "汀岚分公司");
        row("total head count", "3", "", "zs", 5);
        row("total women", "3", "", "nv", 2);
        row("total share is organisation-wide", "3", "", "nvzb", 40.0);
        row("total sums the departments", "3", "", "bs", 1);
        row("total of a column nobody matched", "3", "", "f55t60", QVariant());
    }
    void rules()
    {
        QFETCH(QString, bz);
        QFETCH(QString, dwbm);
        QFETCH(QString, column);
        QFETCH(QVariant, expected);
        ProgramFolder folder;
        fillRegister(folder.db());
        table("zgjbqkfxb").rebuild(folder.db(), kCutoff);
        const QVariant value = cell(folder.db(), bz, dwbm, column);
        QCOMPARE_CELL(value, expected);
    }

    void emptyRegisterGivesOnlyTheTotalRow()
    {
        ProgramFolder folder;
        table("zgjbqkfxb").rebuild(folder.db(), kCutoff);
        const QStringList lines = tableCsv(folder.db(), "zgjbqkfxb").split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[1], "3,,汀岚分公司" + QString(",").repeated(lines[0].count(',') - 2));
    }

    void aNewDateReplacesEverythingAndAFailureKeepsThePreviousRows()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        fillRegister(db);
        table("zgjbqkfxb").rebuild(db, QDate(1995, 1, 1));
        const QString before = tableCsv(db, "zgjbqkfxb");
        QVERIFY(before.contains(",01,"));
        QVERIFY(!before.contains(",02,"));
        table("zgjbqkfxb").rebuild(db, kCutoff);
        const QString after = tableCsv(db, "zgjbqkfxb");
        QVERIFY(after.contains(",02,"));
        failInserts(db, "zgjbqkfxb", "disk full", "new.bz='3'");
        try {
            table("zgjbqkfxb").rebuild(db, QDate(1995, 1, 1));
            QFAIL("the failing rebuild reported success");
        } catch (const sql::Failure &e) {
            QVERIFY(e.message().contains("disk full"));
        }
        QCOMPARE(tableCsv(db, "zgjbqkfxb"), after);
    }
};

QTEST_GUILESS_MAIN(TestZgjbqkfxb)
#include "test_zgjbqkfxb.moc"
