// Crash trials: a child process runs one real writer of the program and is killed with
// SIGKILL, by turns at a random moment and as it enters the N-th pwrite64, fdatasync, fsync or
// rename (through strace). The file is then read with a plain SQLite connection, never through
// the program's own repairs on opening, and must be whole: integrity and foreign keys sound,
// each writer's unit of work entirely there or entirely absent, every statistics table as its
// stamp says. Where a writer's progress can be read off the file, the file must hold exactly
// the writes the child reported finished (all old) or those and the one it was killed in (all
// new); the counts of both are reported. Then a writer starts again, and no side file of the
// killed one may be left. WENPAD_CRASH_TRIALS sets the trials per writer (scripts/crash-trials).

#include "db/backup.h"
#include "db/database.h"
#include "db/dialect.h"
#include "db/history.h"
#include "db/sql.h"
#include "db/sql_functions.h"
#include "demo/demo_organisation.h"
#include "records/company_attendance.h"
#include "records/record_card.h"
#include "records/timeline.h"
#include "reliability/crash_subjects.h"
#include "stats/statistics_table.h"
#include "support/test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QRandomGenerator>
#include <QTest>
#include <climits>
#include <csignal>

namespace {

QString csv(const QSqlDatabase &db) { return stats::toCsv(db, stats::findStatisticsTable("zgjbqkfxb")->gridQuery()); }

// The company attendance table as it stands; empty when there is none.
QString attendanceCsv(const QSqlDatabase &db)
{
    return records::companyAttendanceKindColumns(db).isEmpty() ? QString() : stats::toCsv(db, records::companyAttendanceQuery(db));
}

// The rows of the register's main tables counted: which data a file holds.
QString signature(const QSqlDatabase &db)
{
    QStringList counts;
    for (const char *t : {"zghmc", "dwdtb", "zwdtb", "zcdtb", "gwjndtb", "zwdjdtb", "gzb", "jcjlb", "kqjlb", "pxjlb"})
        counts << sql::scalar(db, QStringLiteral("select count(*) from %1").arg(t)).toString();
    return counts.join(',');
}

// A work table as it stands, whole (empty when there is none), read with plain SQL.
QString tableDump(const QSqlDatabase &db, const QString &table)
{
    QSqlQuery exists(db);
    exists.prepare("select count(*) from sqlite_master where type='table' and name=:t");
    exists.bindValue(":t", table);
    if (!exists.exec() || !exists.next() || exists.value(0).toInt() == 0)
        return {};
    return stats::toCsv(db, QStringLiteral("select * from %1 order by rowid").arg(table));
}

// The table a writer that rebuilds one work table by turns writes; empty for other writers.
QString rebuiltTable(const QString &writer)
{
    return writer == "timeline" ? "gzdtjlb" : writer == "recordcard" ? "kqtjb" : writer == "attendance" ? "gskqtjb" : QString();
}

// What a writer may leave, found on the files before the trials.
struct Expected {
    QStringList rebuilds;    // the attendance table as each of the writer's ranges leaves it
    QStringList signatures;  // the data of the original and of each backup restored
    QString participants;    // rows and courses of pxjlb
    QString resumesApart;    // cadres with answers or spouse alone
    // A writer that rebuilds a work table by turns: the table before the trials, after an even
    // write and after an odd one.
    QString before, afterEven, afterOdd;
};

// The state after `finished` writes of a writer that rebuilds by turns.
QString stateAfter(const Expected &expected, int finished)
{
    return finished == 0 ? expected.before : finished % 2 ? expected.afterEven : expected.afterOdd;
}

// How many of a writer's units of work the file holds, for the writers whose progress the file
// shows: -1 for the others. A rebuilding writer answers by matching the state after `finished`
// writes (as many) or one more (one more); anything else is -2.
int unitsHeld(const QSqlDatabase &db, const QString &writer, const Expected &expected, int finished)
{
    if (writer == "paymonth")
        return sql::scalar(db, "select count(distinct 年月) from gzb where 年月>='2030-01-01'").toInt();
    if (writer == "appraisal")
        return sql::scalar(db, "select count(distinct 年度) from ndkhb where 年度>=2030").toInt();
    if (writer == "demo")
        return sql::scalar(db, "select count(*) from zghmc").toInt() > 0 ? 1 : 0;
    if (const QString table = rebuiltTable(writer); !table.isEmpty()) {
        const QString held = tableDump(db, table);
        if (held == stateAfter(expected, finished + 1) && held != stateAfter(expected, finished))
            return finished + 1;
        return held == stateAfter(expected, finished) ? finished : -2;
    }
    return -1;
}

// Opens `file` with a plain connection: SQLite's own recovery of a log, none of the program's
// repairs on opening; only the program's SQL functions registered, which write nothing.
struct PlainConnection {
    explicit PlainConnection(const QString &file)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "plain");
        db.setDatabaseName(file);
        ok = db.open() && registerSqlFunctions(db);
    }
    ~PlainConnection()
    {
        QSqlDatabase::database("plain", false).close();
        QSqlDatabase::removeDatabase("plain");
    }
    QSqlDatabase db() const { return QSqlDatabase::database("plain", false); }
    bool ok = false;
};

