// An office moved between a file and a server and back, and a server's backup and restore:
// the same rows in every table of the register, new rows numbered after the copied ones, and a
// restore that keeps the replaced data as a private file first. Runs against the cluster named
// by WENPAD_TEST_PG (scripts/pg-cluster); skipped without it.

#include "db/backup.h"
#include "db/change_log.h"
#include "db/database.h"
#include "db/office_copy.h"
#include "db/server_database.h"
#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "support/test_engine.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

namespace {

// The register's rows ("table|value|…"), sorted: what a copy must carry over, whatever order
// each engine hands its rows out in.
QStringList registerRows(const QStringList &contents)
{
    QStringList rows;
    for (const QString &table : office_copy::tablesInReferenceOrder())
        rows << contents.filter(QRegularExpression("^" + table + "\\|"));
    rows.sort();
    return rows;
}

void fillOffice(const QSqlDatabase &db)
{
    demo::Options options;
    options.employees = 60;
    options.payMonths = 2;
    options.appraisalYears = 1;
    options.attendanceYears = 1;
    demo::generate(db, options);
}

}  // namespace

class TestServerCopy : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        if (qEnvironmentVariable("WENPAD_TEST_PG").isEmpty())
            QSKIP("no test cluster (run through scripts/test or scripts/pg-cluster)");
    }

    // File → server → file: every table the same; the server numbers new rows after the copied
    // ones; a second copy onto the server is refused and changes nothing.
    void fileToServerAndBack()
    {
        ProgramFolder folder;
        fillOffice(folder.db());
        sql::exec(folder.db(), "alter table gzb add column 夜班费 integer default 0");  // a salary item of the office's own
        const QString file = folder.address(), server = emptyServerDatabase(), back = folder.file("back.db");

        const AdminRun there = runAdmin({"copy", "--from", file, "--to", server});
        QVERIFY2(there.status == 0, qPrintable(there.err));
        const qint64 employees = queryValue(folder.db(), "select count(*) from zghmc").toLongLong();
        QVERIFY2(there.out.contains(QString("zghmc\t%1\t%1\n").arg(employees)), qPrintable(there.out));
        const AdminRun home = runAdmin({"copy", "--from", server, "--to", back});
        QVERIFY2(home.status == 0, qPrintable(home.err));
        const QStringList original = registerRows(databaseContents(file));
        QCOMPARE(registerRows(databaseContents(server)), original);
        QCOMPARE(registerRows(databaseContents(back)), original);

        QVERIFY(database::open("server", server).ok);
        const QSqlDatabase db = QSqlDatabase::database("server", false);
        const qint64 last = queryValue(db, "select max(自动编号) from dwdtb").toLongLong();
        queryValue(db, "insert into dwdtb (职工编码, 单位编码, 变动时间) select 职工编码, '01', '2030-01-01' from zghmc limit 1");
        QCOMPARE(queryValue(db, "select max(自动编号) from dwdtb").toLongLong(), last + 1);
        const QStringList held = databaseContents(server);
        database::close("server");

        const AdminRun again = runAdmin({"copy", "--from", file, "--to", server});
        QCOMPARE(again.status, 1);
        QVERIFY2(again.err.contains("目标数据库中已有数据"), qPrintable(again.err));
        QCOMPARE(databaseContents(server), held);
    }

    // A copy that fails half-way (a row the server refuses) leaves the empty server database it
    // was to fill as it was: no table, no function, no group or user of its office.
    void failedCopyLeavesTheServerDatabaseEmpty()
    {
        ProgramFolder folder;
        fillOffice(folder.db());
        // The file takes text in a number column; the server refuses it.
        queryValue(folder.db(), "update ndkhb set 年度='某年' where 自动编号=(select max(自动编号) from ndkhb)");
        const QString server = emptyServerDatabase();
        const AdminRun copied = runAdmin({"copy", "--from", folder.address(), "--to", server});
        QCOMPARE(copied.status, 1);
        QVERIFY2(copied.err.contains("复制失败，目标数据库未作改动。"), qPrintable(copied.err));
        QVERIFY2(copied.out.contains("复制 ndkhb"), qPrintable(copied.out));  // it failed half-way, not at the start

        {
            // Looked at as it is, not through database::open, which would make it.
            QSqlDatabase raw = plainConnection("raw", server);
            QVERIFY(raw.isOpen());
            QCOMPARE(queryValue(raw, "select count(*) from pg_class where relnamespace='public'::regnamespace").toInt(), 0);
            QCOMPARE(queryValue(raw, "select count(*) from pg_proc where pronamespace='public'::regnamespace").toInt(), 0);
            QCOMPARE(queryValue(raw, "select count(*) from pg_roles where rolname like current_database() || '\\_%' "
                                     "or rolname like '%@' || current_database()").toInt(), 0);
            raw.close();
        }
        QSqlDatabase::removeDatabase("raw");

        // The same copy from a sound source then goes through.
        queryValue(folder.db(), "update ndkhb set 年度=2020 where 年度='某年'");
        const AdminRun again = runAdmin({"copy", "--from", folder.address(), "--to", server});
        QVERIFY2(again.status == 0, qPrintable(again.err));
        QCOMPARE(registerRows(databaseContents(server)), registerRows(databaseContents(folder.address())));
    }

    // A server's backup is a file that restores as a file's does; restoring it onto the server
    // undoes what changed since, keeps the replaced data as a private file in the program's
    // database folder, and logs one entry. A bad backup is refused with the server unchanged.
    void backupAndRestoreOnServer()
    {
        ProgramFolder folder(false);
        const QString server = emptyServerDatabase();
        QVERIFY(database::open("server", server).ok);
        const QSqlDatabase db = QSqlDatabase::database("server", false);
        fillOffice(db);
        const QString backupFile = folder.file("backup.db");
        const backup::Outcome saved = backup::save(db, backupFile);
        QVERIFY2(saved.ok, qPrintable(saved.message));
        QVERIFY(backup::check(backupFile).ok);
        QVERIFY(!QFile::exists(backupFile + "-wal"));
        const QStringList backedUp = registerRows(databaseContents(backupFile));
        QCOMPARE(registerRows(tableContents(db)), backedUp);

        queryValue(db, "update zghmc set 职工姓名='改' where 职工编码='000001'");
        queryValue(db, "delete from gzb where 职工编码='000002'");
        const QStringList changed = registerRows(tableContents(db));

        QFile bad(folder.file("bad.db"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("not a database");
        bad.close();
        QVERIFY(!backup::restore(db, bad.fileName()).ok);
        QCOMPARE(registerRows(tableContents(db)), changed);

        const backup::Outcome restored = backup::restore(db, backupFile);
        QVERIFY2(restored.ok, qPrintable(restored.message));
        change_log::noteRestore(db, backupFile);
        QCOMPARE(registerRows(tableContents(db)).filter(QRegularExpression("^(?!czrzb\\|)")),
                 backedUp.filter(QRegularExpression("^(?!czrzb\\|)")));
        QCOMPARE(queryValue(db, "select count(*) from czrzb where 操作='恢复'").toLongLong(), 1);
        QCOMPARE(QFileInfo(restored.keptCopy).absolutePath(), folder.file("database"));
        QCOMPARE(QFileInfo(restored.keptCopy).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
        QCOMPARE(registerRows(databaseContents(restored.keptCopy)), changed);
        database::close("server");
    }

    // A further connection (a printout's own) reaches the same server database as the same
    // user with the password typed at start.
    void furtherConnectionReopensTheServer()
    {
        ProgramFolder folder(false);
        const QString server = emptyServerDatabase();
        database::setServerPassword(QStringLiteral("typed at start"));
        QVERIFY(database::open("server", server).ok);
        const QSqlDatabase db = QSqlDatabase::database("server", false);
        queryValue(db, "create table probe (n integer)");
        QVERIFY(database::openBeside("beside", db).ok);
        const QSqlDatabase beside = QSqlDatabase::database("beside", false);
        QCOMPARE(beside.password(), QStringLiteral("typed at start"));
        QCOMPARE(queryValue(beside, "select current_database()").toString(), db.databaseName());
        QCOMPARE(queryValue(beside, "select count(*) from probe").toInt(), 0);
        database::close("beside");
        database::close("server");
        database::setServerPassword({});
    }
};

QTEST_MAIN(TestServerCopy)
#include "test_server_copy.moc"
