// Opening, creating and refusing database files; the schema's guarantees on stored data.

#include "db/app_paths.h"
#include "db/database.h"
#include "db/schema.h"
#include "db/sql.h"
#include "db/transaction.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QCryptographicHash>
#include <QTest>
#include <mutex>
#include <thread>
#include <vector>

class TestDatabase : public QObject {
    Q_OBJECT

    static bool execs(const QString &statement)
    {
        QSqlQuery q(database::shared());
        return q.exec(statement);
    }

private slots:
    void firstStartCreatesDeliveredDatabaseAndSecondReusesIt()
    {
        ProgramFolder folder(false);
        const QString file = app_paths::databaseFile();
        QVERIFY(!QFile::exists(file));
        database::OpenResult r = database::open(database::kSharedConnection, file);
        QVERIFY2(r.ok, qPrintable(r.message));
        QVERIFY(r.created);
        QSqlDatabase db = database::shared();
        QCOMPARE(queryValue(db, "select count(*) from mzdmb").toInt(), 56);
        QCOMPARE(queryValue(db, "select 民族名称 from mzdmb where 民族编码='00'").toString(), "汉族");
        QCOMPARE(queryValue(db, "select count(*) from whcddmb").toInt(), 8);
        QCOMPARE(queryValue(db, "select group_concat(党派编码) from (select 党派编码 from dpdmb order by 1)").toString(),
                 "00,01,02,03");
        QCOMPARE(queryValue(db, "select count(*) from dwdmb where 单位编码>='97'").toInt(), 3);
        QCOMPARE(queryValue(db, "select count(*) from zwdmb where 职务级别='07'").toInt(), 1);
        QCOMPARE(queryValue(db, "select count(*) from xtztb").toInt(), 1);
        QCOMPARE(queryValue(db, "select count(*) from czydmb").toInt(), 1);
        QVERIFY(queryValue(db, "select czymm from czydmb").toString().startsWith("$argon2id$"));
        QCOMPARE(queryValue(db, "PRAGMA foreign_keys").toInt(), 1);
        QCOMPARE(queryValue(db, "PRAGMA journal_mode").toString(), "wal");
        QCOMPARE(queryValue(db, "PRAGMA synchronous").toInt(), 2);
        QVERIFY(execs("insert into dwdmb values ('11','新部门')"));
        database::close(database::kSharedConnection);

        r = database::open(database::kSharedConnection, file);
        QVERIFY2(r.ok, qPrintable(r.message));
        QVERIFY(!r.created);
        QCOMPARE(queryValue(database::shared(), "select 单位名称 from dwdmb where 单位编码='11'").toString(), "新部门");
    }

