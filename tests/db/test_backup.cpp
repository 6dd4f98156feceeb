// Backup and restore: a backup taken while another connection writes is one consistent
// moment; restoring it gives back the same rows and keeps the replaced content beside the
// database; every bad backup file is refused with the database unchanged to the byte.

#include "db/backup.h"
#include "db/database.h"
#include "db/replacing_file.h"
#include "db/schema.h"
#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "support/test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSet>
#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QThread>
#include <atomic>
#include <thread>


class TestBackup : public QObject {
    Q_OBJECT
private slots:
    void backupWhileWritingAndRestore()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        demo::Options options;
        options.employees = 300;
        demo::generate(db, options);
        // Each write adds a row and counts it in the same transaction.
        sql::exec(db, "create table probe (n integer)");
        sql::exec(db, "create table probe_total (total integer)");
        sql::exec(db, "insert into probe_total values (0)");

        std::atomic<bool> stop = false;
        std::atomic<int> written = 0;
        const QString file = db.databaseName();
        std::thread writer([&] {
            {
                QSqlDatabase w = QSqlDatabase::addDatabase("QSQLITE", "writer");
                w.setDatabaseName(file);
                w.setConnectOptions("QSQLITE_BUSY_TIMEOUT=5000");
                w.open();
                QSqlQuery q(w);
                while (!stop) {
                    q.exec("begin immediate");
                    q.exec("insert into probe values (1)");
                    q.exec("update probe_total set total = total + 1");
                    if (q.exec("commit"))
                        ++written;
                }
            }
            QSqlDatabase::removeDatabase("writer");
        });
        while (written < 20)
            QThread::msleep(1);
        const QString copy = folder.file("backup.db");
        const int writtenBefore = written;
        const backup::Outcome saved = backup::save(db, copy);
        QThread::msleep(20);
        stop = true;
        writer.join();
        QVERIFY2(saved.ok, qPrintable(saved.message));
        QVERIFY(written > writtenBefore);  // the writer went on during and after the backup

        QVERIFY(backup::check(copy).ok);
        QVERIFY(!QFile::exists(copy + "-wal"));  // one self-contained file
        const QStringList backedUp = databaseContents(copy);
        const int probes = int(backedUp.filter(QRegularExpression("^probe\\|")).size());
        QVERIFY(probes >= 20);
        QCOMPARE(backedUp.filter(QRegularExpression("^probe_total\\|")), QStringList{QStringLiteral("probe_total|%1").arg(probes)});

        // Changes after the backup are undone by restoring it; the replaced content is kept.
        sql::exec(db, "delete from probe");
        sql::exec(db, "update zghmc set 职工姓名 = '改' where 职工编码 = '000001'");
        const QStringList beforeRestore = tableContents(db);
        const backup::Outcome restored = backup::restore(db, copy);
        QVERIFY2(restored.ok, qPrintable(restored.message));
        QCOMPARE(tableContents(db), backedUp);
        QCOMPARE(QFileInfo(restored.keptCopy).absolutePath(), QFileInfo(file).absolutePath());
        QVERIFY(QFileInfo(restored.keptCopy).fileName().contains("恢复前"));
        QCOMPARE(databaseContents(restored.keptCopy), beforeRestore);
        // A second restore the same day keeps its own copy.
        QVERIFY(backup::restore(db, copy).ok);
        QCOMPARE(QDir(QFileInfo(file).absolutePath()).entryList({"*恢复前*"}).size(), 2);

