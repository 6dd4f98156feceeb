// The comparison tables: per-department net wages by month and by year, against a plain sum on
// generated pay and on a small fixture of moves, gaps and departments not on duty.

#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "pay/pay_comparison.h"
#include "staff/employee_fixture.h"

#include <QTest>

using namespace pay;

namespace {

void addWage(const QSqlDatabase &db, const QString &code, const QString &month, qint64 net)
{
    // The net as the sheet's rule gives it: every term present.
    sql::exec(db, QString("insert into gzb(年月,职工编码,基本工资,岗位工资,工龄,边远津贴,扣除税金,实发工资) values('%1','%2',%3,0,0,0,0,%3)")
                      .arg(month, code).arg(net));
}

QVariantList rowOf(const QList<QVariantList> &rows, const QString &name)
{
    for (const QVariantList &r : rows)
        if (r.first().toString() == name)
            return r;
    return {};
}

}  // namespace

class TestPayComparison : public QObject {
    Q_OBJECT

private slots:
    // Every wage row found row by row under its employee's department on the first day of its
    // month; the generated pay spans two calendar years and includes department moves.
    void totalsMatchAPlainSum()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        demo::Options options;
        options.employees = 300;
        options.payMonths = 14;
        demo::generate(db, options);
        QMap<QString, QMap<QPair<int, int>, qint64>> plain;  // department code → (year, month) → net
        QSqlQuery q = sql::prepare(db, "select 职工编码, 年月, 实发工资 from gzb");
        sql::exec(q);
        while (q.next()) {
            const QString dept = queryValue(db, QString("select 单位编码 from dwdtb where 自动编号="
                                                        "(select max(自动编号) from dwdtb where 职工编码='%1' and 变动时间<='%2')")
                                                    .arg(q.value(0).toString(), q.value(1).toString())).toString();
            const QDate d = q.value(1).toDate();
            plain[dept][{d.year(), d.month()}] += q.value(2).toLongLong();
        }
        QVERIFY(queryValue(db, "select count(distinct 职工编码) from dwdtb group by 职工编码 having count(distinct 单位编码)>1 limit 1").isValid());
        const int last = options.anchor.year();
        for (const auto &[span, year] : {std::pair{ComparisonSpan::Months, last}, {ComparisonSpan::Months, last - 1},
                                         {ComparisonSpan::Months, last - 2}, {ComparisonSpan::Years, last},
                                         {ComparisonSpan::Years, last + 9}, {ComparisonSpan::Years, last + 10}}) {
            const QList<QVariantList> totals = comparisonTotals(db, span, year);
            QSqlQuery d = sql::prepare(db, "select 单位编码, 单位名称 from dwdmb where 单位编码<'97' order by rowid");
            sql::exec(d);
            int r = 0;
            const QList<int> periods = comparisonPeriods(span, year);
            while (d.next()) {
                QCOMPARE(totals.at(r).first(), d.value(1));
                for (int k = 0; k < periods.size(); ++k) {
                    std::optional<qint64> sum;
                    for (const auto &[when, net] : plain.value(d.value(0).toString()).asKeyValueRange())
                        if (span == ComparisonSpan::Months ? when == qMakePair(year, periods[k]) : when.first == periods[k])
                            sum = sum.value_or(0) + net;
                    QCOMPARE(totals.at(r).at(1 + k).isNull(), !sum);
                    if (sum)
                        QCOMPARE(totals.at(r).at(1 + k).toLongLong(), *sum);
                }
                ++r;
            }
            QCOMPARE(totals.size(), r);
        }
    }

    void movesGapsAndDepartmentsOffDuty()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        addEmployee(db, "000001", "01", "2003-01-01");
        addEmployee(db, "000002", "02", "1990-01-01");
        addEmployee(db, "000003", "97", "2003-01-01");
        // 000001 moves to 人事科 on 15 June: June's wages (dated the 1st) stay with the old department.
        sql::exec(db, "insert into dwdtb(职工编码,变动时间,单位编码) values('000001','2005-06-15','02')");
        for (int m = 1; m <= 12; ++m)
            addWage(db, "000001", QDate(2005, m, 1).toString(Qt::ISODate), 10000 * m);
        addWage(db, "000002", "2005-03-01", 7);
        addWage(db, "000003", "2005-03-01", 9);
        addWage(db, "000002", "1996-05-01", 5);
        addWage(db, "000002", "1995-12-01", 3);

        const Grid months = comparisonGrid(db, ComparisonSpan::Months, 2005);
        QCOMPARE(months.titles.mid(0, 4), (QStringList{"单位名称", "一月工资", "二月工资", "三月工资"}));
        QCOMPARE(months.titles.last(), "十二月工资");
        const QVariantList office = rowOf(months.rows, "经理办公室"), personnel = rowOf(months.rows, "人事科");
        QCOMPARE(office.mid(1), (QVariantList{"1.00", "2.00", "3.00", "4.00", "5.00", "6.00", {}, {}, {}, {}, {}, {}}));
        QCOMPARE(personnel.mid(1), (QVariantList{{}, {}, "0.0007", {}, {}, {}, "7.00", "8.00", "9.00", "10.00", "11.00", "12.00"}));
        QVERIFY(rowOf(months.rows, "退休人员").isEmpty());
        QVERIFY(rowOf(months.rows, "财务科").mid(1).count(QVariant()) == 12);

        const Grid years = comparisonGrid(db, ComparisonSpan::Years, 2005);
        QCOMPARE(years.titles, (QStringList{"单位名称", "2005年", "2004年", "2003年", "2002年", "2001年", "2000年", "1999年", "1998年", "1997年", "1996年"}));
        QCOMPARE(rowOf(years.rows, "人事科").mid(1), (QVariantList{"57.0007", {}, {}, {}, {}, {}, {}, {}, {}, "0.0005"}));
        QCOMPARE(rowOf(years.rows, "经理办公室").at(1), "21.00");
    }
};

QTEST_MAIN(TestPayComparison)
#include "test_pay_comparison.moc"
