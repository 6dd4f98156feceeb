// Pay months: the totals' formulas, generating a month (who gets rows, run twice, carried
// forward, all or nothing), the end-of-month department rule, and the company statistics
// against a plain sum, month by month with progress and stopping.

#include "db/dialect.h"
#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "pay/pay_comparison.h"
#include "pay/pay_grids.h"
#include "pay/pay_month.h"
#include "pay/pay_statistics.h"
#include "db/money.h"
#include "staff/employee_fixture.h"
#include "support/engine_sql.h"

#include <QTest>

using namespace pay;

namespace {

const QDate march = firstDay(2024, 3);

// A: department 01 throughout; B: left ("98"); C: 01, moved to 02 on 15 March; D: first
// department row within March; E: no department row before March at all (entered in April).
void fillStaff(const QSqlDatabase &db)
{
    addEmployee(db, "000001", "01", "2020-01-01");
    addEmployee(db, "000002", "98", "2020-01-01");
    addEmployee(db, "000003", "01", "2020-01-01");
    sql::exec(db, "insert into dwdtb(职工编码,变动时间,单位编码) values('000003','2024-03-15','02')");
    addEmployee(db, "000004", "01", "2024-03-10");
    addEmployee(db, "000005", "01", "2024-04-02");
}

QStringList codesOf(const QSqlDatabase &db, const QString &table, const QDate &month)
{
    QSqlQuery q = sql::prepare(db, QString("select 职工编码 from %1 where 年月=:m order by 1").arg(table));
    q.bindValue(":m", sql::dateValue(month));
    sql::exec(q);
    QStringList codes;
    while (q.next())
        codes << q.value(0).toString();
    return codes;
}

Amounts yuan(const QMap<QString, QString> &typed)
{
    Amounts a;
    for (auto it = typed.begin(); it != typed.end(); ++it)
        a[it.key()] = it.value().isEmpty() ? std::nullopt : money::parseYuan(it.value());
    return a;
}

}  // namespace

