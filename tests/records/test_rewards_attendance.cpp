// Rewards and attendance without windows: the company attendance table against a plain sum
// over the rows, whatever the kinds are called; the personal date ranges; the checks before
// a row is stored.

#include "app/edit_fields.h"
#include "db/dialect.h"
#include "db/sql.h"
#include "records/attendance.h"
#include "records/attendance_kinds.h"
#include "records/company_attendance.h"
#include "records/rewards.h"
#include "support/test_support.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <map>

namespace {

const QDate kFrom(2025, 3, 1), kTo(2025, 3, 31);

void run(const QSqlDatabase &db, const QString &statement, const QVariantList &values = {})
{
    QSqlQuery q = sql::prepare(db, statement);
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    sql::exec(q);
}

void addPeople(const QSqlDatabase &db)
{
    for (const auto &[code, name] : {std::pair{"000001", "张三"}, {"000002", "李四"}, {"000003", "王五"}})
        run(db, "insert into zghmc (职工编码, 职工姓名) values (?, ?)", {code, name});
}

void addAttendance(const QSqlDatabase &db, const QString &employee, const QVariant &kind, const QString &date, double hours)
{
    run(db, "insert into kqjlb (职工编码, 方式编码, 考勤时间, 时数) values (?, ?, ?, ?)", {employee, kind, date, hours});
}

// The table as a plain loop over every attendance row gives it: employee → hours per kind.
std::map<QString, std::vector<double>> plainSums(const QSqlDatabase &db, const std::vector<records::AttendanceKind> &kinds)
{
    std::map<QString, std::vector<double>> sums;
    QSqlQuery q(db);
    q.exec("select 职工编码, 方式编码, 考勤时间, 时数 from kqjlb");
    while (q.next()) {
        const QDate date = QDate::fromString(q.value(2).toString(), Qt::ISODate);
        if (date < kFrom || date > kTo)
            continue;
        for (size_t k = 0; k < kinds.size(); ++k)
            if (kinds[k].code == q.value(1).toString()) {
                auto &row = sums.try_emplace(q.value(0).toString(), kinds.size(), 0.0).first->second;
                row[k] += q.value(3).toDouble();
            }
    }
    return sums;
}

// A listing's rows as "a|b|c" lines.
QStringList lines(const records::Listing &listing)
{
    QStringList out;
    for (const QVariantList &row : listing.rows) {
        QStringList cells;
        for (const QVariant &v : row)
            cells << v.toString();
        out << cells.join('|');
    }
    return out;
}

}  // namespace

class TestRewardsAttendance : public QObject {
    Q_OBJECT
private slots:
    // Kind names become columns exactly as named, however odd; the second of two names that
    // SQLite would take for one column, or one that repeats a fixed column, gets its code.
    void companyAttendanceMatchesPlainSums_data()
    {
        QTest::addColumn<QStringList>("names");  // none: the delivered kinds
        QTest::addColumn<QStringList>("columns");
        QTest::newRow("delivered kinds") << QStringList{}
                                         << QStringList{"事假", "病假", "旷工", "迟到", "早退", "婚假", "丧假", "产假", "年休假", "探亲假"};
        QTest::newRow("hostile names")
            << QStringList{"病 假", "a\"b", "1天", "select", "ab", "AB", "bz", "职工姓名", "%1 %2", " "}
            << QStringList{"病 假", "a\"b", "1天", "select", "ab", "AB_06", "bz_07", "职工姓名_08", "%1 %2", "10"};
        QTest::newRow("no kinds at all") << QStringList{"-"} << QStringList{};
    }

