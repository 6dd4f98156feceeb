// The statistics tables against their literal statement lists: cell for cell on generated
// organisations and dates, and on one small register holding the edge cases, whose telling
// cells are pinned by name.

#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "stats/statistics_table.h"
#include "stats/cells.h"
#include "support/test_support.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>

namespace {

const QDate kCutoff(2003, 4, 20);
const QStringList kTables = {"zgjbqkfxb", "zyjsgbqktjb", "dyjbqktjb", "zgglqkfxb", "zgjbqktjb"};

// Seven employees as of 20 April 2003 (ages are 2003 minus the birth year):
//   000001 女 35, party since 1976-11-01, doctorate, started 1998 (5 years), dept 01 (moves to
//          02 the day after the cut-off), title 01 (level 01), general manager (level 07)
//   000002 男 55, minority, party since 1966-04-30, dept 98, title 03 (level 03), section chief
//   000003 男 45, party since 1992-10-01, primary school, started 1960 (43 years), dept 02,
//          title "00" but general manager (level 07)
//   000004 女 23, league member, started on the cut-off day, moved 01 → 02 on the cut-off day,
//          title 07 (level 03, category 02), worker (level 12)
//   000005 男 40, party member without a joining date, started 1997-12-31 (6 years), dept 01,
//          title 18 (level 04, no category), no position
//   000006 男 33, party member in dept 99, title 02, general manager
//   000007 女 23, started the day before the cut-off (0 years), dept 01, no title, an adviser
//          (a position without a level)
void fillRegister(const QSqlDatabase &db)
{
    for (const char *s : {
             "insert into zcdmb (职称编码,职称名称,职称级别,技术分类) values ('18','测试师','04',null)",
             "insert into zwdmb (职务编码,职务名称,职务级别) values ('11','顾问',null)",
             "insert into zghmc (职工编码,职工姓名,职工性别,出生年月,民族编码,文化程度,政治面貌,入党时间,工作时间) values "
             "('000001','甲','女','1968-05-01','00','01','01','1976-11-01','1998-03-01'),"
             "('000002','乙','男','1948-01-01','03','05','01','1966-04-30','1997-12-31'),"
             "('000003','丙','男','1958-06-01','00','08','01','1992-10-01','1960-01-01'),"
             "('000004','丁','女','1980-01-01','00','03','02',null,'2003-04-20'),"
             "('000005','戊','男','1963-01-01','00','03','01',null,'1997-12-31'),"
             "('000006','己','男','1970-01-01','00','02','01','1980-01-01','1990-01-01'),"
             "('000007','庚','女','1980-06-01','00','04','00',null,'2003-04-19')",
             "insert into dwdtb (职工编码,变动时间,单位编码) values "
             "('000001','1998-03-01','01'),('000001','2003-04-21','02'),('000002','1997-12-31','98'),"
             "('000003','1990-01-01','02'),('000004','2000-01-01','01'),('000004','2003-04-20','02'),"
             "('000005','1997-12-31','01'),('000006','1990-01-01','99'),('000007','2003-04-19','01')",
             "insert into zcdtb (职工编码,变动时间,职称编码) values "
             "('000001','1999-01-01','01'),('000002','1999-01-01','03'),('000003','1999-01-01','00'),"
             "('000004','2003-04-20','07'),('000005','2000-01-01','18'),('000006','1999-01-01','02')",
             "insert into zwdtb (职工编码,变动时间,职务编码) values "
             "('000001','2000-01-01','01'),('000002','2000-01-01','04'),('000003','2000-01-01','01'),"
             "('000004','2003-04-20','10'),('000006','2000-01-01','01'),('000007','2003-04-19','11')"}) {
        sql::exec(db, QString::fromUtf8(s));
    }
}

// The dates worth comparing on a generated organisation: before any row, after all rows, and
// dates on which histories change.
QList<QDate> datesOf(const QSqlDatabase &db)
{
    QList<QDate> dates = {QDate(1950, 1, 1), QDate(2040, 1, 1), kCutoff};
    QSqlQuery q(db);
    q.exec("select 变动时间 from (select 变动时间 from dwdtb union select 变动时间 from zwdtb "
           "union select 变动时间 from zcdtb) d order by random() limit 5");
    while (q.next())
        dates << sql::toDate(q.value(0));
    return dates;
}

}  // namespace