class TestPayMonth : public QObject {
    Q_OBJECT

private slots:
    void totals_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("typed");  // column=yuan
        QTest::addColumn<QString>("gross");
        QTest::addColumn<QString>("net");
        QTest::newRow("wage") << "gzb" << QStringList{"基本工资=1000", "岗位工资=500", "工龄=30", "边远津贴=20", "扣除税金=50"} << "1550.00" << "1500.00";
        QTest::newRow("bonus") << "jjb" << QStringList{"单位系数工资=800", "岗位系数=200", "扣发=100", "税金=30"} << "1000.00" << "870.00";
        QTest::newRow("allowance with an empty term") << "btb" << QStringList{"生活补贴=1", "食品补贴=", "艰难补贴=1", "液化气补贴=1", "误餐补贴=1", "医药补贴=1", "扣发公积金=0", "扣发养老金=0"} << "" << "";
        QTest::newRow("empty deduction") << "gzb" << QStringList{"基本工资=1", "岗位工资=1", "工龄=1", "边远津贴=1", "扣除税金="} << "4.00" << "";
        QTest::newRow("four decimals") << "jjb" << QStringList{"单位系数工资=0.0001", "岗位系数=1234.5678", "扣发=0.0002", "税金=0.1"} << "1234.5679" << "1234.4677";
        QTest::newRow("large sums without loss") << "jjb" << QStringList{"单位系数工资=900000000000.0001", "岗位系数=900000000000.0002", "扣发=0", "税金=0.0001"} << "1800000000000.0003" << "1800000000000.0002";
    }
    void totals()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, typed);
        QFETCH(QString, gross);
        QFETCH(QString, net);
        QMap<QString, QString> values;
        for (const QString &t : typed)
            values[t.section('=', 0, 0)] = t.section('=', 1);
        Amounts a = yuan(values);
        const Sheet &s = sheet(table);
        computeTotals(s, a);
        QCOMPARE(a.value(s.gross) ? money::formatYuan(*a.value(s.gross)) : QString(), gross);
        QCOMPARE(a.value(s.net) ? money::formatYuan(*a.value(s.net)) : QString(), net);
    }

    void generatingAMonth()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        fillStaff(db);
        QCOMPARE(generateMonth(db, march, Generation::Blank), 3 * 2);
        for (const char *t : {"gzb", "btb", "jjb"})  // A and C: B has left, D and E came later
            QCOMPARE(codesOf(db, t, march), (QStringList{"000001", "000003"}));
        QCOMPARE(generateMonth(db, march, Generation::Blank), 0);  // once per month
        QCOMPARE(queryValue(db, "select count(*) from gzb where 基本工资 is not null or 应发工资 is not null").toInt(), 0);

        // End-of-month rule: C, moved on the 15th, is listed under the new department.
        QCOMPARE(loadSheet(db, sheet("gzb"), march, "02").size(), 1);
        QCOMPARE(loadSheet(db, sheet("gzb"), march, "02").first().code, "000003");
        QCOMPARE(loadSheet(db, sheet("gzb"), march, "01").size(), 1);

        // Amounts typed into March, with salary items, carried into April; D gets a blank row.
        // The items' names come from the file (a restored backup, another program), so one with
        // a blank and one that reads like an expression are carried as names, never as SQL.
        const QString night = "夜班 费", expression = "基本工资*0+(select count(*)*1000000 from czydmb)";
        for (const QString &item : {night, expression}) {
            sql::exec(db, sql::dialect(db).addColumn("gzb", {item, schema::Kind::Money}, "0"));
            QSqlQuery add = sql::prepare(db, "insert into gzzd(字段) values(:item)");
            add.bindValue(":item", item);
            sql::exec(add);
        }
        QList<SheetRow> rows = loadSheet(db, sheet("gzb"), march, "01", salaryItemColumns(db));
        rows[0].amounts = yuan({{"基本工资", "1000"}, {"岗位工资", "500.5"}, {"工龄", "30"}, {"边远津贴", "0"},
                                {"扣除税金", "50.25"}, {night, "12.3456"}, {expression, "7"}});
        storeRow(db, sheet("gzb"), rows[0]);
        QCOMPARE(queryValue(db, "select 实发工资 from gzb where 职工编码='000001'").toLongLong(), 14802500LL);
        const QDate april = march.addMonths(1);
        QCOMPARE(generateMonth(db, april, Generation::CopyPrevious), 3 * 3);
        QCOMPARE(codesOf(db, "gzb", april), (QStringList{"000001", "000003", "000004"}));
        const QList<SheetRow> carried = loadSheet(db, sheet("gzb"), april, "01", salaryItemColumns(db));
        QCOMPARE(carried.size(), 2);
        QCOMPARE(carried[0].amounts.value(night), std::optional<qint64>(123456));
        QCOMPARE(carried[0].amounts.value(expression), std::optional<qint64>(70000));
        QCOMPARE(carried[0].amounts.value("实发工资"), std::optional<qint64>(14802500));
        QVERIFY(carried[0].id != rows[0].id);
        QCOMPARE(carried[1].amounts.value("基本工资"), std::nullopt);  // D: blank
        QCOMPARE(generateMonth(db, april, Generation::CopyPrevious), 0);
    }

    // The totals are computed whenever a row is read, whatever another program stored in them:
    // the sheet, the company statistics and the comparison all give the rule's figures, and a
    // month whose net amounts are all empty stays empty in the comparison.
    void totalsAreComputedOnRead()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        fillStaff(db);
        generateMonth(db, march, Generation::Blank);
        const QString office = queryValue(db, "select 单位名称 from dwdmb where 单位编码='01'").toString();
        const auto marchNet = [&] {
            for (const QVariantList &row : comparisonTotals(db, ComparisonSpan::Months, 2024))
                if (row.first().toString() == office)
                    return row.at(3);
            return QVariant("no row");
        };
        QVERIFY(marchNet().isNull());

        // Stored as the old demo did: the gross without 工龄 (30 yuan).
        sql::exec(db, "update gzb set 基本工资=10000000, 岗位工资=5000000, 工龄=30, 边远津贴=0, 应发工资=15000000, "
                      "扣除税金=0, 实发工资=15000000 where 职工编码='000001'");
        const SheetRow row = loadSheet(db, sheet("gzb"), march, "01").first();
        QCOMPARE(row.amounts.value("应发工资"), std::optional<qint64>(15300000));
        QCOMPARE(row.amounts.value("实发工资"), std::optional<qint64>(15300000));
        const QList<QVariantList> totals = departmentTotals(db, sheet("gzb"), march, march);
        const QVariantList &first = totals.first();
        QCOMPARE(first.first().toString(), office);
        QCOMPARE(first.at(1 + int(sheet("gzb").amountColumns().indexOf("应发工资"))).toLongLong(), 15300000LL);
        QCOMPARE(marchNet().toLongLong(), 15300000LL);
    }

    // Each pay row carries its employee's department on its month's first day, whatever is
    // written to the history afterwards (a back-dated correction, a date moved, a row deleted,
    // a department changed, a pay row moved to another month); a department's sheet still
    // lists whoever belongs to it on the month's last day.
    void payRowsFollowTheDepartmentHistory()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        fillStaff(db);
        generateMonth(db, march, Generation::Blank);
        generateMonth(db, march.addMonths(1), Generation::Blank);
        const QString rule = "(select h.单位编码 from dwdtb h where h.职工编码=t.职工编码 and h.变动时间<=%1 order by h.自动编号 desc limit 1)";
        const auto wrongRows = [&] {
            int wrong = 0;
            for (const char *table : {"gzb", "btb", "jjb"})
                wrong += queryValue(db, QString("select count(*) from %1 t where t.单位编码 is distinct from %2").arg(table, rule.arg("t.年月"))).toInt();
            return wrong;
        };
        const auto sheetMatchesTheRule = [&] {
            for (const QDate &month : {march, march.addMonths(1)})
                for (const QString department : {"01", "02"}) {
                    QStringList listed;
                    for (const SheetRow &row : loadSheet(db, sheet("btb"), month, department))
                        listed << row.code;
                    QSqlQuery q = sql::prepare(db, QString("select t.职工编码 from btb t where t.年月=:m and %1=:d order by 1").arg(rule.arg(":e")));
                    q.bindValue(":m", sql::dateValue(month));
                    q.bindValue(":e", sql::dateValue(month.addMonths(1).addDays(-1)));
                    q.bindValue(":d", department);
                    sql::exec(q);
                    QStringList plain;
                    while (q.next())
                        plain << q.value(0).toString();
                    if (listed != plain) {
                        qWarning("%s %s: %s, the rule: %s", qPrintable(month.toString()), qPrintable(department),
                                 qPrintable(listed.join(',')), qPrintable(plain.join(',')));
                        return false;
                    }
                }
            return true;
        };
        QCOMPARE(queryValue(db, "select 单位编码 from gzb where 职工编码='000003' and 年月='2024-04-01'").toString(), "02");
        QCOMPARE(wrongRows(), 0);
        QVERIFY(sheetMatchesTheRule());
        const char *writes[] = {
            "insert into dwdtb(职工编码,变动时间,单位编码) values('000001','2024-02-01','02')",
            "update dwdtb set 变动时间='2024-03-20' where 职工编码='000001' and 单位编码='02'",
            "update dwdtb set 单位编码='03' where 职工编码='000003' and 变动时间='2024-03-15'",
            "update dwdtb set 变动时间='2024-03-01' where 职工编码='000003' and 变动时间='2024-03-15'",
            "delete from dwdtb where 职工编码='000001' and 单位编码='02'",
            "update gzb set 年月='2024-05-01' where 职工编码='000003' and 年月='2024-04-01'",
            "insert into jjb(年月,职工编码) values('2024-06-01','000004')",
        };
        for (const char *write : writes) {
            sql::exec(db, write);
            QVERIFY2(wrongRows() == 0, write);
            QVERIFY2(sheetMatchesTheRule(), write);
        }
    }

    // A sheet refused half-way leaves none of the three.
    void aFailedGenerationWritesNothing()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        fillStaff(db);
        failInserts(db, "jjb", "disk trouble");
        QVERIFY_THROWS_EXCEPTION(sql::Failure, generateMonth(db, march, Generation::Blank));
        QCOMPARE(queryValue(db, "select (select count(*) from gzb)+(select count(*) from btb)+(select count(*) from jjb)").toInt(), 0);
    }

    // The statistics against a plain sum: every pay row of a generated organisation counted
    // under its employee's department on the first day of its month, found row by row.
    void statisticsMatchAPlainSum()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        demo::Options options;
        options.employees = 300;
        options.payMonths = 3;
        demo::generate(db, options);
        // Names that sort against the codes: the departments are still listed by code.
        sql::exec(db, "update dwdmb set 单位名称=case when cast(单位编码 as integer) > 89 then '0' else '' end "
                      "|| cast(99 - cast(单位编码 as integer) as text) || 单位名称");
        const QDate last = firstDay(options.anchor.year(), options.anchor.month());
        for (const Sheet &s : sheets()) {
            for (const auto &[from, to] : {std::pair{last, last}, std::pair{last.addMonths(-2), last}, std::pair{last.addYears(-1), last.addMonths(-3)}}) {
                QMap<QString, QList<qint64>> plain;
                QSqlQuery q = sql::prepare(db, QString("select 职工编码, 年月, %1 from %2 where 年月>=:f and 年月<=:t").arg(s.amountColumns().join(','), s.table));
                q.bindValue(":f", sql::dateValue(from));
                q.bindValue(":t", sql::dateValue(to));
                sql::exec(q);
                while (q.next()) {
                    // The row in force: of the rows dated on or before the day, the last recorded.
                    const QString name = queryValue(db, QString("select 单位名称 from dwdtb join dwdmb using(单位编码) where 自动编号="
                                                                "(select max(自动编号) from dwdtb where 职工编码='%1' and 变动时间<='%2')")
                                                            .arg(q.value(0).toString(), q.value(1).toString())).toString();
                    if (name.isEmpty())
                        continue;
                    QList<qint64> &sums = plain[name];
                    sums.resize(s.amountColumns().size());
                    for (int i = 0; i < sums.size(); ++i)
                        sums[i] += q.value(2 + i).toLongLong();
                }
                const QList<QVariantList> totals = departmentTotals(db, s, from, to);
                QCOMPARE(totals.size(), plain.size());
                QStringList listed, byCode;
                for (const QVariantList &row : totals)
                    listed << row[0].toString();
                byCode = listed;
                std::sort(byCode.begin(), byCode.end(), std::greater<>());  // the prefix runs against the code
                QCOMPARE(listed, byCode);
                for (const QVariantList &row : totals)
                    for (int i = 0; i < s.amountColumns().size(); ++i)
                        QCOMPARE(row[1 + i].toLongLong(), plain.value(row[0].toString()).value(i));
            }
        }
    }

    // A year is summed month by month: each month of each sheet is one step of the progress,
    // a stop between two months returns nothing, and two departments of one name are one row.
    void statisticsTellProgressAndStop()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        demo::Options options;
        options.employees = 200;
        options.payMonths = 3;
        demo::generate(db, options);
        const QDate january = firstDay(options.anchor.year(), 1), december = january.addMonths(11);
        const auto wagesOf = [&](const std::vector<Grid> &grids, const QString &department) {
            for (const QVariantList &row : grids.front().rows)
                if (row.first().toString() == department)
                    return money::parseYuan(row.at(1 + int(sheet("gzb").amountColumns().indexOf("应发工资"))).toString()).value_or(0);
            return qint64(0);
        };
        const std::vector<Grid> whole = statisticsGrids(db, january, december);
        QList<std::pair<int, int>> steps;
        const std::optional<std::vector<Grid>> told = statisticsGrids(db, january, december, [&](int done, int total) {
            steps << std::pair{done, total};
            return true;
        });
        QVERIFY(told);
        QCOMPARE(steps.size(), 36);
        QCOMPARE(steps.first(), std::pair(1, 36));
        QCOMPARE(steps.last(), std::pair(36, 36));
        for (size_t i = 0; i < whole.size(); ++i)
            QCOMPARE(told->at(i).rows, whole.at(i).rows);

        int calls = 0;
        QVERIFY(!statisticsGrids(db, january, december, [&](int, int) { return ++calls < 5; }));
        QCOMPARE(calls, 5);

        const QString first = queryValue(db, "select 单位名称 from dwdmb where 单位编码='01'").toString();
        const QString second = queryValue(db, "select 单位名称 from dwdmb where 单位编码='02'").toString();
        const qint64 both = wagesOf(whole, first) + wagesOf(whole, second);
        QVERIFY(wagesOf(whole, second) > 0);
        sql::exec(db, "update dwdmb set 单位名称=(select 单位名称 from dwdmb where 单位编码='01') where 单位编码='02'");
        const std::vector<Grid> merged = statisticsGrids(db, january, december);
        QCOMPARE(merged.front().rows.size(), whole.front().rows.size() - 1);
        QCOMPARE(wagesOf(merged, first), both);
    }
};

QTEST_MAIN(TestPayMonth)
#include "test_pay_month.moc"