    void companyAttendanceMatchesPlainSums()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, columns);
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        addPeople(db);
        if (!names.isEmpty()) {
            run(db, "delete from kqfsb");
            if (names != QStringList{"-"})
                for (int i = 0; i < names.size(); ++i)
                    run(db, "insert into kqfsb (方式编码, 方式名称) values (?, ?)", {QString("%1").arg(i + 1, 2, 10, QChar('0')), names[i]});
        }
        const std::vector<records::AttendanceKind> kinds = records::attendanceKinds(db);
        if (!kinds.empty()) {
            // Two rows of one kind (fractions kept), a second kind, the range's first and last
            // days counted, the days around them not; kinds 03 on have no rows.
            addAttendance(db, "000001", "01", "2025-03-01", 2.5);
            addAttendance(db, "000001", "01", "2025-03-15", 1.25);
            addAttendance(db, "000001", "02", "2025-03-20", 3);
            addAttendance(db, "000002", "02", "2025-03-31", 0.5);
            addAttendance(db, "000002", "01", "2025-04-01", 8);
            addAttendance(db, "000003", "01", "2025-02-28", 8);
        }
        addAttendance(db, "000003", QVariant(), "2025-03-10", 4);  // no kind: in no column

        records::rebuildCompanyAttendance(db, kFrom, kTo);
        QCOMPARE(records::companyAttendanceKindColumns(db), columns);
        QSqlQuery table(db);
        QVERIFY(table.exec(records::companyAttendanceQuery(db)));
        std::map<QString, std::vector<double>> expected = plainSums(db, kinds);
        QCOMPARE(int(expected.size()), kinds.empty() ? 0 : 2);
        int rows = 0;
        while (table.next()) {
            ++rows;
            const QString code = table.value(0).toString();
            QVERIFY2(expected.count(code), qPrintable(code));
            QCOMPARE(table.value(1).toString(), code == "000001" ? "张三" : "李四");
            for (size_t k = 0; k < kinds.size(); ++k)
                QCOMPARE(table.value(int(k) + 2).toDouble(), expected[code][k]);
        }
        QCOMPARE(rows, int(expected.size()));
        QCOMPARE(queryValue(db, "select count(*) from gskqtjb where bz<>'2'").toInt(), 0);
        if (!kinds.empty())
            QCOMPARE(queryValue(db, "select " + sql::quoteIdentifier(columns[0]) + " from gskqtjb where 职工编码='000001'").toDouble(), 3.75);
    }

    // A rebuild that fails leaves the previous table as it was; a missing table is no error.
    void aFailedRebuildKeepsThePreviousTable()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        addPeople(db);
        addAttendance(db, "000001", "01", "2025-03-02", 2);
        QCOMPARE(sql::dialect(db).tableNames(db).count("gskqtjb"), 0);
        records::rebuildCompanyAttendance(db, kFrom, kTo);
        addAttendance(db, "000002", "01", "2025-03-03", 2);
        if (!testOnServer()) {
            QSqlQuery reading(db);  // a reading of the file's table still open keeps it from being dropped
            QVERIFY(reading.exec("select * from gskqtjb") && reading.next());
            QVERIFY_THROWS_EXCEPTION(sql::Failure, records::rebuildCompanyAttendance(db, kFrom, kTo));
        }
        QCOMPARE(listed(db, "select 职工编码 from gskqtjb order by 职工编码"), "000001");
        // The rows cannot be read once the new table is made: it goes with the step.
        sql::exec(db, "alter table kqjlb rename to kqjlb_moved");
        QVERIFY_THROWS_EXCEPTION(sql::Failure, records::rebuildCompanyAttendance(db, kFrom, kTo));
        sql::exec(db, "alter table kqjlb_moved rename to kqjlb");
        QCOMPARE(listed(db, "select 职工编码 from gskqtjb order by 职工编码"), "000001");
        records::rebuildCompanyAttendance(db, kFrom, kTo);
        QCOMPARE(listed(db, "select 职工编码 from gskqtjb order by 职工编码"), "000001,000002");
    }

    // One employee's rows from the first day to the last, both counted; a card per kind with rows.
    void personalRangesCountBothEnds()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        addPeople(db);
        for (const char *date : {"2025-02-28", "2025-03-01", "2025-03-31", "2025-04-01"}) {
            addAttendance(db, "000001", "02", date, 1.25);
            run(db, "insert into jcjlb (职工编码, 奖惩日期, 奖惩, 奖惩方式, 奖惩金额, 事由) values ('000001', ?, 1, '嘉奖', 1000500, '节能')", {date});
        }
        addAttendance(db, "000001", "01", "2025-03-10", 2.5);
        addAttendance(db, "000002", "01", "2025-03-10", 7);

        QCOMPARE(lines(records::employeeAttendance(db, "000001", kFrom, kTo)),
                 (QStringList{"2025-03-01|病假|1.25|", "2025-03-10|事假|2.5|", "2025-03-31|病假|1.25|"}));
        // The hours are numbers, shown as stored.
        const records::Listing attendance = records::employeeAttendance(db, "000001", kFrom, kTo);
        QCOMPARE(attendance.rows.first().at(2).typeId(), QMetaType::Double);
        QCOMPARE(attendance.measuredColumns, QList<int>{2});
        const std::vector<records::AttendanceTotal> totals = records::employeeAttendanceTotals(db, "000001", kFrom, kTo);
        QCOMPARE(int(totals.size()), 2);
        QCOMPARE(totals[0].kind, "事假");
        QCOMPARE(records::hoursText(totals[0].hours), "2.5");
        QCOMPARE(totals[1].kind, "病假");
        QCOMPARE(records::hoursText(totals[1].hours), "2.5");

        const records::Listing rewards = records::employeeRewards(db, "000001", kFrom, kTo);
        QCOMPARE(rewards.titles, (QStringList{"奖惩日期", "事由", "奖惩方式", "奖惩金额"}));
        QCOMPARE(lines(rewards), (QStringList{"2025-03-01|节能|嘉奖|100.05", "2025-03-31|节能|嘉奖|100.05"}));
    }

    // Nothing is stored unless the date, the kind and the numbers are sound.
    void savingChecksEveryValue_data()
    {
        QTest::addColumn<bool>("attendance");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("impossible date") << true << "考勤时间" << "2025-02-30" << "考勤时间不是正确的日期（年-月-日）";
        QTest::newRow("no kind") << true << "方式编码" << "" << "请从列表中选择出勤方式";
        QTest::newRow("unknown kind") << true << "方式编码" << "77" << "请从列表中选择出勤方式";
        QTest::newRow("hours in words") << true << "时数" << "两小时" << "时数不是正确的数字";
        QTest::newRow("negative hours") << true << "时数" << "-2" << "时数不是正确的数字";
        QTest::newRow("fine of five decimals") << true << "罚金" << "1.00001" << "罚金不是正确的金额（最多四位小数）";
        QTest::newRow("reward without a date") << false << "奖惩日期" << "" << "奖惩日期不是正确的日期（年-月-日）";
        QTest::newRow("neither reward nor punishment") << false << "奖惩" << "2" << "请选择奖励或惩罚";
        QTest::newRow("amount in words") << false << "奖惩金额" << "一百" << "奖惩金额不是正确的金额（最多四位小数）";
    }

    void savingChecksEveryValue()
    {
        QFETCH(bool, attendance);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, refusal);
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        addPeople(db);
        const records::EventBook &book = attendance ? records::attendanceBook() : records::rewardBook();
        edit::Values values = attendance ? edit::Values{{"考勤时间", "2025-3-1"}, {"时数", "2.5"}, {"方式编码", "01"}, {"罚金", "10.5"}}
                                         : edit::Values{{"奖惩日期", "2025-3-1"}, {"奖惩", "-1"}, {"奖惩金额", "0.0001"}};
        records::saveEvent(db, book, "000001", values, std::nullopt);  // sound values are stored
        values[key] = value;
        try {
            records::saveEvent(db, book, "000001", values, std::nullopt);
            QFAIL("stored");
        } catch (const sql::Failure &e) {
            QCOMPARE(e.message(), refusal);
        }
        QCOMPARE(queryValue(db, "select count(*) from " + book.table).toInt(), 1);
        const QString stored = attendance ? "select 考勤时间 || ' ' || 时数 || ' ' || 罚金 from kqjlb"
                                          : "select 奖惩日期 || ' ' || 奖惩 || ' ' || 奖惩金额 from jcjlb";
        QCOMPARE(queryValue(db, stored).toString(), attendance ? "2025-03-01 2.5 105000" : "2025-03-01 -1 1");
    }

    void companyRewardsInBothOrders()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        addPeople(db);
        for (const auto &[code, date] : {std::pair{"000002", "2025-03-05"}, {"000001", "2025-03-20"}, {"000002", "2025-03-01"},
                                         {"000001", "2025-04-01"}})
            run(db, "insert into jcjlb (职工编码, 奖惩日期, 奖惩, 奖惩方式) values (?, ?, 1, '嘉奖')", {code, date});
        const auto listed = [&](records::RewardOrder order, const QDate &from, const QDate &to) {
            QStringList rows;
            for (const QVariantList &row : records::companyRewards(db, from, to, order).rows)
                rows << row[0].toString() + ' ' + row[2].toString();
            return rows.join(", ");
        };
        QCOMPARE(listed(records::RewardOrder::ByDate, kFrom, kTo), "000002 2025-03-01, 000002 2025-03-05, 000001 2025-03-20");
        QCOMPARE(listed(records::RewardOrder::ByEmployee, kFrom, kTo), "000001 2025-03-20, 000002 2025-03-01, 000002 2025-03-05");
        QCOMPARE(listed(records::RewardOrder::ByDate, QDate(2025, 3, 5), QDate(2025, 3, 5)), "000002 2025-03-05");
    }
};

QTEST_GUILESS_MAIN(TestRewardsAttendance)
#include "test_rewards_attendance.moc"
