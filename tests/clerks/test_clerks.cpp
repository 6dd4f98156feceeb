// Several clerks on one database: each case runs two connections to one database (a file, or in
// the server run a database on the test cluster), as two copies of the program would.

#include "support/test_support.h"

#include "app/edit_rows.h"
#include "codes/code_members.h"
#include "codes/code_rows.h"
#include "db/app_paths.h"
#include "db/change_counter.h"
#include "db/database.h"
#include "db/delivered_data.h"
#include "db/office_copy.h"
#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "pay/appraisal.h"
#include "pay/pay_month.h"
#include "pay/pay_sheets.h"
#include "records/work_dynamics.h"
#include "reports/row_source.h"
#include "staff/employee_record.h"
#include "stats/statistics_table.h"

#include <QRegularExpression>
#include <QSqlRecord>
#include <QTest>
#include <atomic>
#include <functional>
#include <thread>

namespace {

// A second clerk: his own connection to the test's database.
class SecondClerk {
public:
    explicit SecondClerk(const QString &name = QStringLiteral("clerk2")) : name_(name)
    {
        const database::OpenResult r = database::open(name_, testDatabase(), database::Check::Identity);
        if (!r.ok)
            qFatal("second connection: %s", qPrintable(r.message));
    }
    ~SecondClerk() { database::close(name_); }
    QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }

private:
    QString name_;
};

// A small generated office, the same every run.
void fillOffice(const QSqlDatabase &db, int employees = 40)
{
    demo::Options options;
    options.employees = employees;
    options.payMonths = 1;
    options.appraisalYears = 1;
    options.attendanceYears = 1;
    demo::generate(db, options);
}

QString firstEmployee(const QSqlDatabase &db) { return queryValue(db, "select min(职工编码) from zghmc").toString(); }

// Runs `work` on its own connection in a thread of its own, started at once.
std::thread clerkThread(const QString &name, std::function<void(const QSqlDatabase &)> work)
{
    return std::thread([name, work = std::move(work)] {
        {
            const SecondClerk clerk(name);
            work(clerk.db());
        }
        QSqlDatabase::removeDatabase(name);
    });
}

// Expects `save` to be refused as a stale save.
void expectStale(const std::function<void()> &save)
{
    try {
        save();
        QFAIL("the second save was written");
    } catch (const sql::Failure &e) {
        QCOMPARE(int(e.kind()), int(sql::Failure::Kind::Stale));
        QCOMPARE(e.message(), sql::kStaleMessage);
    }
}

}  // namespace

