// A generated organisation reads as real to a clerk: pay rows that add up by the sheets' rule,
// leave, rewards and schools that fit the person, pay and appraisals where the screens open.

#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "pay/pay_sheets.h"
#include "db/dialect.h"
#include "support/test_support.h"

#include <QTest>

class TestDemoOrganisation : public QObject {
    Q_OBJECT

    ProgramFolder folder_;
    demo::Options options_;

    int count(const QString &statement) { return queryValue(folder_.db(), statement).toInt(); }

private slots:
    void initTestCase()
    {
        options_.employees = 400;
        demo::generate(folder_.db(), options_);
    }

    // Every pay row holds the totals the sheets' rule gives.
    void payFollowsTheRule()
    {
        for (const pay::Sheet &s : pay::sheets()) {
            QVERIFY(count(QString("select count(*) from %1").arg(s.table)) > options_.employees);
            const sql::Dialect &dialect = sql::dialect(folder_.db());
            QCOMPARE(count(QString("select count(*) from %1 where not (%2 and %3)")
                               .arg(s.table, dialect.sameValue(sql::quoteIdentifier(s.gross), pay::grossExpression(s)),
                                    dialect.sameValue(sql::quoteIdentifier(s.net), pay::netExpression(s)))),
                     0);
        }
    }

    // Pay in the anchor's month and the months before it; appraisals in the years before its year.
    void payMonthsAndAppraisalYears()
    {
        const QDate month(options_.anchor.year(), options_.anchor.month(), 1);
        QCOMPARE(queryValue(folder_.db(), "select max(年月) from gzb").toString(), month.toString(Qt::ISODate));
        QCOMPARE(count("select count(distinct 年月) from gzb"), options_.payMonths);
        QCOMPARE(count("select max(年度) from ndkhb"), options_.anchor.year() - 1);
        QCOMPARE(count("select count(distinct 年度) from ndkhb"), options_.appraisalYears);
    }

    void peopleReadAsReal()
    {
        QVERIFY(count("select count(*) from kqjlb where 方式编码='08'") > 0);
        QCOMPARE(count("select count(*) from kqjlb join zghmc using(职工编码) where 方式编码='08' and 职工性别='男'"), 0);
        QVERIFY(count("select count(*) from jcjlb where 奖惩=1") > 0);
        QCOMPARE(count("select count(*) from jcjlb where 奖惩=1 and 事由 in ('迟到早退','违反劳动纪律','违章操作')"), 0);
        QCOMPARE(count("select count(*) from jcjlb where 奖惩=-1 and 事由 in ('技术革新','超额完成任务','节能降耗','安全生产无事故')"), 0);
        // Universities for 本科 and above, schools below; no major below 中专.
        QCOMPARE(count("select count(*) from zghmc where 文化程度<='03' and 毕业学校 not like '%大学'"), 0);
        QCOMPARE(count("select count(*) from zghmc where 文化程度>='04' and 毕业学校 like '%大学'"), 0);
        QCOMPARE(count("select count(*) from zghmc where 文化程度>='06' and 所学专业 is not null"), 0);
        QCOMPARE(count("select count(*) from xxjlb join zghmc using(职工编码) where xxjlb.学校 <> zghmc.毕业学校 || coalesce(zghmc.所学专业,'')"), 0);
    }
};

QTEST_MAIN(TestDemoOrganisation)
#include "test_demo_organisation.moc"