// Each statistics table whose stamp does not describe its rows: the table as the file holds it
// beside the same table rebuilt, in a scratch copy, for the inputs its stamp names.
QString stampsBroken(const QString &file, const QString &scratch)
{
    QFile::remove(scratch);
    QFile::copy(file, scratch);
    QStringList broken;
    {
        if (!database::open("scratch", scratch).ok)
            return "the scratch copy does not open";
        const QSqlDatabase db = QSqlDatabase::database("scratch", false);
        for (const stats::TableDescription *t : stats::statisticsTables()) {
            QSqlQuery q(db);
            q.prepare("select 条件 from tjbztb where 表名=:t");
            q.bindValue(":t", t->name);
            if (!q.exec() || !q.next())
                continue;
            const QStringList inputs = q.value(0).toString().split("..");
            const QString held = stats::toCsv(db, t->gridQuery());
            const QDate to = QDate::fromString(inputs.last(), Qt::ISODate);
            inputs.size() == 2 ? t->rebuild(db, {QDate::fromString(inputs.first(), Qt::ISODate), to}) : t->rebuild(db, to);
            if (stats::toCsv(db, t->gridQuery()) != held)
                broken << t->name + " stamped " + inputs.join("..");
        }
    }
    database::close("scratch");
    QFile::remove(scratch);
    return broken.join(", ");
}

// Files a killed writer left that a writer's next start did not clean up: hidden side files,
// journals and logs.
QStringList leftovers(const QString &folder)
{
    QStringList left;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (name.startsWith('.') || name.endsWith("-wal") || name.endsWith("-shm") || name.endsWith("-journal"))
            left << name;
    return left;
}

// Where a trial aims its kill: a moment, or the N-th call of one system call (strace stops the
// writer with SIGKILL as it enters that call).
struct Aim {
    QString syscall;  // empty: a random moment
    int nth = 0;
    QString text() const { return syscall.isEmpty() ? QStringLiteral("a random moment") : QString("%1 #%2").arg(syscall).arg(nth); }
};