class TestClerks : public QObject {
    Q_OBJECT

private slots:
    // Both clerks read the row, the first saves, the second's save is refused and the first's
    // values stay; read again, the second may save.
    void secondSaveOfARowIsRefused_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"employee", "history", "pay", "code"})
            QTest::newRow(kind) << kind;
    }
    void secondSaveOfARowIsRefused()
    {
        QFETCH(QString, kind);
        ProgramFolder folder;
        fillOffice(folder.db());
        const SecondClerk second;
        const QSqlDatabase one = folder.db(), two = second.db();
        QString employee = firstEmployee(one);
        // The editor saves only a record that passes its checks (not every generated one does).
        while (kind == "employee" && !staff::checkEmployee(one, *staff::loadEmployee(one, employee)).isEmpty())
            employee = queryValue(one, "select min(职工编码) from zghmc where 职工编码>'" + employee + "'").toString();

        // Each: read on a connection, change to a value, save; and what the row holds.
        std::function<std::function<void()>(const QSqlDatabase &, const QString &)> edit;
        std::function<QString()> stored;
        if (kind == "employee") {
            edit = [&](const QSqlDatabase &db, const QString &value) {
                staff::EmployeeRecord r = *staff::loadEmployee(db, employee);
                return std::function<void()>([db, r, value]() mutable {
                    r.values["职工姓名"] = value;
                    const QString message = staff::saveEmployee(db, r, false);
                    if (message == sql::kStaleMessage)
                        throw sql::staleRow();
                    QCOMPARE(message, QString());
                });
            };
            stored = [&] { return queryValue(one, "select 职工姓名 from zghmc where 职工编码='" + employee + "'").toString(); };
        } else if (kind == "history") {
            const records::HistoryGroup &group = records::historyGroups().front();
            edit = [&](const QSqlDatabase &db, const QString &value) {
                QSqlQuery q = records::historyRows(db, group, employee);
                q.next();
                const QSqlRecord record = q.record();
                edit::Values values;
                for (const edit::Field &f : group.fields)
                    values.insert(f.key(), edit::shownValue(f, record.value(f.column)));
                values["变动时间"] = value;
                const edit::RecordedRow row{record.value("自动编号").toLongLong(), edit::asRead(record)};
                return std::function<void()>([&group, db, values, row, employee] {
                    records::saveHistoryRow(db, group, employee, values, row);
                });
            };
            stored = [&] {
                return queryValue(one, "select min(变动时间) from dwdtb where 职工编码='" + employee + "'").toString();
            };
        } else if (kind == "pay") {
            const QString month = queryValue(one, "select max(年月) from gzb").toString();
            const pay::Sheet &wages = pay::sheets().front();
            // A department with pay rows in the month.
            QString department;
            QSqlQuery departments(one);
            departments.exec("select 单位编码 from dwdmb order by 单位编码");
            while (department.isEmpty() && departments.next())
                if (!loadSheet(one, wages, QDate::fromString(month, Qt::ISODate), departments.value(0).toString()).isEmpty())
                    department = departments.value(0).toString();
            QVERIFY(!department.isEmpty());
            edit = [&, month, department](const QSqlDatabase &db, const QString &value) {
                pay::SheetRow row = loadSheet(db, wages, QDate::fromString(month, Qt::ISODate), department).front();
                return std::function<void()>([&wages, db, row, value]() mutable {
                    row.amounts["基本工资"] = value.toLongLong() * 10000;
                    pay::storeRow(db, wages, row);
                });
            };
            stored = [&, month, department] {
                const QString code = loadSheet(one, wages, QDate::fromString(month, Qt::ISODate), department).front().code;
                return QString::number(queryValue(one, "select 基本工资 from gzb where 年月='" + month + "' and 职工编码='" + code
                                                           + "'").toLongLong() / 10000);
            };
        } else {
            const codes::Member &departments = *codes::findMember("Tfrmdwdm");
            const QString code = codes::readRows(one, departments).front().value(departments.codeColumn).toString();
            edit = [&](const QSqlDatabase &db, const QString &value) {
                const QSqlRecord record = codes::readRows(db, departments).front();
                codes::RowChange change{record.value(departments.codeColumn).toString(), {}, {}, edit::asRead(record)};
                for (int i = 0; i < record.count(); ++i)
                    change.values.insert(record.fieldName(i), record.value(i));
                change.values[departments.nameColumn] = value;
                return std::function<void()>([&departments, db, change] { codes::saveRow(db, departments, change); });
            };
            stored = [&, code] { return queryValue(one, "select 单位名称 from dwdmb where 单位编码='" + code + "'").toString(); };
        }
        const QString first = kind == "history" ? "1990-01-01" : kind == "pay" ? "111" : "甲";
        const QString second_ = kind == "history" ? "1991-01-01" : kind == "pay" ? "222" : "乙";
        const std::function<void()> firstSave = edit(one, first);
        const std::function<void()> secondSave = edit(two, second_);
        firstSave();
        const QString before = tableContents(one).join('\n');
        expectStale(secondSave);
        QCOMPARE(tableContents(one).join('\n'), before);
        QCOMPARE(stored(), first);
        // Read again, the second clerk's save goes through.
        edit(two, second_)();
        QCOMPARE(stored(), second_);
    }

    // Both clerks press "generate" at once: one writes the month (or year), the other writes
    // nothing, and no employee has a row twice.
    void oneOfTwoGenerationsWrites_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("pay month") << "pay";
        QTest::newRow("appraisal year") << "appraisal";
    }
    void oneOfTwoGenerationsWrites()
    {
        QFETCH(QString, kind);
        ProgramFolder folder;
        fillOffice(folder.db());
        const QDate month(2027, 1, 1);
        const int year = 2027;
        std::atomic<int> written[2] = {0, 0};
        std::vector<std::thread> clerks;
        for (int i = 0; i < 2; ++i)
            clerks.push_back(clerkThread(QStringLiteral("generating%1").arg(i), [&, i](const QSqlDatabase &db) {
                try {
                    written[i] = kind == "pay" ? pay::generateMonth(db, month, pay::Generation::CopyPrevious)
                                               : pay::generateAppraisalSheet(db, year);
                } catch (const sql::Failure &) {
                    written[i] = -1;
                }
            }));
        for (std::thread &t : clerks)
            t.join();
        QVERIFY(written[0] >= 0 && written[1] >= 0);
        QVERIFY((written[0] > 0) != (written[1] > 0));
        const QStringList tables = kind == "pay" ? QStringList{"gzb", "btb", "jjb"} : QStringList{"ndkhb"};
        const QString period = kind == "pay" ? "年月='2027-01-01'" : "年度=2027";
        int rows = 0;
        for (const QString &table : tables) {
            rows += queryValue(folder.db(), QString("select count(*) from %1 where %2").arg(table, period)).toInt();
            QCOMPARE(queryValue(folder.db(), QString("select count(*) from (select 职工编码 from %1 where %2 "
                                                     "group by 职工编码 having count(*)>1) d").arg(table, period)).toInt(), 0);
        }
        QCOMPARE(rows, int(written[0] + written[1]));
    }

    // A clerk reading his statistics table while another rebuilds it for another date sees his
    // own date's rows only: the other rebuild waits for the read to end.
    void statisticsReadSeesItsOwnDate()
    {
        ProgramFolder folder;
        fillOffice(folder.db());
        const stats::TableDescription &table = *stats::statisticsTables().front();
        const QDate early(2010, 1, 1), late(2026, 6, 30);
        const auto csvFor = [&](const QSqlDatabase &db, const QDate &date) {
            QString csv;
            table.readBuilt(db, date, [&] { csv = stats::gridCsv(db, table); });
            return csv;
        };
        const QString expectedEarly = csvFor(folder.db(), early), expectedLate = csvFor(folder.db(), late);
        QVERIFY(expectedEarly != expectedLate);

        QString seenEarly, seenLate;
        std::thread other;
        table.readBuilt(folder.db(), early, [&] {
            const QString firstHalf = stats::gridCsv(folder.db(), table);
            other = clerkThread("rebuilding", [&](const QSqlDatabase &db) { seenLate = csvFor(db, late); });
            QTest::qWait(300);  // the other clerk's rebuild is under way, waiting for the write lock
            seenEarly = stats::gridCsv(folder.db(), table);
            QCOMPARE(seenEarly, firstHalf);
        });
        other.join();
        QCOMPARE(seenEarly, expectedEarly);
        QCOMPARE(seenLate, expectedLate);
    }

    // A printout read page by page shows one moment: another clerk's writes between its pages
    // appear in the next printout, not halfway through this one.
    void longPrintReadsOneMoment()
    {
        ProgramFolder folder;
        fillOffice(folder.db(), 300);  // more rows than one window, so later pages are read later
        const SecondClerk second;
        const windowed::Listing listing{"职工编码, 职工姓名", "from zghmc", {}, {"职工编码"}};
        const auto printed = [&] {
            return report::windowedRows(folder.db(), listing, [](const QVariantList &values, const QStringList &) { return values; });
        };
        {
            const std::shared_ptr<report::RowSource> rows = printed();
            const int count = rows->count();
            const QList<report::Row> firstPage = rows->rows(0, 10);
            sql::exec(second.db(), "update zghmc set 职工姓名='改名'");
            const QList<report::Row> all = rows->rows(0, count);
            QCOMPARE(all.size(), count);
            QCOMPARE(all.mid(0, 10), firstPage);
            for (const report::Row &row : all)
                QVERIFY(row.value(1).toString() != "改名");
        }
        const std::shared_ptr<report::RowSource> after = printed();
        QCOMPARE(after->rows(0, 1).front().value(1).toString(), QString("改名"));
    }

    // Two writers of one employee's history at once, as two programs would write (each in his
    // own transaction, neither waiting for the other's start): one adds a row, the other deletes
    // the row that was current, and waits for the first to commit. The kept current row is the
    // greatest left, and the history's count grew by both writes.
    void currentRowsAndCountsStayRightUnderConcurrentWrites()
    {
        ProgramFolder folder;
        fillOffice(folder.db());
        const QSqlDatabase one = folder.db();
        const QString employee = firstEmployee(one);
        const qint64 current = queryValue(one, "select max(自动编号) from dwdtb where 职工编码='" + employee + "'").toLongLong();
        const auto count = [&] { return change_counter::counts(one, {"dwdtb"}); };
        const QString countBefore = count();

        sql::exec(one, "BEGIN");
        sql::exec(one, "insert into dwdtb (职工编码, 单位编码, 变动时间) values ('" + employee + "', '01', '2030-01-01')");
        std::thread other = clerkThread("deleting", [&](const QSqlDatabase &db) {
            sql::exec(db, QString("delete from dwdtb where 自动编号=%1").arg(current));
        });
        QTest::qWait(300);  // the delete is under way, waiting for the insert's transaction
        sql::exec(one, "COMMIT");
        other.join();

        const QString kept = listed(one, "select 职工编码 || '=' || cast(dwdtb as text) from dqdtb where dwdtb is not null order by 1");
        const QString greatest = listed(one, "select 职工编码 || '=' || cast(max(自动编号) as text) from dwdtb group by 职工编码 order by 1");
        QCOMPARE(kept, greatest);
        QCOMPARE(queryValue(one, "select dwdtb from dqdtb where 职工编码='" + employee + "'").toLongLong(),
                 queryValue(one, "select 自动编号 from dwdtb where 变动时间='2030-01-01'").toLongLong());
        const qint64 before = countBefore.section('=', 1).toLongLong();
        QCOMPARE(count(), QString("dwdtb=%1").arg(before + 2));
    }

    // An office copied into a new file holds the same rows, table by table; a target that
    // holds data is refused and left as it was.
    void copyMovesEveryTable()
    {
        ProgramFolder folder;
        fillOffice(folder.db());
        const QString source = testDatabase(), target = folder.file("copy.db");
        const AdminRun copied = runAdmin({"copy", "--from", source, "--to", target});
        QCOMPARE(copied.status, 0);
        const QStringList tables = office_copy::tablesInReferenceOrder();
        const QStringList sourceRows = databaseContents(source), targetRows = databaseContents(target);
        for (const QString &table : tables) {
            const auto ofTable = [&](const QStringList &rows) { return rows.filter(QRegularExpression("^" + table + "\\|")); };
            QCOMPARE(ofTable(targetRows), ofTable(sourceRows));
            const qint64 count = ofTable(sourceRows).size();
            QVERIFY2(copied.out.contains(QString("%1\t%2\t%2\n").arg(table).arg(count)), qPrintable(table));
        }
        QVERIFY(ofTableCount(targetRows, "zghmc") > 0);

        const QByteArray before = databaseChecksum(target);
        const AdminRun again = runAdmin({"copy", "--from", source, "--to", target});
        QCOMPARE(again.status, 1);
        QVERIFY2(again.err.contains("目标数据库中已有数据"), qPrintable(again.err));
        QCOMPARE(databaseChecksum(target), before);
    }

    // What a new database holds is what a copy may replace: nothing outside the delivered tables.
    void deliveredTablesAreTheFilledOnes()
    {
        ProgramFolder folder;
        for (const QString &table : office_copy::tablesInReferenceOrder())
            QCOMPARE(queryValue(folder.db(), "select count(*) from " + table).toLongLong() > 0,
                     delivered::filledTables().contains(table));
    }

private:
    static qint64 ofTableCount(const QStringList &rows, const QString &table)
    {
        return rows.filter(QRegularExpression("^" + table + "\\|")).size();
    }
};

QTEST_MAIN(TestClerks)
#include "test_clerks.moc"