    void refusesFilesItCannotUseWithoutChangingThem_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("messageStart");
        QTest::newRow("damaged") << "damaged" << "数据库文件已损坏";
        QTest::newRow("foreign") << "foreign" << "该文件不是本系统的数据库";
        QTest::newRow("read-only") << "readonly" << "数据库文件是只读的";
        QTest::newRow("one damaged page") << "page" << "数据库文件已损坏";
        QTest::newRow("a table missing") << "table" << "数据库文件缺少数据表（xtztb）";
        QTest::newRow("from a newer version") << "newer" << "数据库文件由更新版本的程序建立";
    }
    void refusesFilesItCannotUseWithoutChangingThem()
    {
        QFETCH(QString, kind);
        QFETCH(QString, messageStart);
        ProgramFolder folder(false);
        const QString file = folder.file("x.db");
        if (kind == "damaged") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        } else {
            copyDeliveredDatabase(file);
            if (kind == "foreign" || kind == "table" || kind == "newer") {
                QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
                other.setDatabaseName(file);
                QVERIFY(other.open());
                const QString change = kind == "foreign" ? "PRAGMA application_id=0"
                                       : kind == "table" ? "drop table xtztb"
                                                         : QString("PRAGMA user_version=%1").arg(schema::kSchemaVersion + 1);
                QVERIFY(QSqlQuery(other).exec(change));
                other.close();
                other = {};
                QSqlDatabase::removeDatabase("other");
            } else if (kind == "page") {
                // A page in the middle overwritten: the header and the table list still read.
                QFile f(file);
                QVERIFY(f.open(QIODevice::ReadWrite));
                QVERIFY(f.size() > 8 * 4096);
                f.seek(f.size() / 4096 / 2 * 4096);
                f.write(QByteArray(4096, '\x5a'));
            } else {
                QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
            }
        }
        const QByteArray before = databaseChecksum(file);
        const database::OpenResult r = database::open(database::kSharedConnection, file);
        QVERIFY(!r.ok);
        QVERIFY2(r.message.startsWith(messageStart), qPrintable(r.message));
        // SQLite's own words are the details of damage only, never part of the message.
        QVERIFY2(!r.message.contains(QRegularExpression("[A-Za-z]+ [A-Za-z]+")), qPrintable(r.message));
        QCOMPARE(!r.details.isEmpty(), messageStart == "数据库文件已损坏");
        QCOMPARE(databaseChecksum(file), before);
        QVERIFY(!QFile::exists(file + "-wal"));
    }

    // A refused file keeps its log or journal as it was: the check reads through them without
    // folding them in, deleting them or making new ones.
    void refusedFilesKeepTheirSideFiles_data()
    {
        QTest::addColumn<QString>("change");       // made in the log (or the journal) only
        QTest::addColumn<bool>("damagedPage");
        QTest::addColumn<QString>("messageStart");
        QTest::newRow("foreign in its log") << "PRAGMA application_id=0" << false << "该文件不是本系统的数据库";
        QTest::newRow("newer in its log") << QString("PRAGMA user_version=%1").arg(schema::kSchemaVersion + 1) << false
                                          << "数据库文件由更新版本的程序建立";
        QTest::newRow("damaged with a log") << "update dwdmb set 单位名称='改'" << true << "数据库文件已损坏";
        QTest::newRow("foreign with a hot journal") << "journal" << false << "该文件不是本系统的数据库";
    }
    void refusedFilesKeepTheirSideFiles()
    {
        QFETCH(QString, change);
        QFETCH(bool, damagedPage);
        QFETCH(QString, messageStart);
        ProgramFolder folder(false);
        const QString source = folder.file("source.db"), file = folder.file("x/x.db");
        QVERIFY(QDir().mkpath(folder.file("x")));
        copyDeliveredDatabase(source);
        {
            // The files copied while a writer holds them open: what a killed program leaves.
            QSqlDatabase w = QSqlDatabase::addDatabase("QSQLITE", "w");
            w.setDatabaseName(source);
            QVERIFY(w.open());
            const bool journal = change == "journal";
            if (journal) {
                sql::exec(w, "PRAGMA journal_mode=DELETE");
                sql::exec(w, "PRAGMA application_id=0");
                sql::exec(w, "begin immediate");
                sql::exec(w, "update dwdmb set 单位名称='改'");
            } else {
                sql::exec(w, "PRAGMA wal_autocheckpoint=0");
                sql::exec(w, change);
            }
            const QString side = journal ? "-journal" : "-wal";
            QVERIFY(QFileInfo(source + side).size() > 0);
            QVERIFY(QFile::copy(source, file));
            QVERIFY(QFile::copy(source + side, file + side));
            if (journal)
                sql::exec(w, "rollback");
            w.close();
        }
        QSqlDatabase::removeDatabase("w");
        if (damagedPage) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.seek(f.size() / 4096 / 2 * 4096);
            f.write(QByteArray(4096, '\x5a'));
        }
        const auto everyByte = [&] {
            QStringList files;
            for (const QFileInfo &f : QDir(folder.file("x")).entryInfoList(QDir::Files | QDir::Hidden)) {
                QFile in(f.filePath());
                in.open(QIODevice::ReadOnly);
                files << f.fileName() + ' ' + QCryptographicHash::hash(in.readAll(), QCryptographicHash::Sha256).toHex();
            }
            return files;
        };
        const QStringList before = everyByte();
        const database::OpenResult r = database::open(database::kSharedConnection, file);
        QVERIFY(!r.ok);
        QVERIFY2(r.message.startsWith(messageStart), qPrintable(r.message));
        QCOMPARE(everyByte(), before);
    }

    // Two programs creating the same missing file: each builds its own side file, one puts it in
    // place, the other opens that one; nothing is replaced and no side file stays.
    void concurrentCreatorsShareOneFile()
    {
        ProgramFolder folder(false);
        for (int round = 0; round < 10; ++round) {
            const QString file = folder.file(QString("race%1.db").arg(round));
            database::OpenResult results[2];
            const auto opener = [&](int i) {
                return std::thread([&, i] {
                    const QString name = QString("race%1-%2").arg(round).arg(i);
                    results[i] = database::open(name, file);
                    database::close(name);  // in the thread that made the connection
                });
            };
            std::thread first = opener(0), second = opener(1);
            first.join();
            second.join();
            QVERIFY2(results[0].ok && results[1].ok, qPrintable(results[0].message + results[1].message));
            QCOMPARE(int(results[0].created) + int(results[1].created), 1);
        }
        QCOMPARE(QDir(folder.path()).entryList({"*.new-*"}, QDir::Files | QDir::Hidden), QStringList());
    }

    // A new file is in WAL mode from its creation, so writers that open it together all wait
    // their turn within the busy timeout instead of failing at once.
    void concurrentWritersOnANewFileWait()
    {
        ProgramFolder folder(false);
        const QString file = folder.file("new.db");
        QVERIFY(database::createDelivered(file).ok);
        QFile header(file);
        QVERIFY(header.open(QIODevice::ReadOnly));
        QCOMPARE(header.read(20).mid(18, 2), QByteArray("\x02\x02"));  // WAL read and write versions
        QStringList failures;
        std::mutex guard;
        std::vector<std::thread> writers;
        for (int i = 0; i < 12; ++i)
            writers.emplace_back([&, i] {
                const QString name = QString("writer%1").arg(i);
                const database::OpenResult r = database::open(name, file, database::Check::Identity);
                try {
                    if (!r.ok)
                        throw sql::Failure(r.message);
                    const QSqlDatabase db = QSqlDatabase::database(name, false);
                    Transaction t(db);
                    sql::exec(db, QString("insert into dwdmb values('%1','部门%1')").arg(50 + i));
                    t.commit();
                } catch (const sql::Failure &e) {
                    std::lock_guard lock(guard);
                    failures << e.message();
                }
                database::close(name);
            });
        for (std::thread &w : writers)
            w.join();
        QCOMPARE(failures, QStringList());
    }

    void createDeliveredRefusesToOverwrite()
    {
        ProgramFolder folder(false);
        const QString file = folder.file("y.db");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("keep me");
        f.close();
        QVERIFY(!database::createDelivered(file).ok);
        QFile g(file);
        QVERIFY(g.open(QIODevice::ReadOnly));
        QCOMPARE(g.readAll(), QByteArray("keep me"));
    }

    void usedCodesCannotBeDeletedOrChanged()
    {
        ProgramFolder folder;
        QVERIFY(execs("insert into zghmc (职工编码,职工姓名,民族编码) values ('000001','张三','01')"));
        QVERIFY(execs("insert into dwdtb (职工编码,变动时间,单位编码) values ('000001','2003-01-01','02')"));
        QVERIFY(!execs("delete from mzdmb where 民族编码='01'"));
        QVERIFY(!execs("delete from dwdmb where 单位编码='02'"));
        QVERIFY(!execs("update dwdmb set 单位编码='20' where 单位编码='02'"));
        QVERIFY(!execs("insert into dwdtb (职工编码,变动时间,单位编码) values ('000001','2003-01-01','55')"));
        QVERIFY(execs("delete from mzdmb where 民族编码='55'"));
        QVERIFY(execs("delete from dwdmb where 单位编码='10'"));
    }

    void storedValuesKeepTheirForm_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<bool>("accepted");
        const QString pay = "insert into gzb (年月,职工编码,基本工资) values ('2003-04-01','000001',%1)";
        QTest::newRow("money as integer") << pay.arg("12345000") << true;
        QTest::newRow("empty money") << pay.arg("NULL") << true;
        QTest::newRow("money as real") << pay.arg("1234.5") << false;
        const QString born = "update zghmc set 出生年月=%1 where 职工编码='000001'";
        QTest::newRow("iso date") << born.arg("'1970-12-31'") << true;
        QTest::newRow("empty date") << born.arg("NULL") << true;
        QTest::newRow("30 February") << born.arg("'2023-02-30'") << false;
        QTest::newRow("slashes") << born.arg("'1970/12/31'") << false;
        QTest::newRow("empty text as date") << born.arg("''") << false;
        QTest::newRow("duplicate code") << QString("insert into dwdmb values ('01','重复')") << false;
        QTest::newRow("empty code") << QString("insert into dwdmb values ('','空')") << false;
        QTest::newRow("name too long") << QString("insert into dwdmb values ('12','一二三四五六七八九十一二三四五六七八九十一')") << false;
    }
    void storedValuesKeepTheirForm()
    {
        QFETCH(QString, statement);
        QFETCH(bool, accepted);
        ProgramFolder folder;
        QVERIFY(execs("insert into zghmc (职工编码,职工姓名) values ('000001','张三')"));
        QCOMPARE(execs(statement), accepted);
    }

    void transactionRollsBackUnlessCommitted()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        try {
            Transaction t(db);
            sql::exec(db, "insert into dwdmb values ('20','甲')");
            sql::exec(db, "insert into dwdmb values ('20','乙')");  // duplicate: throws
            t.commit();
            QFAIL("the duplicate was accepted");
        } catch (const sql::Failure &) {
        }
        QCOMPARE(queryValue(db, "select count(*) from dwdmb where 单位编码='20'").toInt(), 0);
        {
            Transaction t(db);
            sql::exec(db, "insert into dwdmb values ('21','丙')");
            t.commit();
        }
        QCOMPARE(queryValue(db, "select count(*) from dwdmb where 单位编码='21'").toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "test_database.moc"