class TestStatisticsTables : public QObject {
    Q_OBJECT
private slots:
    void matchTheLiteralStatements_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &name : kTables)
            QTest::newRow(qPrintable(name)) << name;
    }
    void matchTheLiteralStatements()
    {
        QFETCH(QString, name);
        {
            ProgramFolder folder;
            fillRegister(folder.db());
            for (const QDate &d : {kCutoff, QDate(2003, 4, 19), QDate(2003, 4, 21)}) {
                const QString mismatch = literalMismatch(folder.db(), name, d);
                QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
            }
        }
        for (quint64 seed : {11, 12}) {
            ProgramFolder folder;
            demo::generate(folder.db(), {.employees = 300, .seed = seed});
            for (const QDate &d : datesOf(folder.db()))
                QVERIFY2(literalMismatch(folder.db(), name, d).isEmpty(), qPrintable(d.toString(Qt::ISODate)));
        }
    }

    void edgeCases_data()
    {
        addCellColumns();
        const auto row = cellCase;
        const QVariant empty;
        // Technical cadres.
        row("title 00 holder counts as a division-level cadre", "zyjsgbqktjb", "zcmc='处级干部'", "zs", 2);
        row("division-level: a column nobody matched is 0", "zyjsgbqktjb", "zcmc='处级干部'", "ss", 0);
        row("a title row: a column nobody matched is empty", "zyjsgbqktjb", "bz='6' and zcbm='01'", "ss", empty);
        row("title 00 is in no total", "zyjsgbqktjb", "zcmc='总计'", "zs", 3);
        row("level 03 is not senior", "zyjsgbqktjb", "zcmc='高级职务'", "zs", 1);
        row("level row, department 98 left out", "zyjsgbqktjb", "bz='4' and zcjb='03'", "zs", 1);
        row("category row named code、name", "zyjsgbqktjb", "bz='5' and zclb='02'", "zcmc", "02、会计");
        row("a category nobody holds has no row", "zyjsgbqktjb", "bz='5' and zclb='04'", "zs", "no row");
        row("a title without category: an unnamed category row", "zyjsgbqktjb", "bz='5' and zclb is null", "zcmc", empty);
        row("division-level average age", "zyjsgbqktjb", "zcmc='处级干部'", "pjnl", 40.0);
        row("total average age is weighted", "zyjsgbqktjb", "zcmc='总计'", "pjnl", 98.0 / 3);
        // Party members.
        row("age 35 in 26-35", "dyjbqktjb", "dwbm='01'", "f26t35", 1);
        row("age 35 and 40 in 35-40", "dyjbqktjb", "dwbm='01'", "f35t40", 2);
        row("age 45 only in 36-45", "dyjbqktjb", "dwbm='02'", "f36t45", 1);
        row("age 45 not in 35-40", "dyjbqktjb", "dwbm='02'", "f35t40", empty);
        row("age 55 in 55-59", "dyjbqktjb", "dwbm='98'", "f55t59", 1);
        row("age 55 in 50-55", "dyjbqktjb", "dwbm='98'", "f50t55", 1);
        row("joined 1 November 1976 in d2", "dyjbqktjb", "dwbm='01'", "d2", 1);
        row("joined 1 November 1976 not in d1", "dyjbqktjb", "dwbm='01'", "d1", empty);
        row("joined before May 1966 in no period", "dyjbqktjb", "dwbm='98'", "d1", empty);
        row("department 98 in zs", "dyjbqktjb", "dwbm='98'", "zs", 1);
        row("department 98 not on duty", "dyjbqktjb", "dwbm='98'", "zg", empty);
        row("department 99 has no row", "dyjbqktjb", "dwbm='99'", "zs", "no row");
        row("party total", "dyjbqktjb", "bz='3'", "zs", 4);
        row("party total on duty", "dyjbqktjb", "bz='3'", "zg", 3);
        row("party average age", "dyjbqktjb", "dwbm='01'", "pjnl", 37.5);
        // Length of service.
        row("5 years and the day before the cut-off in l5", "zgglqkfxb", "dwbm='01'", "l5", 2);
        row("6 years in 6-10", "zgglqkfxb", "dwbm='01'", "f6t10", 1);
        row("service share", "zgglqkfxb", "dwbm='01'", "l5zb", 200.0 / 3);
        row("started on the cut-off day: in zs", "zgglqkfxb", "dwbm='02'", "zs", 2);
        row("started on the cut-off day or 43 years: in no band", "zgglqkfxb", "dwbm='02'", "l5", empty);
        row("more than 40 years in no band", "zgglqkfxb", "bz='3'", "f36t40", empty);
        // Employee basic statistics.
        row("women row", "zgjbqktjb", "bz='4'", "dwmc", "其中：女");
        row("women row counts women below 97", "zgjbqktjb", "bz='4'", "zs", 3);
        row("women row equals the total's women", "zgjbqktjb", "bz='3'", "nv", 3);
        row("women row: a column nobody matched is 0", "zgjbqktjb", "bz='4'", "ss", 0);
        row("women average age", "zgjbqktjb", "bz='4'", "pjnl", 27.0);
        row("level row named", "zgjbqktjb", "bz='5' and dwbm='07'", "dwmc", "其中：处级");
        row("level row head count", "zgjbqktjb", "bz='5' and dwbm='07'", "zs", 2);
        row("level row has no average", "zgjbqktjb", "bz='5' and dwbm='07'", "pjnl", empty);
        row("level of department 98 staff: no row", "zgjbqktjb", "bz='5' and dwbm='09'", "zs", "no row");
        row("organisation average is weighted", "zgjbqktjb", "bz='3'", "pjnl", 33.2);
    }
    void edgeCases()
    {
        QFETCH(QString, name);
        QFETCH(QString, row);
        QFETCH(QString, column);
        QFETCH(QVariant, expected);
        ProgramFolder folder;
        fillRegister(folder.db());
        table(name).rebuild(folder.db(), kCutoff);
        QCOMPARE_CELL(cellOf(folder.db(), name, column, row), expected);
    }

    void technicalCadreRowsInGridOrder()
    {
        ProgramFolder folder;
        fillRegister(folder.db());
        table("zyjsgbqktjb").rebuild(folder.db(), kCutoff);
        QSqlQuery q(folder.db());
        QVERIFY(q.exec(table("zyjsgbqktjb").gridQuery("zcmc")));
        QStringList names;
        while (q.next())
            names << q.value(0).toString();
        QCOMPARE(names, QStringList({"总计", "处级干部", "高级职务", "正高级", "中级", "初级", "", "测试师",
                                     "01、工程技术", "教授级高级工程师", "02、会计", "会计师"}));
    }

    // wenpad-admin rebuilds the table in the database, prints it as CSV and writes its report.
    void adminRebuilds_data() { matchTheLiteralStatements_data(); }
    void adminRebuilds()
    {
        QFETCH(QString, name);
        ProgramFolder folder;
        fillRegister(folder.db());
        const QString pdf = folder.file("table.pdf");
        const AdminRun run = runAdmin({"rebuild", name, "--db", folder.address(), "--date", "2003-04-20", "--pdf", pdf});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        // The grid as the screen shows it, under its Chinese titles (built here too: on a
        // server each connection has a work table of its own).
        table(name).rebuild(folder.db(), kCutoff);
        QCOMPARE(run.out, stats::gridCsv(folder.db(), table(name)));
        QStringList titles;
        for (const stats::WorkColumn &c : table(name).gridColumns())
            titles << c.gridTitle;
        QCOMPARE(run.out.section('\n', 0, 0), titles.join(','));
        const QString out = pdfText(pdf).normalized(QString::NormalizationForm_KC);
        QVERIFY(out.contains(QString("2003年04月20日").normalized(QString::NormalizationForm_KC)));

        QCOMPARE(runAdmin({"rebuild", name, "--db", folder.file("none.db"), "--date", "2003-04-20"}).status, 1);
        QVERIFY(!QFile::exists(folder.file("none.db")));  // a mistyped path creates nothing
    }
};

QTEST_GUILESS_MAIN(TestStatisticsTables)
#include "test_statistics_tables.moc"
