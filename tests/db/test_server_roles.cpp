// Rights on the server itself: each role a group of the server with the grants of its rights,
// each operator a user there in his role's group, kept in step with the operator table, and
// refused by the server whatever client he connects with. Runs against the cluster named by
// WENPAD_TEST_PG (scripts/pg-cluster).

#include "codes/code_members.h"
#include "codes/code_rows.h"
#include "db/change_log.h"
#include "db/database.h"
#include "db/delivered_data.h"
#include "db/dialect.h"
#include "db/operators.h"
#include "db/rights.h"
#include "db/schema.h"
#include "db/server_database.h"
#include "db/server_roles.h"
#include "db/sql.h"
#include "db/transaction.h"
#include "support/engine_sql.h"
#include "support/test_support.h"

#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QUrl>
#include <QUuid>

namespace {

QString cluster() { return qEnvironmentVariable("WENPAD_TEST_PG"); }

// A plain connection, as any client of the server makes one.
QSqlDatabase connectAs(const QString &connection, const QString &database, const QString &user, const QString &password = {})
{
    const QUrl url(cluster());
    QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", connection);
    db.setHostName(url.host());
    db.setPort(url.port(5432));
    db.setDatabaseName(database);
    db.setUserName(user);
    db.setPassword(password);
    return db;
}

QString addressOf(const QString &database)
{
    QUrl url(cluster());
    url.setPath('/' + database);
    return url.toString();
}

// A database made by `wenpad-admin init` on the cluster, its name.
QString initialised()
{
    const QString name = QStringLiteral("r") + QUuid::createUuid().toString(QUuid::Id128);
    {
        QSqlDatabase admin = connectAs("cluster", QUrl(cluster()).path().mid(1), QUrl(cluster()).userName());
        if (!admin.open() || !QSqlQuery(admin).exec("create database " + name))
            qFatal("cannot make a database on the test cluster: %s", qPrintable(admin.lastError().text()));
        admin.close();
    }
    QSqlDatabase::removeDatabase("cluster");
    const AdminRun made = runAdmin({"init", "--db", addressOf(name)});
    if (made.status != 0)
        qFatal("init failed: %s", qPrintable(made.err));
    return name;
}

// The groups of this office the server user belongs to, joined by commas; empty when there is
// no such user.
QString groupsOf(const QSqlDatabase &db, const QString &user)
{
    return joinedColumn(db, QStringLiteral("select g.rolname from pg_roles u join pg_auth_members m on m.member=u.oid "
                                     "join pg_roles g on g.oid=m.roleid where u.rolname='%1' order by 1")
                          .arg(user));
}

bool userExists(const QSqlDatabase &db, const QString &user)
{
    return !joinedColumn(db, QStringLiteral("select 1 from pg_roles where rolname='%1' and rolcanlogin").arg(user)).isEmpty();
}

const codes::Member &operatorScreen()
{
    for (const codes::Member &m : codes::members())
        if (m.table == QStringLiteral("czydmb"))
            return m;
    qFatal("no operator screen");
}

}  // namespace

