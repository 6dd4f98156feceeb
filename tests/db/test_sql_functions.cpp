// The SQL functions and comparisons the statements rely on, evaluated by SQLite itself.

#include "db/app_paths.h"
#include "db/clock.h"
#include "db/database.h"
#include "db/history.h"
#include "demo/demo_organisation.h"
#include "support/test_support.h"

#include <QSqlQuery>
#include <QTest>

class TestSqlFunctions : public QObject {
    Q_OBJECT
private slots:
    void evaluates_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QVariant>("expected");
        const auto row = [](const char *name, const char *expr, QVariant v) {
            QTest::newRow(name) << QString(expr) << v;
        };
        row("years across new year", "datediff('yyyy','1970-12-31','2003-01-01')", 33);
        row("years from january", "datediff('YYYY','1970-01-01','2003-01-01')", 33);
        row("years backwards", "datediff('yyyy','2003-01-01','1970-12-31')", -33);
        row("days", "datediff('d','2003-01-01','2003-03-01')", 59);
        row("days over leap day", "datediff('d','2004-02-28','2004-03-01')", 2);
        row("months", "datediff('m','2002-12-31','2003-01-01')", 1);
        row("no date", "datediff('yyyy',NULL,'2003-01-01')", QVariant());
        row("year", "year('2003-04-20')", 2003);
        row("month", "month('2003-04-20')", 4);
        row("year of nothing", "year(NULL)", QVariant());
        row("val of code", "val('08')", 8);
        row("val with blanks and tail", "val(' 1 2abc')", 12);
        row("val of words", "val('abc')", 0);
        row("val negative decimal", "val('-3.5x')", -3.5);
        row("val order", "(select group_concat(c) from (select c from (select '10' c union all select '8' union all select '09') order by val(c)))", "8,09,10");
        row("codes compare as text", "'08'<'10' and '10'<'97' and '97'<'99'", 1);
        row("today", "date()", "2003-04-20");
        row("text concatenation", "'管理岗位'||'一档'", "管理岗位一档");
    }
    // inforce() against the history rule it stands for, on a generated organisation with
    // back-dated corrections and same-day changes, at dates before, between and after rows.
    void inforceFollowsTheRowInForce()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        demo::Options options;
        options.employees = 300;
        demo::generate(db, options);
        QStringList dates = {"1900-01-01", "2099-12-31"};
        QSqlQuery changes(db);
        QVERIFY(changes.exec("select distinct 变动时间 from dwdtb order by random() limit 12"));
        while (changes.next())
            dates << changes.value(0).toString() << QDate::fromString(changes.value(0).toString(), Qt::ISODate).addDays(-1).toString(Qt::ISODate);
        for (const QString &date : dates) {
            QSqlQuery q(db);
            QVERIFY(q.prepare(QString("select z.职工编码, inforce('dwdtb','单位编码',z.职工编码,:d), "
                                      "(select 单位编码 from dwdtb where 职工编码=z.职工编码 and %1) from zghmc z")
                                  .arg(history::inForceOn(history::Table::Department, ":d"))));
            q.bindValue(":d", date);
            QVERIFY(q.exec());
            int compared = 0;
            while (q.next()) {
                QVERIFY2(q.value(1) == q.value(2), qPrintable(date + ' ' + q.value(0).toString()));
                ++compared;
            }
            QCOMPARE(compared, 300);
        }
        // Read again by every statement: a write, here or by another program, shows at once.
        const auto latest = [&] { return queryValue(db, "select inforce('dwdtb','单位编码','000001','2099-12-31')").toString(); };
        latest();
        queryValue(db, "insert into dwdtb(职工编码,变动时间,单位编码) values('000001','2099-01-01','97')");
        QCOMPARE(latest(), "97");
        QVERIFY(database::open("other", app_paths::databaseFile(), database::Check::Identity).ok);
        queryValue(QSqlDatabase::database("other", false), "insert into dwdtb(职工编码,变动时间,单位编码) values('000001','2099-02-01','98')");
        database::close("other");
        QCOMPARE(latest(), "98");
        QSqlQuery bad(db);
        QVERIFY(!bad.exec("select inforce('dwdtb; drop table zghmc','单位编码','000001','2020-01-01')"));
    }

    void evaluates()
    {
        QFETCH(QString, expression);
        QFETCH(QVariant, expected);
        ProgramFolder folder;
        const clock_source::ScopedToday fixed(QDate(2003, 4, 20));
        const QVariant value = queryValue(folder.db(), "select " + expression);
        if (expected.isNull())
            QVERIFY2(value.isNull(), qPrintable(value.toString()));
        else
            QCOMPARE(value.toString(), expected.toString());
    }
};

QTEST_GUILESS_MAIN(TestSqlFunctions)
#include "test_sql_functions.moc"
