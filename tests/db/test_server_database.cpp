// A database on a PostgreSQL server: made by init, refused when not ours or newer, the helper
// functions giving the file's results, the kept current rows and counts, work tables per
// connection. Runs against the cluster named by WENPAD_TEST_PG (scripts/pg-cluster).

#include "db/database.h"
#include "db/dialect.h"
#include "db/schema.h"
#include "demo/demo_organisation.h"
#include "support/test_support.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QUrl>

namespace {

QString cluster() { return qEnvironmentVariable("WENPAD_TEST_PG"); }

// A fresh, empty database on the cluster; its address.
QString freshDatabase() { return emptyServerDatabase(); }

}  // namespace

class TestServerDatabase : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        if (cluster().isEmpty())
            QSKIP("no test cluster (run through scripts/test or scripts/pg-cluster)");
    }

    void helperFunctionsGiveTheFilesResults()
    {
        ProgramFolder folder;
        const QString address = freshDatabase();
        QVERIFY(database::open("server", address).ok);
        const QSqlDatabase server = QSqlDatabase::database("server", false);
        for (const char *expression :
             {"year('2003-04-20')", "month('2003-12-01')", "year(NULL)", "year('2003-02-30')", "month('2003-13-01')",
              "year('03-04-20')", "datediff('yyyy','1970-12-31','2003-01-01')", "datediff('YYYY','2003-01-01','1970-12-31')",
              "datediff('d','2004-02-28','2004-03-01')", "datediff('m','2002-12-31','2003-01-01')",
              "datediff('d','2003-01-01',NULL)", "val('08')", "val(' 1 2abc')", "val('abc')", "val('-3.5x')", "val('--5')",
              "val('-.5')", "val('1.2.3')", "val(NULL)"}) {
            const QVariant file = queryValue(folder.db(), QStringLiteral("select %1").arg(expression));
            const QVariant onServer = queryValue(server, QStringLiteral("select %1").arg(expression));
            QVERIFY2(file.isNull() == onServer.isNull() && file.toDouble() == onServer.toDouble(),
                     qPrintable(QStringLiteral("%1: %2 / %3").arg(expression, file.toString(), onServer.toString())));
        }
        database::close("server");
    }

    void initMakesTheDatabaseOnceAndRefusesOthers()
    {
        const QString address = freshDatabase();
        AdminRun made = runAdmin({"init", "--db", address});
        QCOMPARE(made.status, 0);
        AdminRun again = runAdmin({"init", "--db", address});
        QVERIFY(again.status != 0);
        QVERIFY2(again.err.contains("数据库已经建立"), qPrintable(again.err));

        // Another application's database: refused, its table alone and untouched.
        const QString other = freshDatabase();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "other");
            const QUrl url(other);
            db.setHostName(url.host());
            db.setPort(url.port());
            db.setUserName(url.userName());
            db.setDatabaseName(url.path().mid(1));
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec("create table accounts (id int)"));
            db.close();
        }
        QSqlDatabase::removeDatabase("other");
        AdminRun refused = runAdmin({"init", "--db", other});
        QVERIFY(refused.status != 0);
        QVERIFY2(refused.err.contains("其他数据表"), qPrintable(refused.err));
        const database::OpenResult opened = database::open("other", other);
        QVERIFY(!opened.ok);
        QVERIFY2(opened.message.contains("不是本系统的数据库"), qPrintable(opened.message));

        // A newer schema: refused.
        QVERIFY(database::open("newer", address).ok);
        queryValue(QSqlDatabase::database("newer", false), QStringLiteral("update sjkbsb set 版本=%1").arg(schema::kSchemaVersion + 1));
        database::close("newer");
        const database::OpenResult newer = database::open("newer", address);
        QVERIFY(!newer.ok);
        QVERIFY2(newer.message.contains("更新版本"), qPrintable(newer.message));
    }

    // The PL/pgSQL triggers: after generated histories, deletions and a moved row, each
    // employee's kept current row is the greatest 自动编号, and each table's writes are counted.
    void triggersKeepCurrentRowsAndCounts()
    {
        ProgramFolder folder(false);
        const QString address = freshDatabase();
        QVERIFY(database::open(database::kSharedConnection, address).ok);
        const QSqlDatabase db = database::shared();
        demo::Options options;
        options.employees = 60;
        demo::generate(db, options);
        const qint64 before = queryValue(db, "select 计数 from bgjsb where 表名='dwdtb'").toLongLong();
        queryValue(db, "delete from dwdtb where 自动编号 in (select max(自动编号) from dwdtb group by 职工编码 limit 10)");
        queryValue(db, "update zwdtb set 职工编码='000002' where 自动编号=(select max(自动编号) from zwdtb where 职工编码='000001')");
        QVERIFY(queryValue(db, "select 计数 from bgjsb where 表名='dwdtb'").toLongLong() > before);
        for (const QString &table : historyTables()) {
            const QString mismatch = QStringLiteral(
                "select count(*) from (select 职工编码, max(自动编号) m from %1 group by 职工编码) h "
                "full join dqdtb d on d.职工编码=h.职工编码 where h.m is distinct from d.\"%1\" and (h.m is not null or d.\"%1\" is not null)").arg(table);
            QCOMPARE(queryValue(db, mismatch).toInt(), 0);
        }
        database::close(database::kSharedConnection);
    }

    // Two clerks' connections: a statistics work table filled on one is not seen on the other.
    void workTablesArePerConnection()
    {
        const QString address = freshDatabase();
        QVERIFY(database::open("first", address).ok);
        QVERIFY(database::open("second", address).ok);
        const QSqlDatabase first = QSqlDatabase::database("first", false);
        const QSqlDatabase second = QSqlDatabase::database("second", false);
        QVERIFY(!schema::workTables().empty());
        const schema::WorkTable &work = schema::workTables().front();
        queryValue(first, QStringLiteral("insert into %1 (%2) values (NULL)").arg(work.table.name, work.table.columns.front().name));
        QCOMPARE(queryValue(first, "select count(*) from " + work.table.name).toInt(), 1);
        QCOMPARE(queryValue(second, "select count(*) from " + work.table.name).toInt(), 0);
        database::close("first");
        database::close("second");
    }
};

QTEST_MAIN(TestServerDatabase)
#include "test_server_database.moc"
