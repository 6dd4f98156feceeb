// A file made by the previous version of the program (tests/db/version1.db: `wenpad-admin init`,
// `demo --employees 20`, zgjbqkfxb rebuilt) opens as the current version: a copy of it as it was
// is kept beside it first, every row of the register is still there, and what the climb
// changed (the change counts) works. A newer file is refused untouched (test_database).

#include "db/app_paths.h"
#include "db/change_counter.h"
#include "db/clock.h"
#include "db/database.h"
#include "db/schema.h"
#include "db/schema_ladder.h"
#include "db/sql.h"
#include "stats/statistics_table.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

const QDate kToday(2026, 12, 11);
const QDate kCutoff(2024, 12, 31);

// The rows apart from version 1's one change count, which the climb replaces.
QStringList registerRows(const QStringList &contents)
{
    QStringList rows;
    for (const QString &row : contents)
        if (!row.startsWith(QStringLiteral("bgjsb|")))
            rows << row;
    return rows;
}

}  // namespace

class TestSchemaLadder : public QObject {
    Q_OBJECT

private slots:
    void aVersionOneFileClimbsWithItsDataAndAKeptCopy()
    {
        ProgramFolder folder(false);
        const QString file = app_paths::databaseFile();
        QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()));
        QVERIFY(QFile::copy(WENPAD_TESTS "/db/version1.db", file));
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
        const QStringList before = databaseContents(file);
        QVERIFY(before.filter(QRegularExpression("^zghmc\\|")).size() == 20);

        const clock_source::ScopedToday today(kToday);
        const database::OpenResult opened = database::open(database::kSharedConnection, file);
        QVERIFY2(opened.ok, qPrintable(opened.message));
        const QString kept = QFileInfo(file).dir().filePath(QStringLiteral("wenpad-升级前-2026-12-11.db"));
        QCOMPARE(opened.keptCopy, kept);
        const QSqlDatabase db = folder.db();
        QCOMPARE(schema_ladder::version(db), schema::kSchemaVersion);
        QCOMPARE(registerRows(tableContents(db)), registerRows(before));
        QCOMPARE(databaseContents(kept), before);
        QCOMPARE(queryValue(db, "PRAGMA foreign_key_check").toString(), QString());

        // Stamped by version 1's single count, the statistics table is built again once, then
        // shown while nothing it reads is written.
        const stats::TableDescription &analysis = *stats::findStatisticsTable("zgjbqkfxb");
        QVERIFY(!analysis.holds(db, kCutoff));
        analysis.rebuild(db, kCutoff);
        QVERIFY(analysis.holds(db, kCutoff));
        sql::exec(db, "update zghmc set 职工姓名='改名' where 职工编码=(select min(职工编码) from zghmc)");
        QVERIFY(!analysis.holds(db, kCutoff));

        // Opened again, the file is current: nothing more is copied.
        database::close(database::kSharedConnection);
        const database::OpenResult again = database::open(database::kSharedConnection, file);
        QVERIFY2(again.ok, qPrintable(again.message));
        QVERIFY(again.keptCopy.isEmpty());
        QCOMPARE(QFileInfo(file).dir().entryList({QStringLiteral("wenpad-升级前-*")}), QStringList{QFileInfo(kept).fileName()});
    }
};

QTEST_GUILESS_MAIN(TestSchemaLadder)
#include "test_schema_ladder.moc"