// What must hold after a kill, beyond integrity and foreign keys; empty when it holds.
QString invariantBroken(const QSqlDatabase &db, const QString &writer, const Expected &expected)
{
    if (writer == "employee") {
        // Five entry-time rows for each employee the writer made, or no employee.
        const qlonglong employees = sql::scalar(db, "select count(*) from zghmc where 职工编码>='900000'").toLongLong();
        qlonglong rows = 0;
        for (const QString &t : historyTables())
            rows += sql::scalar(db, QString("select count(*) from %1 where 职工编码>='900000'").arg(t)).toLongLong();
        if (rows != 5 * employees)
            return QString("%1 employees with %2 history rows").arg(employees).arg(rows);
    } else if (writer == "demo") {
        // The generated organisation whole, or the delivered file untouched.
        if (!expected.signatures.contains(signature(db)))
            return "neither the delivered file nor the whole organisation: " + signature(db);
    } else if (writer == "salaryitem") {
        // A salary item's column exists exactly when its row does.
        const QString rows = sql::scalar(db, "select group_concat(字段) from (select 字段 from gzzd where 字段 like '试验项目%' order by 1)").toString();
        const QString columns = sql::scalar(db, "select group_concat(name) from (select name from pragma_table_info('gzb') where name like '试验项目%' order by 1)").toString();
        if (rows != columns)
            return QString("items [%1] but columns [%2]").arg(rows, columns);
    } else if (writer == "paymonth") {
        // A pay month has all three sheets or none.
        const QString months = "select 年月, count(*) from %1 where 年月>='2030-01-01' group by 年月 order by 年月";
        const auto listed = [&](const char *table) {
            QStringList rows;
            QSqlQuery q(db);
            q.exec(months.arg(table));
            while (q.next())
                rows << q.value(0).toString() + '=' + q.value(1).toString();
            return rows.join(' ');
        };
        if (listed("gzb") != listed("btb") || listed("gzb") != listed("jjb"))
            return QString("sheets differ: %1 | %2 | %3").arg(listed("gzb"), listed("btb"), listed("jjb"));
    } else if (writer == "appraisal") {
        // Every generated year holds one row for each employee on duty then, or no rows.
        const QString departments = sql::dialect(db).snapshotOn(history::Table::Department, "'2030-12-31'", {"单位编码"});
        const qlonglong onDuty = sql::scalar(db, QString("select count(*) from zghmc join (%1) d on d.职工编码=zghmc.职工编码 "
                                                         "where d.单位编码<'97'")
                                                     .arg(departments))
                                     .toLongLong();
        const QString partial = sql::scalar(db, QString("select group_concat(年度) from (select 年度 from ndkhb where 年度>=2030 "
                                                        "group by 年度 having count(*)<>%1)").arg(onDuty)).toString();
        if (!partial.isEmpty())
            return QString("years without %1 rows: %2").arg(onDuty).arg(partial);
    } else if (writer == "attendance") {
        if (!expected.rebuilds.contains(attendanceCsv(db)))
            return "the attendance table is neither absent nor one of the writer's";
    } else if (writer == "timeline" || writer == "recordcard") {
        const QString held = tableDump(db, rebuiltTable(writer));
        if (held != expected.before && held != expected.afterEven && held != expected.afterOdd)
            return rebuiltTable(writer) + " is none of the writer's builds";
    } else if (writer == "restore") {
        // The data is one of the two backups (or still the original), never a mixture.
        if (!expected.signatures.contains(signature(db)))
            return "the data is none of the backups: " + signature(db);
    } else if (writer == "course") {
        if (sql::scalar(db, "select count(*) || ' ' || count(distinct 培训编码) from pxjlb").toString() != expected.participants)
            return "participants lost or split: " + sql::scalar(db, "select count(*) from pxjlb").toString();
    } else if (writer == "resume") {
        // The answers and the spouse of a cadre are written together.
        const QString apart = sql::scalar(db, "select count(*) from zghmc where (职工编码 in (select 职工编码 from gbllb)) "
                                              "<> (职工编码 in (select 职工编码 from pojlb))").toString();
        if (apart != expected.resumesApart)
            return QString("%1 cadres with answers or spouse alone").arg(apart);
    }
    return {};
}

}  // namespace

class TestCrashTrials : public QObject {
    Q_OBJECT

private slots:
    void killedWritersLeaveWholeFiles_data()
    {
        QTest::addColumn<QString>("writer");
        for (const char *w : {"employee", "codes", "salaryitem", "paymonth", "appraisal", "rebuild", "attendance", "backup",
                              "restore", "demo", "course", "resume", "timeline", "recordcard"})
            QTest::newRow(w) << QString(w);
    }

