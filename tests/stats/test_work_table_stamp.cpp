// A statistics table is shown without building it again only while it holds the chosen date
// and nothing it counts has been written since: every kind of write to what it reads makes it
// stale, writes elsewhere (another table's count) and writes rolled back do not.

#include "db/change_counter.h"
#include "db/database.h"
#include "db/dialect.h"
#include "db/schema.h"
#include "db/sql.h"
#include "db/transaction.h"
#include "demo/demo_organisation.h"
#include "stats/statistics_table.h"
#include "stats/work_table_stamp.h"
#include "support/test_support.h"

#include <QTest>

namespace {

const QDate kCutoff(2024, 12, 31);

const stats::TableDescription &analysis() { return *stats::findStatisticsTable("zgjbqkfxb"); }

}  // namespace

class WorkTableStampTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        demo::generate(folder_.db(), {.employees = 40, .seed = 3});
    }

    void aWriteToWhatItCountsMakesItStale_data()
    {
        QTest::addColumn<QString>("write");
        QTest::addColumn<QDate>("shown");
        QTest::addColumn<bool>("current");
        const QString employee = "(select min(职工编码) from zghmc)";
        QTest::newRow("nothing written") << QString() << kCutoff << true;
        QTest::newRow("another date") << QString() << kCutoff.addDays(1) << false;
        QTest::newRow("employee added") << "insert into zghmc (职工编码,职工姓名) values ('999999','新')" << kCutoff << false;
        QTest::newRow("history row changed") << "update dwdtb set 单位编码='02' where 自动编号=(select min(自动编号) from dwdtb)"
                                             << kCutoff << false;
        QTest::newRow("history row deleted") << "delete from dwdtb where 自动编号=(select max(自动编号) from dwdtb)"
                                             << kCutoff << false;
        QTest::newRow("code renamed") << "update dwdmb set 单位名称='改名' where 单位编码='01'" << kCutoff << false;
        QTest::newRow("pay row written") << "insert into gzb (年月,职工编码,实发工资) values ('2024-12-01'," + employee + ",10000)"
                                         << kCutoff << true;
        // Counted for the other statistics tables, not read by this one.
        QTest::newRow("title history row deleted") << "delete from zcdtb where 自动编号=(select max(自动编号) from zcdtb)"
                                                   << kCutoff << true;
        QTest::newRow("course added") << "insert into pxnrb (培训编码,培训日期) values ('T-NEW','2024-05-01')" << kCutoff << true;
    }

    void aWriteToWhatItCountsMakesItStale()
    {
        QFETCH(QString, write);
        QFETCH(QDate, shown);
        QFETCH(bool, current);
        const QSqlDatabase db = folder_.db();
        analysis().rebuild(db, kCutoff);
        QVERIFY(analysis().holds(db, kCutoff));
        if (!write.isEmpty())
            sql::exec(db, write);
        QCOMPARE(analysis().holds(db, shown), current);
    }

    void writesRolledBackOrByAnotherConnection()
    {
        const QSqlDatabase db = folder_.db();
        analysis().rebuild(db, kCutoff);
        {
            Transaction abandoned(db);
            sql::exec(db, "update zghmc set 职工姓名='某' where 职工编码=(select min(职工编码) from zghmc)");
        }
        QVERIFY(analysis().holds(db, kCutoff));

        QVERIFY(database::open("other copy", folder_.address()).ok);
        sql::exec(QSqlDatabase::database("other copy", false), "update dwdmb set 单位名称='另名' where 单位编码='01'");
        database::close("other copy");
        QVERIFY(!analysis().holds(db, kCutoff));
    }

    void otherStatementsMakeItStale()
    {
        const QSqlDatabase db = folder_.db();
        analysis().rebuild(db, kCutoff);
        stats::WorkTableStamp older{analysis().name, kCutoff.toString(Qt::ISODate),
                                    stats::WorkTableStamp::fingerprintOf({"an older program's statements"})};
        QVERIFY(!older.isCurrent(db));
    }

    // What the stamp relies on besides the counts: no statistics table reads the clock.
    void noTableReadsTheClock()
    {
        for (const sql::Dialect *dialect : sql::dialects())
            for (const stats::TableDescription *table : stats::statisticsTables())
                QVERIFY2(!table->statements(*table, *dialect).join('\n').contains("now", Qt::CaseInsensitive),
                         qPrintable(table->name));
    }

    // A write adds one to its own table's count only, so writers of different tables touch
    // different rows; every table a statistics table reads is counted.
    void aWriteCountsForItsOwnTableOnly()
    {
        const QSqlDatabase db = folder_.db();
        const QStringList counted = change_counter::countedTables();
        for (const schema::WorkTable &work : schema::workTables())
            for (const QString &read : work.reads)
                QVERIFY2(counted.contains(read), qPrintable(work.table.name + " reads " + read));
        QVERIFY(!counted.contains("gzb"));
        QVERIFY(counted.contains("dwdmb") && counted.contains("pxjlb"));
        const QStringList before = change_counter::counts(db, counted).split(',');
        sql::exec(db, "update dwdmb set 单位名称=单位名称 where 单位编码='01'");
        const QStringList after = change_counter::counts(db, counted).split(',');
        QCOMPARE(after.size(), before.size());
        for (int i = 0; i < after.size(); ++i)
            QCOMPARE(after[i] != before[i], after[i].startsWith("dwdmb="));
    }

    // Writes made while a counting trigger was missing were not counted: putting the trigger
    // back on opening also makes what was stamped meanwhile stale.
    void aTriggerPutBackMakesItStale()
    {
        const QSqlDatabase db = folder_.db();
        analysis().rebuild(db, kCutoff);
        sql::exec(db, sql::dialect(db).dropTrigger("bgjs_zghmc_update", "zghmc"));
        sql::exec(db, "update zghmc set 职工姓名='某' where 职工编码=(select min(职工编码) from zghmc)");
        QVERIFY(database::open("reopened", folder_.address()).ok);
        database::close("reopened");
        QVERIFY(sql::tableAndTriggerNames(db).contains("bgjs_zghmc_update"));
        QVERIFY(!analysis().holds(db, kCutoff));
    }

    // A file made before the count existed gets it when opened.
    void anOlderFileGetsTheCounter()
    {
        const QString file = folder_.file("older.db");
        copyDeliveredDatabase(file);
        QVERIFY(database::open("older", file).ok);
        sql::exec(QSqlDatabase::database("older", false), "drop trigger bgjs_zghmc_insert");
        sql::exec(QSqlDatabase::database("older", false), "drop table bgjsb");
        database::close("older");
        QVERIFY(database::open("older", file).ok);
        const QSqlDatabase db = QSqlDatabase::database("older", false);
        QCOMPARE(change_counter::counts(db, {"zghmc"}), "zghmc=0");
        sql::exec(db, "insert into zghmc (职工编码,职工姓名) values ('999999','新')");
        QCOMPARE(change_counter::counts(db, {"zghmc", "dwdtb"}), "zghmc=1,dwdtb=0");
        database::close("older");
    }

private:
    ProgramFolder folder_;
};

QTEST_GUILESS_MAIN(WorkTableStampTest)
#include "test_work_table_stamp.moc"
