// Faults × writers: a full disk (SQLite's page limit), a write lock held by another program and
// a read-only connection, against each writer of the program, on either engine (a full disk
// only on a file). Each write is refused with the
// message that says what happened, and the database is left exactly as it was.

#include "codes/code_members.h"
#include "codes/code_rows.h"
#include "db/database.h"
#include "db/dialect.h"
#include "pay/pay_month.h"
#include "staff/employee_fixture.h"
#include "stats/statistics_table.h"
#include "support/engine_sql.h"

#include <QFile>
#include <QTest>
#include <memory>
#include <functional>

namespace {

// Every table's rows and every column of gzb, as one text to compare.
QString contents(const QSqlDatabase &db)
{
    return tableContents(db).join('\n') + '\n' + sql::dialect(db).columnNames(db, "gzb").join(',');
}

struct Writer {
    const char *name;
    // Runs the write; returns the message the screen would show ("" when it was written).
    std::function<QString(const QSqlDatabase &)> write;
};

QString explained(const std::function<void()> &write)
{
    try {
        write();
        return {};
    } catch (const sql::Failure &e) {
        return e.explain(QStringLiteral("(refused by a rule)"));
    }
}

const std::vector<Writer> &writers()
{
    static const std::vector<Writer> all = {
        {"employee save", [](const QSqlDatabase &db) {
             QString refused;  // a refusal of what was typed, returned; a database that cannot be written, thrown
             const QString told = explained([&] { refused = staff::saveEmployee(db, validEmployee("000500"), true); });
             return told.isEmpty() ? refused : told;
         }},
        {"code row", [](const QSqlDatabase &db) {
             return explained([&] { codes::saveRow(db, *codes::findMember("Tfrmdwdm"), {{}, {{"单位编码", "55"}, {"单位名称", "新部门"}}, {}}); });
         }},
        {"salary item", [](const QSqlDatabase &db) {
             return explained([&] { codes::saveRow(db, *codes::findMember("Tfrmgzgs"), {{}, {{"字段", "夜班费"}, {"公式", QVariant()}}, {}}); });
         }},
        {"pay month", [](const QSqlDatabase &db) { return explained([&] { pay::generateMonth(db, QDate(2024, 3, 1), pay::Generation::Blank); }); }},
        {"statistics rebuild", [](const QSqlDatabase &db) {
             return explained([&] { stats::findStatisticsTable("zgjbqkfxb")->rebuild(db, QDate(2024, 12, 31)); });
         }},
    };
    return all;
}

}  // namespace

class TestFaults : public QObject {
    Q_OBJECT

private slots:
    void everyWriterRefusesWholeAndSaysWhy_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("writer");
        QTest::addColumn<QString>("message");
        for (const char *fault : {"full", "locked", "read-only"})
            for (size_t w = 0; w < writers().size(); ++w)
                QTest::newRow(qPrintable(QString("%1 × %2").arg(fault, writers()[w].name)))
                    << QString(fault) << int(w) << (QString(fault) == "locked" ? sql::kBusyMessage : sql::kFullMessage);
    }

    void everyWriterRefusesWholeAndSaysWhy()
    {
        QFETCH(QString, fault);
        QFETCH(int, writer);
        QFETCH(QString, message);
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        addEmployee(db, "000001", "01", "2020-01-01");
        std::unique_ptr<FullDisk> disk;
        if (fault == "full") {
            SKIP_ON_SERVER("a full disk is the file's");
            // The database on a small file system of its own, filled to the last byte.
            disk = std::make_unique<FullDisk>(folder.file("disk"));
            if (!disk->mounted)
                QSKIP("a small file system needs root to mount; the other faults still run");
            moveSharedDatabase(folder.file("disk/wenpad.db"));
            db = database::shared();
            disk->fill();
        }
        const QString before = contents(db);

        const bool server = onPostgres(db);
        QSqlDatabase other;
        if (fault == "full") {
        } else if (fault == "locked") {
            // Another program in the middle of a write: its transaction holds the write lock.
            QVERIFY(database::open("other", testDatabase(), database::Check::Identity).ok);
            other = QSqlDatabase::database("other", false);
            for (const QString &statement : sql::dialect(other).beginWrite())
                execOrDie(other, statement);
            execOrDie(db, server ? "SET lock_timeout = '100ms'" : "PRAGMA busy_timeout=100");
        } else {
            execOrDie(db, server ? "SET default_transaction_read_only = on" : "PRAGMA query_only=1");
        }
        QCOMPARE(writers()[size_t(writer)].write(db), message);
        if (other.isValid()) {
            queryValue(other, "rollback");
            other = {};
            database::close("other");
        }
        if (server) {
            execOrDie(db, "SET default_transaction_read_only = off");
            execOrDie(db, "SET lock_timeout = '5s'");
        } else {
            execOrDie(db, "PRAGMA query_only=0");
            execOrDie(db, "PRAGMA busy_timeout=5000");
        }
        if (disk)
            disk->empty();
        QCOMPARE(contents(db), before);
        // And once the fault is gone, the same write goes through.
        QCOMPARE(writers()[size_t(writer)].write(db), QString());
    }

    // A good file on a full disk is reported as a full disk, never as damaged or as a read or
    // write fault, and is left as it was, with no empty log beside it.
    void openingOnAFullDiskSaysSo()
    {
        SKIP_ON_SERVER("a full disk is the file's");
        ProgramFolder folder(false);
        FullDisk disk(folder.file("disk"));
        if (!disk.mounted)
            QSKIP("a small file system needs root to mount");
        const QString file = folder.file("disk/wenpad.db");
        copyDeliveredDatabase(file);
        disk.fill();
        QFile original(file);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray bytes = original.readAll();
        original.close();
        const database::OpenResult r = database::open("full", file);
        database::close("full");
        if (r.ok)
            QSKIP("SQLite found room for its shared-memory file");
        QVERIFY2(!r.message.contains(QStringLiteral("损坏")), qPrintable(r.message));
        QVERIFY2(r.message.startsWith(QStringLiteral("磁盘已满")), qPrintable(r.message));
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(original.readAll(), bytes);
        QVERIFY(!QFile::exists(file + "-wal") && !QFile::exists(file + "-shm"));
    }
};

QTEST_MAIN(TestFaults)
#include "test_faults.moc"