class TestServerRoles : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        if (cluster().isEmpty())
            QSKIP("no test cluster (run through scripts/test or scripts/pg-cluster)");
        rights::setSession({});
    }

    // Connected as their own users with a plain client, the 查询 and 工资 operators may do what
    // their roles may and no more; the server's refusal is the program's "no right" failure.
    void theServerHoldsEachRolesRights()
    {
        ProgramFolder folder(false);
        const QString name = initialised();
        QVERIFY(database::open("owner", addressOf(name)).ok);
        const QSqlDatabase owner = QSqlDatabase::database("owner", false);
        operators::add(owner, "查询员", rights::kQuery, "password-q");
        operators::add(owner, "工资员", rights::kPayroll, "password-p");
        sql::exec(owner, "insert into zghmc (职工编码, 职工姓名) values ('000001', '甲')");

        QCOMPARE(groupsOf(owner, server_roles::userName("查询员", name)), server_roles::groupName(name, rights::kQuery));
        QCOMPARE(groupsOf(owner, server_roles::userName("工资员", name)), server_roles::groupName(name, rights::kPayroll));

        struct Case {
            const char *user;
            const char *password;
            const char *statement;
            bool allowed;
        } const cases[] = {
            {"查询员", "password-q", "select count(*) from zghmc", true},
            {"查询员", "password-q", "select count(*) from gzb", true},
            {"查询员", "password-q", "insert into zghmc (职工编码, 职工姓名) values ('000002', '乙')", false},
            {"查询员", "password-q", "insert into gzb (年月, 职工编码, 基本工资) values ('2024-01-01', '000001', 10000)", false},
            {"查询员", "password-q", "select czymm from czydmb", false},
            {"查询员", "password-q", "delete from czrzb", false},
            {"工资员", "password-p", "insert into gzb (年月, 职工编码, 基本工资) values ('2024-01-01', '000001', 10000)", true},
            {"工资员", "password-p", "update gzb set 基本工资=20000", true},
            {"工资员", "password-p", "update zghmc set 职工姓名='丙'", false},
            {"工资员", "password-p", "insert into zghmc (职工编码, 职工姓名) values ('000003', '丁')", false},
        };
        for (const Case &c : cases) {
            QSqlDatabase client = connectAs("client", name, server_roles::userName(c.user, name), c.password);
            QVERIFY2(client.open(), qPrintable(client.lastError().text()));
            try {
                sql::exec(client, c.statement);
                QVERIFY2(c.allowed, c.statement);
            } catch (const sql::Failure &e) {
                QVERIFY2(!c.allowed, qPrintable(e.message()));
                QCOMPARE(e.kind(), sql::Failure::Kind::Denied);
                QCOMPARE(e.explain({}), QStringLiteral("您没有此项操作的权限。"));
            }
            client.close();
            client = {};
            QSqlDatabase::removeDatabase("client");
        }
        // The writes the triggers make for the pay row (log, counts) needed no right of his.
        QCOMPARE(joinedColumn(owner, "select 操作员 from czrzb where 表名='gzb' order by 自动编号 limit 1"),
                 QStringLiteral("外部程序（工资员@%1）").arg(name).left(40));
        database::close("owner");
    }

    // The operator screen and the admin tool add, change and remove the server users with
    // the rows, in the same transaction; the last 系统管理员 stays one on the server too.
    void operatorChangesReachTheServer()
    {
        ProgramFolder folder(false);
        const QString name = initialised();
        QVERIFY(database::open("owner", addressOf(name)).ok);
        const QSqlDatabase owner = QSqlDatabase::database("owner", false);
        const QString admin = server_roles::userName(delivered::kOperatorName, name);
        QCOMPARE(groupsOf(owner, admin), server_roles::groupName(name, rights::kAdministrator));

        QProcess add;
        add.start(QCoreApplication::applicationDirPath() + "/wenpad-admin",
                  {"operator", "add", "王五", "--role", rights::kQuery, "--db", addressOf(name)});
        add.write("password-w\n");
        add.closeWriteChannel();
        QVERIFY(add.waitForFinished(60000));
        QVERIFY2(add.exitCode() == 0, add.readAllStandardError().constData());
        const QString wang = server_roles::userName("王五", name);
        QCOMPARE(groupsOf(owner, wang), server_roles::groupName(name, rights::kQuery));
        const QString number = joinedColumn(owner, "select czybh from czydmb where czyxm='王五'");

        // Another role and a new name from the operator screen: one user, moved and renamed.
        codes::RowChange change{number, {{"czybh", number}, {"czyxm", "王六"}, {"角色", rights::kPersonnel}}};
        change.password = QStringLiteral("password-6");
        codes::saveRow(owner, operatorScreen(), change);
        QVERIFY(!userExists(owner, wang));
        const QString renamed = server_roles::userName("王六", name);
        QCOMPARE(groupsOf(owner, renamed), server_roles::groupName(name, rights::kPersonnel));
        QSqlDatabase client = connectAs("client", name, renamed, "password-6");
        QVERIFY2(client.open(), qPrintable(client.lastError().text()));
        client.close();

        // The last administrator keeps his role: refused, and his user keeps its group.
        const QString adminNumber = operators::connected(owner, delivered::kOperatorName)->number;
        codes::RowChange demote{adminNumber, {{"czybh", adminNumber}, {"czyxm", delivered::kOperatorName}, {"角色", rights::kQuery}}};
        QVERIFY_THROWS_EXCEPTION(sql::Failure, codes::saveRow(owner, operatorScreen(), demote));
        QCOMPARE(groupsOf(owner, admin), server_roles::groupName(name, rights::kAdministrator));

        codes::deleteRow(owner, operatorScreen(), number);
        QVERIFY(!userExists(owner, renamed));

        // A refused insert of the operator table leaves no user behind either.
        QVERIFY_THROWS_EXCEPTION(sql::Failure, operators::add(owner, "admin", rights::kQuery, "password-x"));
        QCOMPARE(joinedColumn(owner, "select count(*) from czydmb"), QStringLiteral("1"));
        client = {};
        QSqlDatabase::removeDatabase("client");
        database::close("owner");
    }

    // The login's connection: the operator's name and password as the server user, a wrong
    // password refused as such; his own new password changes the server's; the log names him.
    void operatorsLogInAsThemselves()
    {
        ProgramFolder folder(false);
        const QString name = initialised();
        database::Address address = database::parseAddress(addressOf(name));
        address.user = server_roles::userName(delivered::kOperatorName, name);
        address.password = QStringLiteral("wrong");
        const database::OpenResult refused = database::openServer("operator", address);
        QVERIFY(!refused.ok);
        QVERIFY2(refused.refusedLogin, qPrintable(refused.message));

        address.password = delivered::kOperatorPassword;
        QVERIFY(database::openServer("operator", address).ok);
        const QSqlDatabase db = QSqlDatabase::database("operator", false);
        const std::optional<operators::Operator> me = operators::connected(db, delivered::kOperatorName);
        QVERIFY(me);
        QCOMPARE(me->role, rights::kAdministrator);
        rights::setSession({me->name, me->role});
        operators::changeOwnPassword(db, me->number, "password-new");
        {
            Transaction transaction(db);
            sql::exec(db, "insert into zghmc (职工编码, 职工姓名) values ('000001', '甲')");
            transaction.commit();
        }
        QCOMPARE(joinedColumn(db, "select 操作员 from czrzb where 表名='zghmc'"), delivered::kOperatorName);
        database::close("operator");

        QVERIFY(!database::openServer("operator", address).ok);
        address.password = QStringLiteral("password-new");
        QVERIFY(database::openServer("operator", address).ok);
        database::close("operator");
    }

    // A server database made before the roles climbs to them when its owner opens it: the
    // groups, the functions and a user for every operator are there afterwards.
    void theLadderMakesTheRolesOfAnOlderDatabase()
    {
        ProgramFolder folder(false);
        const QString name = initialised();
        {
            QSqlDatabase owner = connectAs("older", name, QUrl(cluster()).userName());
            QVERIFY(owner.open());
            sql::exec(owner, "drop trigger wenpad_operator_users on czydmb");
            sql::exec(owner, "drop function wenpad_operator_users(), wenpad_operator_sync(text, text, text, boolean), "
                             "wenpad_set_password(text, text, text)");
            sql::exec(owner, QStringLiteral("drop role \"%1\"").arg(server_roles::userName(delivered::kOperatorName, name)));
            sql::exec(owner, "update sjkbsb set 版本=4");
            owner.close();
        }
        QSqlDatabase::removeDatabase("older");
        const database::OpenResult climbed = database::open("owner", addressOf(name));
        QVERIFY2(climbed.ok, qPrintable(climbed.message));
        const QSqlDatabase owner = QSqlDatabase::database("owner", false);
        QCOMPARE(sql::dialect(owner).version(owner), schema::kSchemaVersion);
        QCOMPARE(groupsOf(owner, server_roles::userName(delivered::kOperatorName, name)),
                 server_roles::groupName(name, rights::kAdministrator));
        database::close("owner");
    }
};

QTEST_MAIN(TestServerRoles)
#include "test_server_roles.moc"
