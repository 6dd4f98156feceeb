// The change log is written by the database itself: the program's writes carry their
// operator, writes by another program (the engine's own shell, a connection without the mark)
// are "外部程序", a rolled-back write leaves nothing, a generated organisation is one entry, and
// clearing old entries is itself logged and only an administrator's to do.

#include "app/edit_rows.h"
#include "codes/code_members.h"
#include "codes/code_rows.h"
#include "db/address.h"
#include "db/change_log.h"
#include "db/database.h"
#include "db/rights.h"
#include "db/sql.h"
#include "db/transaction.h"
#include "demo/demo_organisation.h"
#include "support/engine_sql.h"
#include "support/test_support.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>

namespace {

// The newest entry: writer, table, key, action, old and new values.
QString newest(const QSqlDatabase &db)
{
    return queryValue(db, "select 操作员||'|'||表名||'|'||coalesce(主键,'')||'|'||操作||'|'||coalesce(旧值,'')||'|'||coalesce(新值,'') "
                          "from czrzb order by 自动编号 desc limit 1")
        .toString();
}

// How the log names `writer` on this run's engine: on a server, where the tests connect as the
// cluster's superuser rather than as the operator's own user, with that user beside him.
QString named(const QString &writer)
{
    return testOnServer() ? writer + "（" + database::parseAddress(testDatabase()).user + "）" : writer;
}

// No writer's mark is left on the connection once its write ended, and nothing is silenced.
bool markCleared(const QSqlDatabase &db)
{
    if (onPostgres(db))
        return queryValue(db, "select coalesce(current_setting('wenpad.writer', true), '') "
                              "|| coalesce(current_setting('wenpad.silent', true), '')")
                   .toString()
                   .isEmpty();
    return queryValue(db, "select 操作员 from czbjb").isNull() && queryValue(db, "select 静默 from czbjb").toInt() == 0;
}

// A write by another program: the engine's own shell, or a plain connection of its driver.
void shellWrites(const QString &statement)
{
    QProcess shell;
    if (testOnServer())
        shell.start(WENPAD_PSQL, {"-X", "-q", "-v", "ON_ERROR_STOP=1", "-d", testDatabase(), "-c", statement});
    else
        shell.start(WENPAD_SQLITE3, {testDatabase(), statement});
    QVERIFY(shell.waitForFinished(10000));
    QVERIFY2(shell.exitCode() == 0, shell.readAllStandardError().constData());
}

void plainConnectionWrites(const QString &statement)
{
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(testOnServer() ? "QPSQL" : "QSQLITE", "other");
        if (testOnServer()) {
            const database::Address address = database::parseAddress(testDatabase());
            other.setHostName(address.host);
            other.setPort(address.port);
            other.setUserName(address.user);
            other.setDatabaseName(address.name);
        } else {
            other.setDatabaseName(testDatabase());
        }
        QVERIFY(other.open());
        sql::exec(other, statement);
        other.close();
    }
    QSqlDatabase::removeDatabase("other");
}

struct SessionScope {
    explicit SessionScope(const rights::Session &s) { rights::setSession(s); }
    ~SessionScope() { rights::setSession({}); }
};

}  // namespace

class TestChangeLog : public QObject {
    Q_OBJECT

private slots:
    void everyWriterIsNamed()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        const SessionScope session({QStringLiteral("小李"), rights::kAdministrator});
        edit::writeRow(db, "mzdmb", {{"民族编码", "99"}, {"民族名称", "测试族"}});
        QCOMPARE(newest(db), named("小李") + "|mzdmb|99|新增||民族编码=99；民族名称=测试族");
        // An update names only what changed; the mark is gone once the write is committed.
        edit::writeRow(db, "mzdmb", {{"民族名称", "改名族"}}, {"民族编码", "99"});
        QCOMPARE(newest(db), named("小李") + "|mzdmb|99|修改|民族名称=测试族|民族名称=改名族");
        QVERIFY(markCleared(db));

        // Another program: the engine's shell, and a connection the program did not mark.
        shellWrites("delete from mzdmb where 民族编码='99'");
        QCOMPARE(newest(db), named(change_log::kOutsider) + "|mzdmb|99|删除|民族编码=99；民族名称=改名族|");
        plainConnectionWrites("insert into dpdmb values ('98', '某党')");
        QCOMPARE(newest(db).section('|', 0, 3), named(change_log::kOutsider) + "|dpdmb|98|新增");