    void killedWritersLeaveWholeFiles()
    {
        QFETCH(QString, writer);
        const int trials = qEnvironmentVariableIntValue("WENPAD_CRASH_TRIALS") > 0
                               ? qEnvironmentVariableIntValue("WENPAD_CRASH_TRIALS") : 3;
        ProgramFolder folder(false);
        const QString original = folder.file("original.db");
        Expected expected;
        copyDeliveredDatabase(original);
        if (writer == "demo") {
            // The delivered file, and the organisation the writer generates (in a scratch file).
            copyDeliveredDatabase(folder.file("generated.db"));
            for (const QString &file : {original, folder.file("generated.db")}) {
                QVERIFY(database::open("setup", file).ok);
                const QSqlDatabase db = QSqlDatabase::database("setup", false);
                if (file != original) {
                    demo::Options options;
                    options.employees = 300;
                    demo::generate(db, options);
                }
                expected.signatures << signature(db);
                database::close("setup");
            }
        } else {
            QVERIFY(database::open("setup", original).ok);
            const QSqlDatabase db = QSqlDatabase::database("setup", false);
            demo::Options options;
            options.employees = 300;
            demo::generate(db, options);
            if (writer == "attendance") {
                expected.rebuilds << QString();  // not built yet
                for (const int year : {2025, 2026}) {
                    records::rebuildCompanyAttendance(db, QDate(year, 1, 1), QDate(2026, 6, 30));
                    expected.rebuilds << attendanceCsv(db);
                    (year == 2026 ? expected.afterEven : expected.afterOdd) = tableDump(db, "gskqtjb");
                }
                sql::exec(db, "drop table gskqtjb");
            }
            if (writer == "timeline" || writer == "recordcard") {
                const QStringList subjects = crashSubjects(db);
                QCOMPARE(subjects.size(), 2);
                for (int i : {0, 1}) {
                    writer == "timeline" ? records::rebuildTimeline(db, subjects[i])
                                         : records::rebuildYearlyAttendance(db, subjects[i], crashCardYear(i));
                    (i ? expected.afterOdd : expected.afterEven) = tableDump(db, rebuiltTable(writer));
                }
                QVERIFY(expected.afterEven != expected.afterOdd);
                expected.before = expected.afterOdd;
            }
            for (const QDate d : {QDate(2020, 12, 31), QDate(2024, 12, 31)})
                stats::findStatisticsTable("zgjbqkfxb")->rebuild(db, d);
            expected.signatures << signature(db);
            expected.participants = sql::scalar(db, "select count(*) || ' ' || count(distinct 培训编码) from pxjlb").toString();
            expected.resumesApart = sql::scalar(db, "select count(*) from zghmc where (职工编码 in (select 职工编码 from gbllb)) "
                                                    "<> (职工编码 in (select 职工编码 from pojlb))").toString();
            if (writer == "restore") {
                // Two backups to restore by turns: another organisation, and the original.
                QVERIFY(backup::save(db, folder.file("restore-b.db")).ok);
                copyDeliveredDatabase(folder.file("other.db"));
                QVERIFY(database::open("other", folder.file("other.db")).ok);
                const QSqlDatabase other = QSqlDatabase::database("other", false);
                options.employees = 120;
                options.seed = 2;
                demo::generate(other, options);
                expected.signatures << signature(other);
                QVERIFY(backup::save(other, folder.file("restore-a.db")).ok);
                database::close("other");
            }
            database::close("setup");
        }
        QRandomGenerator random(quint32(qHash(writer)));
        const QList<QPair<QString, int>> syscalls = {{"pwrite64", 400}, {"fdatasync", 60}, {"fsync", 60}, {"rename", 4}};
        int fewest = INT_MAX, most = 0, writes = 0, aimed = 0, allOld = 0, allNew = 0;
        for (int trial = 0; trial < trials; ++trial) {
            const QString trialFolder = folder.file(QString("t%1").arg(trial));
            QVERIFY(QDir().mkpath(trialFolder));
            const QString file = trialFolder + "/trial.db";
            QVERIFY(QFile::copy(original, file));
            for (const char *source : {"restore-a.db", "restore-b.db"})
                if (QFile::exists(folder.file(source)))
                    QVERIFY(QFile::copy(folder.file(source), trialFolder + '/' + source));

            Aim aim;
            if (trial % 2) {
                const auto &[name, calls] = syscalls[(trial / 2) % syscalls.size()];
                aim = {name, 1 + int(random.bounded(calls))};
            }
            const QString program = QCoreApplication::applicationDirPath() + "/crash_writer";
            QProcess child;
            if (aim.syscall.isEmpty())
                child.start(program, {writer, file});
            else
                child.start("strace", {"-f", "-qq", "-o", "/dev/null", "-e", "trace=" + aim.syscall, "-e",
                                       QString("inject=%1:signal=KILL:when=%2").arg(aim.syscall).arg(aim.nth), program, writer, file});
            QVERIFY(child.waitForStarted(10000));
            // A kill aimed at a call the writer has not made within 3 seconds falls back to a
            // random moment.
            bool killedHere = false;
            if (aim.syscall.isEmpty() || !child.waitForFinished(3000)) {
                QElapsedTimer waited;
                waited.start();
                while (!child.canReadLine() && child.state() == QProcess::Running && waited.elapsed() < 20000)
                    child.waitForReadyRead(500);
                if (child.state() == QProcess::Running) {
                    const QByteArray ready = child.readLine();
                    QVERIFY2(ready.startsWith("ready "), qPrintable(aim.text()));
                    QTest::qSleep(random.bounded(250));
                    ::kill(pid_t(ready.mid(6).trimmed().toLongLong()), SIGKILL);
                    killedHere = true;
                }
                QVERIFY(child.waitForFinished(10000));
            }
            if (!aim.syscall.isEmpty() && !killedHere)
                ++aimed;
            const QByteArray output = child.readAllStandardOutput();
            const int finished = int(output.count('\n')) - (output.startsWith("ready") ? 1 : 0);
            fewest = std::min(fewest, finished);
            most = std::max(most, finished);
            writes += finished;
            const QString tag = QString("trial %1 (%2)").arg(trial).arg(aim.text());

            {
                const PlainConnection plain(file);
                QVERIFY2(plain.ok, qPrintable(tag));
                QCOMPARE(sql::scalar(plain.db(), "PRAGMA integrity_check").toString(), QString("ok"));
                QCOMPARE(sql::scalar(plain.db(), "select count(*) from pragma_foreign_key_check").toInt(), 0);
                const QString broken = invariantBroken(plain.db(), writer, expected);
                QVERIFY2(broken.isEmpty(), qPrintable(tag + ": " + broken));
                const int held = unitsHeld(plain.db(), writer, expected, finished);
                if (held != -1) {
                    QVERIFY2(held == finished || held == finished + 1,
                             qPrintable(QString("%1: %2 writes finished, the file holds %3").arg(tag).arg(finished).arg(held)));
                    ++(held == finished ? allOld : allNew);
                }
            }
            // Each finished backup, and each copy a restore kept, is a whole database of one moment.
            for (const QString &name : QDir(trialFolder).entryList({"backup-*.db", "*恢复前*"}, QDir::Files)) {
                const QString copy = trialFolder + '/' + name;
                const backup::Outcome checked = backup::check(copy);
                QVERIFY2(checked.ok, qPrintable(tag + ": " + checked.message));
                const PlainConnection plain(copy);
                QVERIFY2(expected.signatures.contains(signature(plain.db())), qPrintable(tag + ": " + name));
            }
            if (writer == "rebuild") {
                const QString broken = stampsBroken(file, trialFolder + "/scratch.db");
                QVERIFY2(broken.isEmpty(), qPrintable(tag + ": " + broken));
            }
            // The next start of a writer cleans up after the killed one.
            const database::OpenResult r = database::open("check", file, database::Check::Pages);
            QVERIFY2(r.ok, qPrintable(tag + ": " + r.message));
            database::close("check");
            const QStringList left = leftovers(trialFolder);
            QVERIFY2(left.isEmpty(), qPrintable(tag + " left " + left.join(' ')));
            QVERIFY(QDir(trialFolder).removeRecursively());
        }
        const QString outcomes = allOld + allNew == 0 ? QString() : QString(", %1 all old and %2 all new").arg(allOld).arg(allNew);
        qInfo("%s: %d trials (%d killed at an aimed system call), killed after %d to %d finished writes (%d in all)%s, "
              "every file whole (integrity and foreign keys), no leftovers",
              qPrintable(writer), trials, aimed, fewest, most, writes, qPrintable(outcomes));
    }
};

QTEST_GUILESS_MAIN(TestCrashTrials)
#include "test_crash_trials.moc"
