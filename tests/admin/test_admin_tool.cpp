// wenpad-admin refuses what it does not understand: one line on standard error, a non-zero
// exit, and the database as it was (nothing created for a wrong path). The database is a file,
// or in the server run a database on the test cluster.

#include "support/test_support.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

class TestAdminTool : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString db_;

    // A copy of the demo database changed by `change`.
    QString changedCopy(const QString &name, const std::function<void(QSqlQuery &)> &change)
    {
        QString db;
        if (testOnServer()) {
            db = copiedServerDatabase(db_);
        } else {
            db = dir_.filePath(name);
            QFile::copy(db_, db);
        }
        {
            QSqlQuery q(plainConnection(name, db));
            change(q);
        }
        QSqlDatabase::removeDatabase(name);
        return db;
    }

private slots:
    void initTestCase()
    {
        db_ = testOnServer() ? emptyServerDatabase() : dir_.filePath("wenpad.db");
        QCOMPARE(runAdmin({"init", "--db", db_}).status, 0);
        const AdminRun demo = runAdmin({"demo", "--db", db_, "--employees", "30", "--seed", "3"});
        QCOMPARE(demo.status, 0);
        // Progress on lines of their own, then the summary.
        QVERIFY2(demo.out.trimmed().split('\n').last().contains(QRegularExpression("^30 employees, \\d+ history rows in [0-9.]+ s$")),
                 qPrintable(demo.out));
    }

    // A read-only screen's grids as CSV, each after its tab's caption, amounts as shown.
    void gridPrintsEachTabAfterItsCaption()
    {
        // The demo's pay runs up to this month.
        const AdminRun run = runAdmin({"grid", "TFrmgsygztj", "--db", db_, "--month", QDate::currentDate().toString("yyyy-MM")});
        QCOMPARE(run.status, 0);
        const QStringList lines = run.out.split('\n');
        QCOMPARE(lines.first(), "工资表");
        QCOMPARE(lines.at(1), "单位名称,基本工资,岗位工资,工龄,边远津贴,应发工资,扣除税金,实发工资");
        QVERIFY(lines.contains("补贴表") && lines.contains("奖金表"));
        QVERIFY(lines.at(2).contains(QRegularExpression(",\\d+\\.\\d\\d$")));
    }

    // The yearly comparison: ten year columns from the chosen year back, a row per department.
    void gridComparesYears()
    {
        const AdminRun run = runAdmin({"grid", "TFrmgsngzdz", "--db", db_, "--year", "2026"});
        QCOMPARE(run.status, 0);
        const QStringList lines = run.out.trimmed().split('\n');
        QCOMPARE(lines.first(), "工资表");
        QCOMPARE(lines.at(1), "单位名称,2026年,2025年,2024年,2023年,2022年,2021年,2020年,2019年,2018年,2017年");
        QVERIFY(lines.size() > 2);
        QVERIFY(lines.filter(QRegularExpression("^[^,]+,\\d+\\.\\d\\d,{9}$")).size() > 0);
    }

    // The company attendance table for a range: a column per kind, a row per employee with
    // attendance in the range, each cell that employee's hours of that kind.
    void rebuildsCompanyAttendance()
    {
        // Last year: the demo's attendance covers it whole.
        const QString from = QString("%1-01-01").arg(QDate::currentDate().year() - 1), to = QString("%1-12-31").arg(QDate::currentDate().year() - 1);
        const AdminRun run = runAdmin({"rebuild", "gskqtjb", "--db", db_, "--from", from, "--to", to});
        QCOMPARE(run.status, 0);
        const QStringList lines = run.out.trimmed().split('\n');
        QCOMPARE(lines.first(), "职工编码,职工姓名,事假,病假,旷工,迟到,早退,婚假,丧假,产假,年休假,探亲假");
        QMap<QString, QMap<int, double>> hours;
        {
            QSqlQuery plain(QString("select 职工编码, 方式编码, sum(时数) from kqjlb where 考勤时间 between '%1' and '%2' "
                                    "group by 职工编码, 方式编码").arg(from, to), plainConnection("attendance", db_, true));
            while (plain.next())
                hours[plain.value(0).toString()][plain.value(1).toInt()] = plain.value(2).toDouble();
        }
        QSqlDatabase::removeDatabase("attendance");
        QVERIFY(!hours.isEmpty());
        QCOMPARE(lines.size() - 1, hours.size());
        for (const QString &line : lines.mid(1)) {
            const QStringList cells = line.split(',');
            for (int kind = 1; kind <= 10; ++kind)
                QCOMPARE(cells.at(kind + 1).toDouble(), hours.value(cells.first()).value(kind));
        }
    }

    // The comprehensive query's month, three tabs; --dept narrows it to a department's rows.
    void gridListsAMonthOfTheComprehensiveQuery()
    {
        const QString month = QDate::currentDate().toString("yyyy-MM");  // the demo's pay runs up to this month
        const AdminRun all = runAdmin({"grid", "Tfrmzggzzhcx", "--db", db_, "--month", month});
        QCOMPARE(all.status, 0);
        const QStringList lines = all.out.trimmed().split('\n');
        QCOMPARE(lines.first(), "工资表");
        QCOMPARE(lines.at(1), "职工编码,职工姓名,年月,基本工资,岗位工资,工龄,边远津贴,应发工资,扣除税金,实发工资");
        QVERIFY(lines.at(2).contains(QRegularExpression("^\\d{6},[^,]+," + month + ",")));
        const int wages = int(lines.indexOf("补贴表")) - 2;
        QVERIFY(wages > 0);
        const AdminRun narrowed = runAdmin({"grid", "Tfrmzggzzhcx", "--db", db_, "--month", month, "--dept", "01"});
        QCOMPARE(narrowed.status, 0);
        const int inDepartment = int(narrowed.out.split('\n').indexOf("补贴表")) - 2;
        QVERIFY(inDepartment < wages);
        const AdminRun quoted = runAdmin({"grid", "Tfrmzggzzhcx", "--db", db_, "--month", "2026-06", "--dept", "0' or '1'='1"});
        QCOMPARE(quoted.status, 0);
        QCOMPARE(quoted.out.split('\n').indexOf("补贴表"), 2);
    }

    // A cadre's printed résumé as a PDF that reads back with his or her data and answers.
    void resumeWritesThePdf()
    {
        QString code, name, answer;
        {
            const QSqlDatabase db = plainConnection("check", db_, true);
            QVERIFY(db.isOpen());
            QSqlQuery q("select gbllb.职工编码, 职工姓名, 技术职务 from gbllb join zghmc using (职工编码) order by 1 limit 1", db);
            QVERIFY(q.next());
            code = q.value(0).toString(), name = q.value(1).toString(), answer = q.value(2).toString();
        }
        QSqlDatabase::removeDatabase("check");
        const QString pdf = dir_.filePath("resume.pdf");
        const AdminRun run = runAdmin({"resume", code, "--db", db_, "--pdf", pdf});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QString read = pdfText(pdf, false).remove(QRegularExpression("\\s"));
        for (const QString &shown : {QString("干部履历表"), name, answer, QString("家庭主要成员情况")})
            QVERIFY2(read.contains(shown), qPrintable(shown));

        // Only the cadres the résumé screen lists (refused once the report engine has started,
        // so after whatever it says on starting).
        const AdminRun refused = runAdmin({"resume", "999999", "--db", db_, "--pdf", dir_.filePath("none.pdf")});
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.err.trimmed().endsWith("没有这个干部：999999"), qPrintable(refused.err));
        QVERIFY(!QFile::exists(dir_.filePath("none.pdf")));
    }

    // --help prints the usage and succeeds: every command's alone, one command's after its name.
    void helpPrintsTheUsage()
    {
        const AdminRun all = runAdmin({"--help"});
        QCOMPARE(all.status, 0);
        for (const char *usage : {"init --db FILE", "demo --db FILE", "rebuild gskqtjb --db FILE", "grid SCREEN", "restore --db FILE"})
            QVERIFY2(all.out.contains(usage), usage);
        for (const QStringList &asked : {QStringList{"rebuild", "--help"}, QStringList{"rebuild", "gskqtjb", "--help"},
                                         QStringList{"grid", "TFrmgsygztj", "--help"}, QStringList{"backup", "--help"}}) {
            const AdminRun one = runAdmin(asked);
            QCOMPARE(one.status, 0);
            QVERIFY2(one.out.contains("wenpad-admin " + asked.first()), qPrintable(one.out));
            QVERIFY2(!one.out.contains("init --db"), qPrintable(one.out));
            QVERIFY(one.err.isEmpty());
        }
    }

    // Column titles are CSV fields like any other, and a kind's name becomes a column however
    // it is written: a comma, a double quote, a NUL (which a server's text cannot hold).
    void kindNamesInTheCsvHeader()
    {
        QList<std::pair<QString, const char *>> names = {{"病,假", "02"}, {"a\"b]", "03"}};
        if (!testOnServer())
            names.append({QString("x") + QChar(0) + "y", "04"});
        const QString db = changedCopy("kinds.db", [&](QSqlQuery &q) {
            q.prepare("update kqfsb set 方式名称=? where 方式编码=?");
            for (const auto &[name, code] : names) {
                q.addBindValue(name);
                q.addBindValue(code);
                QVERIFY(q.exec());
            }
        });
        // Run as from cron, without a session's runtime folder: nothing but the table is said.
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_RUNTIME_DIR");
        const QString lastYear = QString::number(QDate::currentDate().year() - 1);
        const AdminRun run = runAdmin({"rebuild", "gskqtjb", "--db", db, "--from", lastYear + "-01-01", "--to", lastYear + "-12-31",
                                       "--pdf", dir_.filePath("kinds.pdf")});
        if (!runtime.isEmpty())
            qputenv("XDG_RUNTIME_DIR", runtime);
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
        QVERIFY(pdfText(dir_.filePath("kinds.pdf")).contains("a\"b]"));
        const QStringList lines = run.out.trimmed().split('\n');
        QCOMPARE(lines.first(), QString("职工编码,职工姓名,事假,\"病,假\",\"a\"\"b]\",%1,早退,婚假,丧假,产假,年休假,探亲假")
                                    .arg(testOnServer() ? "迟到" : "x_y"));
        QVERIFY(lines.size() > 1);
        QCOMPARE(lines.at(1).count(','), 11);  // twelve fields, as the header once it is read as CSV
    }

    // Sums beyond 64 bits (amounts another program wrote) are said in Chinese, not as SQLite's
    // "integer overflow".
    void overflowingSumsAreSaidInChinese()
    {
        const QString month = QDate::currentDate().toString("yyyy-MM");
        const QString db = changedCopy("overflow.db", [&](QSqlQuery &q) {
            QVERIFY(q.exec(QString("update gzb set 基本工资=9000000000000000000 where 年月='%1-01'").arg(month)));
        });
        const AdminRun run = runAdmin({"grid", "TFrmgsygztj", "--db", db, "--month", month});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains("金额合计过大"), qPrintable(run.err));
        QVERIFY(!run.err.contains("overflow"));
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        const QString db = "DB";  // replaced by the test database
        QTest::newRow("unknown option") << QStringList{"rebuild", "zgjbqkfxb", "--db", db, "--date", "2024-01-01", "--bogus", "x"} << 2 << "未知选项：--bogus";
        QTest::newRow("missing value") << QStringList{"rebuild", "zgjbqkfxb", "--db", db, "--date"} << 2 << "--date 缺少值";
        QTest::newRow("value is an option") << QStringList{"rebuild", "zgjbqkfxb", "--date", "--db", db} << 2 << "--date 缺少值";
        QTest::newRow("impossible date") << QStringList{"rebuild", "zgjbqkfxb", "--db", db, "--date", "2023-02-30"} << 2 << "日期无效";
        QTest::newRow("date with time") << QStringList{"rebuild", "zgjbqkfxb", "--db", db, "--date", "2023-02-03T10:00"} << 2 << "日期无效";
        QTest::newRow("short date") << QStringList{"rebuild", "zgjbqkfxb", "--db", db, "--date", "2023-2-3"} << 2 << "日期无效";
        QTest::newRow("repeated --db") << QStringList{"rebuild", "zgjbqkfxb", "--db", db, "--db", db, "--date", "2024-01-01"} << 2 << "--db 重复";
        QTest::newRow("unknown table") << QStringList{"rebuild", "nosuch", "--db", db, "--date", "2024-01-01"} << 2 << "没有这个名称";
        QTest::newRow("no table") << QStringList{"rebuild", "--db", db, "--date", "2024-01-01"} << 2 << "缺少名称参数";
        QTest::newRow("unknown window") << QStringList{"roster", "Tfrmxx", "--db", db, "--pdf", "x.pdf"} << 2 << "没有这个名称";
        QTest::newRow("résumé without a code") << QStringList{"resume", "--db", db, "--pdf", "x.pdf"} << 2 << "缺少名称参数";
        QTest::newRow("negative count") << QStringList{"demo", "--db", db, "--employees", "-5"} << 2 << "1 到 999999";
        QTest::newRow("absurd count") << QStringList{"demo", "--db", db, "--employees", "1000000"} << 2 << "1 到 999999";
        QTest::newRow("loose seed") << QStringList{"demo", "--db", db, "--employees", "5", "--seed", "abc"} << 2 << "--seed";
        QTest::newRow("negative seed") << QStringList{"demo", "--db", db, "--employees", "5", "--seed", "-5"} << 2 << "--seed";
        QTest::newRow("demo into a register") << QStringList{"demo", "--db", db, "--employees", "5"} << 1 << "已有职工";
        QTest::newRow("missing database") << QStringList{"rebuild", "zgjbqkfxb", "--db", "MISSING", "--date", "2024-01-01"} << 1 << "数据库文件不存在";
        QTest::newRow("init over a file") << QStringList{"init", "--db", db} << 1 << "不会覆盖";
        QTest::newRow("grid: another screen's input") << QStringList{"grid", "TFrmgsngztj", "--db", db, "--month", "2024-01"} << 2 << "不接受";
        QTest::newRow("grid: input missing") << QStringList{"grid", "TFrmgsygztj", "--db", db} << 2 << "缺少";
        QTest::newRow("grid: impossible month") << QStringList{"grid", "TFrmgsygztj", "--db", db, "--month", "2024-13"} << 2 << "月份无效";
        QTest::newRow("grid: employee query without its range") << QStringList{"grid", "Tfrmzggzcx", "--db", db, "--employee", "000001"} << 2 << "缺少";
        QTest::newRow("attendance without its end") << QStringList{"rebuild", "gskqtjb", "--db", db, "--from", "2025-01-01"} << 2 << "--to";
        QTest::newRow("grid: comprehensive query without its month") << QStringList{"grid", "Tfrmzggzzhcx", "--db", db, "--dept", "01"} << 2 << "缺少";
        QTest::newRow("import: unknown --existing") << QStringList{"import", "--db", db, "--from", "x.csv", "--existing", "merge"} << 2 << "skip 或 update";
        QTest::newRow("import: --dry-run takes no value") << QStringList{"import", "--db", db, "--from", "x.csv", "--dry-run", "yes"} << 2 << "多余的参数";
        QTest::newRow("import: missing list") << QStringList{"import", "--db", db, "--from", "MISSING"} << 1 << "无法读取文件";
        QTest::newRow("export: neither workbook nor CSV") << QStringList{"export", "--db", db, "--to", "x.txt"} << 2 << ".xlsx 或 .csv";
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2 << "usage";
        QTest::newRow("attendance range backwards") << QStringList{"rebuild", "gskqtjb", "--db", db, "--from", "2025-12-31", "--to", "2025-01-01"} << 2 << "起始日期不能晚于截止日期";
        QTest::newRow("grid range backwards") << QStringList{"grid", "Tfrmgspxqktj", "--db", db, "--from", "2025-02-01", "--to", "2025-01-31"} << 2 << "起始日期不能晚于截止日期";
        QTest::newRow("init into a missing folder") << QStringList{"init", "--db", "MISSING"} << 1 << "文件夹不存在";
    }

    void refusals()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, says);
        const QString missing = dir_.filePath("no/such/folder/x.db");
        args.replaceInStrings(QRegularExpression("^DB$"), db_).replaceInStrings(QRegularExpression("^MISSING$"), missing);
        const QByteArray before = databaseChecksum(db_);
        const AdminRun run = runAdmin(args);
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(says), qPrintable(run.err));
        QCOMPARE(run.err.trimmed().count('\n'), 0);
        QCOMPARE(databaseChecksum(db_), before);
        QVERIFY(!QFile::exists(dir_.filePath("no")));
    }
};

QTEST_GUILESS_MAIN(TestAdminTool)
#include "test_admin_tool.moc"