        // Amounts in yuan; a password is logged as changed, never with its hash.
        edit::writeRow(db, "zwdjdmb", {{"等级工资", qlonglong(12345600)}}, {"等级编码", "01"});
        QVERIFY2(newest(db).endsWith("等级工资=1234.56"), qPrintable(newest(db)));
        codes::saveRow(db, *codes::findMember("Tfrmczydm"),
                       {"01", {{"czybh", "01"}, {"czyxm", "admin"}, {"角色", rights::kAdministrator}}, QStringLiteral("新密码12345")});
        QVERIFY2(newest(db).contains("czymm=******") && !newest(db).contains("$argon2"), qPrintable(newest(db)));
    }

    void aRolledBackWriteLeavesNoEntryAndNoMark()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        const int before = queryValue(db, "select count(*) from czrzb").toInt();
        {
            Transaction transaction(db);
            edit::writeRow(db, "mzdmb", {{"民族编码", "97"}, {"民族名称", "回滚族"}});
        }
        QCOMPARE(queryValue(db, "select count(*) from czrzb").toInt(), before);
        QVERIFY(markCleared(db));
    }

    void aGeneratedOrganisationIsOneEntryAndLaterWritesAreLogged()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        demo::Options options;
        options.employees = 30;
        demo::generate(db, options);
        QCOMPARE(queryValue(db, "select count(*) from czrzb").toInt(), 1);
        QCOMPARE(newest(db), named("wenpad-admin") + "|全部||生成||演示数据：30名职工（种子1）");
        edit::writeRow(db, "zghmc", {{"职工姓名", "新名"}}, {"职工编码", "000001"});
        QCOMPARE(queryValue(db, "select 职工编码 from czrzb order by 自动编号 desc limit 1").toString(), QStringLiteral("000001"));
    }

    void theListingFiltersAndHidesWhatTheRoleMayNotRead()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        demo::Options options;
        options.employees = 5;
        demo::generate(db, options);
        edit::writeRow(db, "zghmc", {{"职工姓名", "甲"}}, {"职工编码", "000002"});
        edit::writeRow(db, "gzb", {{"基本工资", qlonglong(10000000)}},
                       {"自动编号", queryValue(db, "select min(自动编号) from gzb where 职工编码='000002'")});
        const auto tables = [&](const change_log::Filter &filter, const QString &role) {
            QSqlQuery q = change_log::entries(db, filter, role);
            sql::exec(q);
            QStringList names;
            while (q.next())
                names << q.value(2).toString();
            return names;
        };
        QCOMPARE(tables({"000002", {}, {}, {}, {}}, rights::kAdministrator), (QStringList{"gzb", "zghmc"}));
        QCOMPARE(tables({"000002", {}, {}, {}, {}}, rights::kPersonnel), QStringList{"zghmc"});
        QCOMPARE(tables({{}, {}, "zghmc", {}, {}}, rights::kQuery), QStringList{"zghmc"});
        const QDate today = QDate::currentDate();
        QCOMPARE(tables({"000002", {}, {}, today.addDays(1), {}}, rights::kAdministrator), QStringList());
        QCOMPARE(tables({"000002", named("wenpad-admin"), {}, today.addDays(-1), today}, rights::kAdministrator).size(), 2);
        // The table filter offers only what the role may read.
        QVERIFY(change_log::tablesLogged(db, rights::kAdministrator).contains("gzb"));
        const QStringList personnel = change_log::tablesLogged(db, rights::kPersonnel);
        QVERIFY(personnel.contains("zghmc") && !personnel.contains("gzb"));
    }

    void onlyAnAdministratorClearsOldEntriesAndTheClearingIsLogged()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        sql::exec(db, "insert into czrzb (时间, 操作员, 表名, 操作) values ('2020-01-01 08:00:00', '甲', 'zghmc', '新增'), "
                      "('2020-01-02 08:00:00', '甲', 'zghmc', '新增'), ('2030-01-01 08:00:00', '甲', 'zghmc', '新增')");
        {
            const SessionScope session({QStringLiteral("小王"), rights::kQuery});
            try {
                change_log::clearBefore(db, QDate(2021, 1, 1));
                QFAIL("a 查询 operator cleared the log");
            } catch (const sql::Failure &e) {
                QCOMPARE(e.message(), rights::kDeniedMessage);
            }
        }
        QCOMPARE(queryValue(db, "select count(*) from czrzb").toInt(), 3);
        QCOMPARE(change_log::clearBefore(db, QDate(2020, 1, 2)), 1);
        QCOMPARE(newest(db), named("wenpad-admin") + "|czrzb||清除||清除2020-01-02以前的日志1条");
        QCOMPARE(queryValue(db, "select count(*) from czrzb").toInt(), 3);
    }

    void salaryItemsKeepTheirColumnsLogged()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        const codes::Member &items = *codes::findMember("Tfrmgzgs");
        codes::saveRow(db, items, {{}, {{"字段", "交通补贴"}, {"公式", QVariant()}}, std::nullopt});
        demo::Options options;
        options.employees = 2;
        demo::generate(db, options);
        const QVariant id = queryValue(db, "select min(自动编号) from gzb");
        edit::writeRow(db, "gzb", {{"交通补贴", qlonglong(2000000)}}, {"自动编号", id});
        static const QRegularExpression transport("交通补贴=200(\\.0+)?$"), basic("基本工资=1(\\.0+)?$");
        QVERIFY2(newest(db).contains(transport), qPrintable(newest(db)));
        codes::deleteRow(db, items, "交通补贴");
        edit::writeRow(db, "gzb", {{"基本工资", qlonglong(10000)}}, {"自动编号", id});
        QVERIFY2(newest(db).contains(basic), qPrintable(newest(db)));
    }
};

QTEST_GUILESS_MAIN(TestChangeLog)
#include "test_change_log.moc"