        // The database itself is neither a backup target nor a source.
        QVERIFY(!backup::save(db, file).ok);
        QVERIFY(!backup::restore(db, file).ok);
        QVERIFY(!backup::save(db, folder.file("no/such/folder/b.db")).ok);
    }

    // Bad backup files are refused with a Chinese message naming the fault, SQLite's own words
    // kept apart as details; nothing changes.
    void badFilesRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("details");
        QTest::newRow("missing") << "missing" << "备份文件不存在" << "";
        QTest::newRow("empty") << "empty" << "不是本系统的数据库" << "";
        QTest::newRow("not a database") << "text" << "不是数据库文件" << "not a database";
        QTest::newRow("another program's") << "foreign" << "不是本系统的数据库" << "";
        QTest::newRow("damaged") << "damaged" << "已损坏" << "malformed";
        QTest::newRow("newer schema") << "newer" << "更新版本" << "";
        QTest::newRow("a table missing") << "missing table" << "缺少数据表（pojlb）" << "";
        QTest::newRow("a broken reference") << "broken reference" << "已损坏" << "foreign key";
    }
    void badFilesRefused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QFETCH(QString, details);
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        demo::Options options;
        options.employees = 200;
        demo::generate(db, options);
        const QString bad = folder.file("bad.db");
        if (kind != "missing") {
            QFile f(bad);
            QVERIFY(f.open(QIODevice::WriteOnly));
            if (kind == "text")
                f.write(QByteArray("这不是数据库\n").repeated(500));
        }
        if (kind == "foreign" || kind == "damaged" || kind == "newer" || kind == "missing table" || kind == "broken reference") {
            QVERIFY(backup::save(db, bad).ok);
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
            other.setDatabaseName(bad);
            QVERIFY(other.open());
            if (kind == "foreign")
                sql::exec(other, "PRAGMA application_id=0");
            if (kind == "newer")
                sql::exec(other, QStringLiteral("PRAGMA user_version=%1").arg(schema::kSchemaVersion + 1));
            if (kind == "missing table")
                sql::exec(other, "drop table pojlb");
            if (kind == "broken reference")  // foreign keys are off on this plain connection
                sql::exec(other, "update zghmc set 民族编码='无此' where rowid=(select min(rowid) from zghmc)");
            const int page = sql::scalar(other, "select rootpage from sqlite_master where name='zghmc'").toInt();
            const int pageSize = sql::scalar(other, "PRAGMA page_size").toInt();
            other.close();
            other = {};
            QSqlDatabase::removeDatabase("other");
            if (kind == "damaged") {  // the employee table's root page overwritten
                QFile f(bad);
                QVERIFY(f.open(QIODevice::ReadWrite));
                f.seek(qint64(page - 1) * pageSize);
                f.write(QByteArray(pageSize, '\x5a'));
            }
        }
        // Closed first, so the write-ahead log is folded in and the file's bytes stay put.
        const QString file = db.databaseName();
        db = {};
        database::close(database::kSharedConnection);
        const QByteArray before = databaseChecksum(file);
        const QStringList listing = QDir(QFileInfo(file).absolutePath()).entryList(QDir::Files);
        QVERIFY(database::open(database::kSharedConnection, file).ok);

        const QByteArray openBefore = databaseChecksum(file);  // the file and its -wal while open
        const backup::Outcome restored = backup::restore(folder.db(), bad);
        QVERIFY(!restored.ok);
        QVERIFY2(restored.message.contains(message), qPrintable(restored.message));
        QVERIFY2(!restored.message.contains(QRegularExpression("[A-Za-z]+ [A-Za-z]+")), qPrintable(restored.message));
        QVERIFY2(restored.details.contains(details), qPrintable(restored.details));
        QCOMPARE(databaseChecksum(file), openBefore);
        database::close(database::kSharedConnection);
        QCOMPARE(databaseChecksum(file), before);
        QCOMPARE(QDir(QFileInfo(file).absolutePath()).entryList(QDir::Files), listing);  // no dated copy

        // The admin tool refuses it the same way, the details after the message.
        const AdminRun refused = runAdmin({"restore", "--db", file, "--from", bad});
        QCOMPARE(refused.status, 1);
        const qsizetype firstLine = refused.err.indexOf('\n');
        QVERIFY2(refused.err.left(firstLine).contains(message) && refused.err.mid(firstLine).contains(details), qPrintable(refused.err));
        QCOMPARE(databaseChecksum(file), before);
    }

    // Whatever another connection commits while a restore runs is either in the kept copy or
    // written after the restore, on the restored data: no write falls between the two.
    void writesDuringRestoreAreKept()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        demo::Options options;
        options.employees = 1000;
        demo::generate(db, options);
        sql::exec(db, "create table probe (n integer primary key)");
        const QString copy = folder.file("backup.db");
        QVERIFY(backup::save(db, copy).ok);

        std::atomic<bool> stop = false;
        std::atomic<int> next = 1;
        QList<int> committed;
        const QString file = db.databaseName();
        std::thread writer([&] {
            {
                QSqlDatabase w = QSqlDatabase::addDatabase("QSQLITE", "writer");
                w.setDatabaseName(file);
                w.setConnectOptions("QSQLITE_BUSY_TIMEOUT=5000");
                w.open();
                QSqlQuery q(w);
                while (!stop) {
                    const int n = next++;
                    if (q.exec(QStringLiteral("insert into probe values (%1)").arg(n)))
                        committed << n;
                    // A clerk's writes have gaps; a loop without any would starve the restore,
                    // whose wait for the lock only retries now and then.
                    QThread::usleep(500);
                }
            }
            QSqlDatabase::removeDatabase("writer");
        });
        while (next < 50)
            QThread::msleep(1);
        const backup::Outcome restored = backup::restore(db, copy);
        const int afterRestore = next;
        while (next < afterRestore + 50)
            QThread::msleep(1);
        stop = true;
        writer.join();
        QVERIFY2(restored.ok, qPrintable(restored.message));
        const auto probes = [](const QStringList &rows) {
            QSet<int> n;
            for (const QString &row : rows.filter(QRegularExpression("^probe\\|")))
                n << row.section('|', 1).toInt();
            return n;
        };
        const QSet<int> kept = probes(databaseContents(restored.keptCopy)), live = probes(tableContents(db));
        QVERIFY(!kept.isEmpty() && !live.isEmpty());
        QStringList lost;
        for (const int n : committed)
            if (!kept.contains(n) && !live.contains(n))
                lost << QString::number(n);
        QVERIFY2(lost.isEmpty(), qPrintable("committed but in neither file: " + lost.join(' ')));
    }

    // A restore waits for a busy database as long as any write does, then says so and
    // changes nothing.
    void busyDatabaseRefusesRestore()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        const QString copy = folder.file("backup.db");
        QVERIFY(backup::save(db, copy).ok);
        const QString file = db.databaseName();
        QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
        holder.setDatabaseName(file);
        QVERIFY(holder.open());
        sql::exec(holder, "begin immediate");
        const QStringList listing = QDir(folder.path() + "/database").entryList(QDir::Files);
        QElapsedTimer timer;
        timer.start();
        const backup::Outcome restored = backup::restore(db, copy);
        QCOMPARE(restored.message, sql::kBusyMessage);
        QVERIFY(timer.elapsed() < 9000);
        QCOMPARE(QDir(folder.path() + "/database").entryList(QDir::Files), listing);  // no kept copy
        sql::exec(holder, "rollback");
        holder.close();
        holder = {};
        QSqlDatabase::removeDatabase("holder");
    }

    // A backup of another page size is restored in the database's own.
    void otherPageSizeIsRestored()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        demo::Options options;
        options.employees = 50;
        demo::generate(db, options);
        const QStringList original = tableContents(db);
        const QString copy = folder.file("backup.db");
        QVERIFY(backup::save(db, copy).ok);
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
            other.setDatabaseName(copy);
            QVERIFY(other.open());
            const int pageSize = sql::scalar(other, "PRAGMA page_size").toInt();
            sql::exec(other, QStringLiteral("PRAGMA page_size=%1").arg(pageSize * 2));
            sql::exec(other, "VACUUM");
            QCOMPARE(sql::scalar(other, "PRAGMA page_size").toInt(), pageSize * 2);
            other.close();
        }
        QSqlDatabase::removeDatabase("other");
        sql::exec(db, "delete from jcjlb");
        const backup::Outcome restored = backup::restore(db, copy);
        QVERIFY2(restored.ok, qPrintable(restored.message));
        QCOMPARE(tableContents(db), original);
    }

    // A killed backup or restore leaves its side file (and SQLite's journal or log beside it);
    // the next start of a writer removes them, but not those of a writer still at work. While
    // written they are readable by their owner only.
    void leftoversOfKilledWritersAreRemoved()
    {
        ProgramFolder folder;
        const QString file = folder.db().databaseName();
        const QDir dir = QFileInfo(file).absoluteDir();
        QStringList left;
        for (const char *name : {".wenpad.db.0123abcd.part", ".wenpad.db.0123abcd.part-journal", ".backup.db.89abcdef.part",
                                 ".backup.db.89abcdef.part-wal", ".backup.db.89abcdef.part-shm"}) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("personal data");
            left << name;
        }
        ReplacingFile running(dir.filePath("wenpad-恢复前-2026-12-10.db"));
        QVERIFY(!running.path().isEmpty());
        QCOMPARE(QFile::permissions(running.path()) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ReadOwner | QFile::WriteOwner),
                 QFile::Permissions());
        QVERIFY(database::open("other", file).ok);
        database::close("other");
        QCOMPARE(dir.entryList({".*part*"}, QDir::Files | QDir::Hidden), QStringList{QFileInfo(running.path()).fileName()});
        QVERIFY(running.commit());
        QVERIFY(QFile::permissions(dir.filePath("wenpad-恢复前-2026-12-10.db")) & QFile::ReadOwner);
    }

    // wenpad-admin backup and restore on files.
    void adminBackupAndRestore()
    {
        ProgramFolder folder;
        demo::Options options;
        options.employees = 50;
        demo::generate(folder.db(), options);
        const QString file = folder.db().databaseName();
        const QStringList original = tableContents(folder.db());
        database::close(database::kSharedConnection);
        const QString copy = folder.file("copy.db");
        const AdminRun saved = runAdmin({"backup", "--db", file, "--to", copy});
        QVERIFY2(saved.status == 0, qPrintable(saved.err));
        QCOMPARE(databaseContents(copy), original);
        QCOMPARE(runAdmin({"backup", "--db", file, "--to", copy}).status, 1);  // never overwrites

        runAdmin({"init", "--db", folder.file("other.db")});
        const AdminRun restored = runAdmin({"restore", "--db", folder.file("other.db"), "--from", copy});
        QVERIFY2(restored.status == 0, qPrintable(restored.err));
        // The backup's rows, and the change log's one entry saying it was restored.
        QStringList after = databaseContents(folder.file("other.db"));
        const QStringList logged = after.filter(QRegularExpression("^czrzb\\|"));
        QCOMPARE(logged.size(), original.filter(QRegularExpression("^czrzb\\|")).size() + 1);
        QVERIFY2(logged.last().contains(QStringLiteral("|恢复|")), qPrintable(logged.last()));
        after.removeOne(logged.last());
        QCOMPARE(after, original);
    }
};

QTEST_MAIN(TestBackup)
#include "test_backup.moc"
