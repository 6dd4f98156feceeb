// Crash trials: a child process runs one real writer of the program and is killed with
// SIGKILL at a random moment; the file is then opened as the program opens it and must be
// whole: integrity and foreign keys sound, and each writer's unit of work entirely there or
// entirely absent. WENPAD_CRASH_TRIALS sets the trials per writer (scripts/crash-trials).

#include "db/database.h"
#include "db/history.h"
#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "records/company_attendance.h"
#include "stats/statistics_table.h"
#include "support/test_support.h"

#include <QCoreApplication>
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

// What must hold after a kill, beyond integrity and foreign keys; empty when it holds.
QString invariantBroken(const QSqlDatabase &db, const QString &writer, const QStringList &rebuilds)
{
    if (writer == "employee") {
        // Five entry-time rows for each employee the writer made, or no employee.
        const qlonglong employees = sql::scalar(db, "select count(*) from zghmc where 职工编码>='900000'").toLongLong();
        qlonglong rows = 0;
        for (const QString &t : historyTables())
            rows += sql::scalar(db, QString("select count(*) from %1 where 职工编码>='900000'").arg(t)).toLongLong();
        if (rows != 5 * employees)
            return QString("%1 employees with %2 history rows").arg(employees).arg(rows);
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
        const qlonglong onDuty = sql::scalar(db, QString("select count(*) from zghmc join (%1) d on d.职工编码=zghmc.职工编码 "
                                                         "where d.单位编码<'97'")
                                                     .arg(history::snapshotOn(history::Table::Department, "'2030-12-31'", {"单位编码"})))
                                     .toLongLong();
        const QString partial = sql::scalar(db, QString("select group_concat(年度) from (select 年度 from ndkhb where 年度>=2030 "
                                                        "group by 年度 having count(*)<>%1)").arg(onDuty)).toString();
        if (!partial.isEmpty())
            return QString("years without %1 rows: %2").arg(onDuty).arg(partial);
    } else if (writer == "attendance") {
        if (!rebuilds.contains(attendanceCsv(db)))
            return "the attendance table is neither absent nor one of the writer's";
    } else if (writer == "rebuild") {
        if (!rebuilds.contains(csv(db)))
            return "the work table is neither the old nor the new one";
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
        for (const char *w : {"employee", "codes", "salaryitem", "paymonth", "appraisal", "rebuild", "attendance"})
            QTest::newRow(w) << QString(w);
    }

    void killedWritersLeaveWholeFiles()
    {
        QFETCH(QString, writer);
        const int trials = qEnvironmentVariableIntValue("WENPAD_CRASH_TRIALS") > 0
                               ? qEnvironmentVariableIntValue("WENPAD_CRASH_TRIALS") : 30;
        ProgramFolder folder(false);
        const QString original = folder.file("original.db");
        QStringList rebuilds;  // the work table as each of the writer's cut-offs or ranges leaves it
        {
            copyDeliveredDatabase(original);
            QVERIFY(database::open("setup", original).ok);
            const QSqlDatabase db = QSqlDatabase::database("setup", false);
            demo::Options options;
            options.employees = 300;
            demo::generate(db, options);
            if (writer == "attendance") {
                rebuilds << QString();  // not built yet
                for (const int year : {2025, 2026}) {
                    records::rebuildCompanyAttendance(db, QDate(year, 1, 1), QDate(2026, 6, 30));
                    rebuilds << attendanceCsv(db);
                }
                sql::exec(db, "drop table gskqtjb");
            }
            for (const QDate d : {QDate(2020, 12, 31), QDate(2024, 12, 31)}) {
                stats::findStatisticsTable("zgjbqkfxb")->rebuild(db, d);
                rebuilds << csv(db);
            }
            database::close("setup");
        }
        QRandomGenerator random(quint32(qHash(writer)));
        int fewest = INT_MAX, most = 0, writes = 0;
        for (int trial = 0; trial < trials; ++trial) {
            const QString file = folder.file(QString("trial%1.db").arg(trial));
            QVERIFY(QFile::copy(original, file));
            QProcess child;
            child.start(QCoreApplication::applicationDirPath() + "/crash_writer", {writer, file});
            QVERIFY(child.waitForReadyRead(10000));
            QVERIFY(child.readLine().startsWith("ready"));
            QTest::qSleep(random.bounded(250));
            ::kill(pid_t(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished(10000));
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
            const int finished = int(child.readAllStandardOutput().count('\n'));
            fewest = std::min(fewest, finished);
            most = std::max(most, finished);
            writes += finished;

            const database::OpenResult r = database::open("check", file, database::Check::Pages);
            QVERIFY2(r.ok, qPrintable(QString("trial %1: %2").arg(trial).arg(r.message)));
            {
                const QSqlDatabase db = QSqlDatabase::database("check", false);
                QCOMPARE(sql::scalar(db, "PRAGMA integrity_check").toString(), QString("ok"));
                QCOMPARE(sql::scalar(db, "select count(*) from pragma_foreign_key_check").toInt(), 0);
                const QString broken = invariantBroken(db, writer, rebuilds);
                QVERIFY2(broken.isEmpty(), qPrintable(QString("trial %1: %2").arg(trial).arg(broken)));
            }
            database::close("check");
            QFile::remove(file);
        }
        qInfo("%s: %d trials, killed after %d to %d finished writes (%d in all), every file whole",
              qPrintable(writer), trials, fewest, most, writes);
    }
};

QTEST_GUILESS_MAIN(TestCrashTrials)
#include "test_crash_trials.moc"
