// Importing a staff list: the template filled in a spreadsheet (openpyxl), an .xls written by
// xlwt, CSV files in UTF-8 and GBK, the verdicts of every row, the one transaction, codes
// already in the register, and the register exported and imported back unchanged.

#include "app/edit_fields.h"
#include "db/app_paths.h"
#include "db/sql.h"
#include "import/import_columns.h"
#include "import/import_run.h"
#include "import/import_screen.h"
#include "import/register_file.h"
#include "app/file_choice.h"
#include "app/prompt.h"
#include "app/screen_registry.h"
#include "app/function_screen.h"
#include "support/test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStringEncoder>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

using namespace staff_import;

namespace {

// A good row by template title; `changes` replaces cells (a QJsonObject {"date": …} is a real
// Excel date in a workbook).
QJsonArray staffRow(const QString &code, const QString &name, const QVariantMap &changes = {})
{
    QVariantMap cells = {
        {"职工编码", code}, {"职工姓名", name}, {"性别", "男"}, {"出生日期", "1980-01-02"}, {"民族", "汉族"},
        {"政治面貌", "共产党员"}, {"入党(团)时间", "2001/7/1"}, {"文化程度", "大学本科"},
        {"入司时间", QJsonObject{{"date", "2003-06-01"}}.toVariantMap()}, {"部门", "人事科"}, {"工种", "工程技术"},
        {"职务", "总经理"}, {"岗位等级", "三级"}, {"等级工资", 1234.5678}, {"职称", "工程师"},
        {"岗位类别", "管理岗位"}, {"技能档次", "一档"}, {"工作时间", "2000年7月1日"}};
    cells.insert(changes);
    QJsonArray row;
    for (const QString &title : templateTitles())
        row.append(QJsonValue::fromVariant(cells.value(title, QString())));
    return row;
}

// Runs a Python helper of this folder with the JSON on its standard input; its output.
QString runPython(const QString &script, const QStringList &args, const QJsonArray &rows)
{
    QProcess run;
    run.start(WENPAD_PYTHON3, QStringList{WENPAD_TESTS "/import/" + script} + args);
    run.write(QJsonDocument(rows).toJson());
    run.closeWriteChannel();
    run.waitForFinished(60000);
    if (run.exitCode() != 0)
        qWarning() << run.readAllStandardError();
    return QString::fromUtf8(run.readAllStandardOutput());
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString csvOf(const QList<QJsonArray> &rows)
{
    QString text = templateTitles().join(',') + "\r\n";
    for (const QJsonArray &row : rows) {
        QStringList cells;
        for (const QJsonValue &v : row)
            cells << (v.isObject() ? v["date"].toString() : v.isDouble() ? QString::number(v.toDouble(), 'g', 15)
                                                                           : v.toString());
        text += cells.join(',') + "\r\n";
    }
    return text;
}

// Every verdict of a file, as the admin tool prints them.
QStringList verdictsOf(const QSqlDatabase &db, const QString &file, Existing existing = Existing::Skip)
{
    QStringList verdicts;
    checkFile(db, file, proposeMapping(readHeaders(file)), existing,
              [&](const Verdict &v) { verdicts << v.text(); });
    return verdicts;
}

Counts importAll(const QSqlDatabase &db, const QString &file, Existing existing = Existing::Skip)
{
    const Mapping mapping = proposeMapping(readHeaders(file));
    const Counts checked = checkFile(db, file, mapping, existing, [](const Verdict &) {});
    return importFile(db, file, mapping, existing, checked);
}

// The register and the five histories as text, row by row in code order.
QStringList registerRows(const QSqlDatabase &db)
{
    QStringList rows;
    for (const QString &table : QStringList{"zghmc"} + historyTables()) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("select * from %1 order by 职工编码").arg(table));
        while (q.next()) {
            QStringList cells{table};
            for (int i = 0; i < q.record().count(); ++i)
                if (q.record().fieldName(i) != "自动编号")
                    cells << q.value(i).toString();
            rows << cells.join('|');
        }
    }
    return rows;
}

qlonglong count(const QSqlDatabase &db, const QString &table)
{
    return queryValue(db, "select count(*) from " + table).toLongLong();
}

}  // namespace

class TestStaffImport : public QObject {
    Q_OBJECT

private slots:
    // A clerk's 20 rows in the downloaded template: the wrong department and the bad date are
    // refused with their reasons (the dry run says the same and writes nothing), the other 18
    // are in the register with their entry-time rows.
    void templateFilledInASpreadsheet()
    {
        ProgramFolder folder;
        const QString templ = folder.file("模板.xlsx"), filled = folder.file("职工.xlsx");
        writeTemplate(folder.db(), templ);
        QList<QJsonArray> rows;
        for (int i = 1; i <= 20; ++i)
            rows << staffRow(QString::number(i), QStringLiteral("职工%1").arg(i));
        rows[5] = staffRow("6", "职工6", {{"入司时间", "2003-02-30"}});  // sheet row 7
        rows[10] = staffRow("11", "职工11", {{"部门", "人事部"}});       // sheet row 12
        rows[2] = staffRow("3", "职工3", {{"部门", "03"}, {"入司时间", "2004年3月5日"}, {"等级工资", "800"}});
        QJsonArray all;
        for (const QJsonArray &r : rows)
            all.append(r);
        const QJsonObject offered = QJsonDocument::fromJson(runPython("fill_template.py", {templ, filled}, all).toUtf8()).object();
        QCOMPARE(offered["header"].toVariant().toStringList(), templateTitles());
        QVERIFY(offered["lists"]["部门"].toVariant().toStringList().contains("人事科"));
        QVERIFY(offered["lists"]["职称"].toVariant().toStringList().contains("工程师"));
        QCOMPARE(offered["lists"]["性别"].toVariant().toStringList(), QStringList({"男", "女"}));

        const QString dbFile = testDatabase();
        const QByteArray before = databaseChecksum(dbFile);
        const AdminRun dry = runAdmin({"import", "--db", dbFile, "--from", filled, "--dry-run"});
        QCOMPARE(dry.status, 0);
        QCOMPARE(dry.out.split('\n', Qt::SkipEmptyParts),
                 QStringList({"第 7 行：入司时间“2003-02-30”不是有效日期", "第 12 行：部门“人事部”不存在",
                              "可导入 18 行（其中更新 0 行），跳过 0 行，拒绝 2 行（试运行，未写入）"}));
        QCOMPARE(databaseChecksum(dbFile), before);

        const AdminRun real = runAdmin({"import", "--db", dbFile, "--from", filled});
        QCOMPARE(real.status, 0);
        QVERIFY(real.out.endsWith("导入 18 行（其中更新 0 行），跳过 0 行，拒绝 2 行\n"));
        QCOMPARE(count(folder.db(), "zghmc"), 18);
        for (const QString &table : historyTables())
            QCOMPARE(count(folder.db(), table + " where 变动时间='2003-06-01'"), 17);
        QCOMPARE(count(folder.db(), "dwdtb where 职工编码='000003' and 单位编码='03' and 变动时间='2004-03-05'"), 1);
        QCOMPARE(queryValue(folder.db(), "select 等级工资 from zwdjdtb where 职工编码='000001'").toLongLong(), 12345678);
        QCOMPARE(queryValue(folder.db(), "select 等级工资 from zwdjdtb where 职工编码='000003'").toLongLong(), 8000000);
        QCOMPARE(queryValue(folder.db(), "select 入党时间||工作时间 from zghmc where 职工编码='000020'").toString(),
                 QString("2001-07-012000-07-01"));
        QCOMPARE(count(folder.db(), "zghmc where 职工编码 in ('000006', '000011')"), 0);

        // Nothing left to import: the second run skips all 18, refuses the 2 and says so.
        const AdminRun again = runAdmin({"import", "--db", dbFile, "--from", filled});
        QCOMPARE(again.status, 1);
        QVERIFY(again.out.contains("第 2 行：职工编码“000001”已在花名册中，跳过"));
    }

    // What a row can get wrong, each with its reasons in Chinese.
    void rowVerdicts_data()
    {
        QTest::addColumn<QVariantMap>("changes");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("good") << QVariantMap{} << "可导入";
        QTest::newRow("department by code") << QVariantMap{{"部门", "2"}} << "可导入";
        QTest::newRow("unknown department") << QVariantMap{{"部门", "人事部"}} << "部门“人事部”不存在";
        QTest::newRow("impossible date") << QVariantMap{{"出生日期", "1980-02-30"}} << "出生日期“1980-02-30”不是有效日期";
        QTest::newRow("no entry date") << QVariantMap{{"入司时间", ""}} << "入司时间未填写";
        QTest::newRow("no name") << QVariantMap{{"职工姓名", " "}} << "职工姓名未填写";
        QTest::newRow("name too long") << QVariantMap{{"职工姓名", "一二三四五六七八九"}} << "职工姓名“一二三四五六七八九”超过8个字";
        QTest::newRow("code too long") << QVariantMap{{"职工编码", "1234567"}} << "职工编码“1234567”超过6个字";
        QTest::newRow("title of another work type") << QVariantMap{{"工种", "会计"}, {"职称", "03"}}
                                                    << "职称“工程师”不属于工种“会计”";
        QTest::newRow("five decimals") << QVariantMap{{"等级工资", "1.23456"}}
                                       << "等级工资“1.23456”不是有效金额（元，最多四位小数）";
        QTest::newRow("sex") << QVariantMap{{"性别", "男性"}} << "性别“男性”应为男、女之一";
        QTest::newRow("two reasons") << QVariantMap{{"部门", "人事部"}, {"政治面貌", ""}}
                                     << "部门“人事部”不存在；政治面貌未填写";
    }
    void rowVerdicts()
    {
        QFETCH(QVariantMap, changes);
        QFETCH(QString, outcome);
        ProgramFolder folder;
        const QString file = folder.file("list.csv");
        writeFile(file, csvOf({staffRow("7", "张三", changes)}).toUtf8());
        QCOMPARE(verdictsOf(folder.db(), file), QStringList{"第 2 行：" + outcome});
    }

    // A code given twice in one file: the second row is refused, naming the first.
    void duplicateCodeInFile()
    {
        ProgramFolder folder;
        const QString file = folder.file("list.csv");
        writeFile(file, csvOf({staffRow("7", "张三"), staffRow("000007", "李四")}).toUtf8());
        QCOMPARE(verdictsOf(folder.db(), file),
                 QStringList({"第 2 行：可导入", "第 3 行：职工编码“000007”与第 2 行重复"}));
    }

    // CSV as Excel saves it on a Chinese Windows (GBK), and UTF-8 with a BOM before the first
    // header, with quoted cells holding commas and quotes.
    void csvEncodings_data()
    {
        QTest::addColumn<QByteArray>("encoding");
        QTest::newRow("GBK") << QByteArray("GBK");
        QTest::newRow("UTF-8 with BOM") << QByteArray("UTF-8 BOM");
        QTest::newRow("UTF-8") << QByteArray("UTF-8");
    }
    void csvEncodings()
    {
        QFETCH(QByteArray, encoding);
        ProgramFolder folder;
        QString text = csvOf({staffRow("8", "王小明", {{"备注", "QUOTED"}})});
        text.replace("QUOTED", "\"调入，\"\"借调\"\"\"");
        QByteArray bytes;
        if (encoding == "GBK") {
            QStringEncoder gbk("GBK");
            QVERIFY(gbk.isValid());
            bytes = gbk.encode(text);
            QStringDecoder utf8(QStringDecoder::Utf8);
            (void)QString(utf8.decode(bytes));
            QVERIFY(utf8.hasError());  // really not UTF-8
        } else {
            bytes = (encoding == "UTF-8 BOM" ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + text.toUtf8();
        }
        const QString file = folder.file("list.csv");
        writeFile(file, bytes);
        QCOMPARE(importAll(folder.db(), file).added, 1);
        QCOMPARE(queryValue(folder.db(), "select 职工姓名||'/'||备注 from zghmc").toString(), QString("王小明/调入，\"借调\""));
    }

    // An old .xls workbook with its own headers in its own order: mapped by header names,
    // a real date cell read as a date.
    void xlsWorkbook()
    {
        ProgramFolder folder;
        const QString file = folder.file("old.xls");
        const QStringList titles = {"姓名", "职工编号", "部门名称", "入司时间", "出生日期", "政治面貌", "入党(团)时间",
                                    "文化程度", "工种", "职务", "岗位等级", "职称", "岗位类别", "技能档次"};
        QJsonArray rows{QJsonArray::fromStringList(titles)};
        rows.append(QJsonArray{"赵敏", 21, "财务科", QJsonObject{{"date", "1999-12-31"}}, "1970-05-06", "共青团员",
                               "1988-05-04", "硕士生", "会计", "无", "一级", "会计师", "技术岗位", "二档"});
        runPython("write_xls.py", {file}, rows);
        const Mapping mapping = proposeMapping(readHeaders(file), {{"姓名", "职工姓名"}});
        QCOMPARE(unmappedTitles(mapping).contains("职工姓名"), false);
        const Counts checked = checkFile(folder.db(), file, mapping, Existing::Skip, [](const Verdict &v) {
            QCOMPARE(v.text(), QString("第 2 行：可导入"));
        });
        QCOMPARE(importFile(folder.db(), file, mapping, Existing::Skip, checked).added, 1);
        QCOMPARE(queryValue(folder.db(), "select 职工姓名||入司时间 from zghmc where 职工编码='000021'").toString(),
                 QString("赵敏1999-12-31"));
        QCOMPARE(queryValue(folder.db(), "select 职称编码||类别编码 from zcdtb where 职工编码='000021'").toString(),
                 QString("0702"));
    }

    // Headers the template does not use are mapped as the clerk chose before; choicesOf keeps
    // only what a header does not say by itself.
    void mappingByHeaders()
    {
        const QStringList headers = {"工号", "职工姓名", "部 门", "备注", "入司 时间"};
        const Mapping first = proposeMapping(headers);
        const QStringList titles = templateTitles();
        QCOMPARE(first[titles.indexOf("职工编码")], -1);
        QCOMPARE(first[titles.indexOf("部门")], 2);
        QCOMPARE(first[titles.indexOf("入司时间")], 4);
        Mapping chosen = first;
        chosen[titles.indexOf("职工编码")] = 0;
        const RememberedChoices remembered = choicesOf(headers, chosen);
        QCOMPARE(remembered, (RememberedChoices{{"工号", "职工编码"}}));
        QCOMPARE(proposeMapping(headers, remembered), chosen);
    }

    // A code already in the register: skipped, or the person's fields and entry-time rows
    // updated in place (no second set of history rows).
    void codeAlreadyInRegister()
    {
        ProgramFolder folder;
        const QString file = folder.file("list.csv");
        writeFile(file, csvOf({staffRow("9", "钱一")}).toUtf8());
        QCOMPARE(importAll(folder.db(), file).added, 1);
        writeFile(file, csvOf({staffRow("9", "钱二", {{"部门", "财务科"}, {"入司时间", "2005-01-01"}})}).toUtf8());

        QCOMPARE(verdictsOf(folder.db(), file), QStringList{"第 2 行：职工编码“000009”已在花名册中，跳过"});
        QCOMPARE(importAll(folder.db(), file).skipped, 1);
        QCOMPARE(queryValue(folder.db(), "select 职工姓名 from zghmc").toString(), QString("钱一"));

        QCOMPARE(verdictsOf(folder.db(), file, Existing::Update), QStringList{"第 2 行：可导入（更新已有职工）"});
        QCOMPARE(importAll(folder.db(), file, Existing::Update).updated, 1);
        QCOMPARE(queryValue(folder.db(), "select 职工姓名||入司时间 from zghmc").toString(), QString("钱二2005-01-01"));
        QCOMPARE(listed(folder.db(), "select 单位编码||变动时间 from dwdtb order by 自动编号"),
                 QString("032005-01-01"));
        QCOMPARE(count(folder.db(), "zwdtb"), 1);
    }

    // Cancelling midway, and a file changed between the check and the write: nothing is written.
    void cancelledOrChangedWritesNothing()
    {
        ProgramFolder folder;
        const QString file = folder.file("list.csv");
        QList<QJsonArray> rows;
        for (int i = 1; i <= 600; ++i)
            rows << staffRow(QString::number(i), "职工");
        writeFile(file, csvOf(rows).toUtf8());
        const Mapping mapping = proposeMapping(readHeaders(file));
        const Counts checked = checkFile(folder.db(), file, mapping, Existing::Skip, [](const Verdict &) {});
        QCOMPARE(checked.added, 600);
        int calls = 0;
        QVERIFY_THROWS_EXCEPTION(Cancelled, importFile(folder.db(), file, mapping, Existing::Skip, checked,
                                                       [&calls](double) { return ++calls < 3; }));
        QCOMPARE(count(folder.db(), "zghmc"), 0);

        rows[599] = staffRow("600", "职工", {{"部门", "人事部"}});
        writeFile(file, csvOf(rows).toUtf8());
        QVERIFY_THROWS_EXCEPTION(FileError, importFile(folder.db(), file, mapping, Existing::Skip, checked));
        QCOMPARE(count(folder.db(), "zghmc"), 0);
        QCOMPARE(count(folder.db(), "dwdtb"), 0);
    }

    // The screen: a list with its own headers is mapped as proposed, the clerk maps the column
    // it could not place (remembered for the next file), the preview shows every row's verdict
    // and "导入" writes the good rows; the editor's "导出Excel…" writes the register.
    void importScreen()
    {
        ProgramFolder folder;
        const QString file = folder.file("list.csv");
        QString text = csvOf({staffRow("31", "孙一"), staffRow("32", "孙二", {{"部门", "人事部"}})});
        text.replace(0, text.indexOf(','), "工号");
        writeFile(file, text.toUtf8());
        QStringList asked;
        prompt::ScopedAnswerer answerer([&asked](const prompt::Call &call) {
            asked << call.message;
            return prompt::Ok;
        });
        file_choice::ScopedChooser chooser([&file](const file_choice::Request &) { return file; });
        TestHost host;
        Tfrmzgdr screen(host);
        StaffImportPanel *panel = screen.panel();
        panel->button("选择文件…")->click();
        const auto choice = [panel](const QString &title) {
            return static_cast<QComboBox *>(panel->mappingTable()->cellWidget(int(templateTitles().indexOf(title)), 1));
        };
        QCOMPARE(choice("部门")->currentText(), QString("部门"));
        QCOMPARE(choice("职工编码")->currentText(), QString("（不导入）"));
        QVERIFY(!panel->button("导入")->isEnabled());
        choice("职工编码")->setCurrentIndex(choice("职工编码")->findText("工号"));
        panel->button("检查")->click();
        QAbstractItemModel *preview = panel->preview()->model();
        QCOMPARE(preview->rowCount(), 2);
        QCOMPARE(preview->index(1, 3).data().toString(), QString("部门“人事部”不存在"));
        QCOMPARE(preview->index(0, 1).data().toString(), QString("000031"));
        QVERIFY(panel->summary()->text().startsWith("可导入 1 行"));
        panel->button("导入")->click();
        QCOMPARE(asked.value(0), QString("导入 1 行（其中更新 0 行），跳过 0 行，拒绝 1 行"));
        QCOMPARE(count(folder.db(), "zghmc"), 1);
        QVERIFY(!panel->button("导入")->isEnabled());
        QCOMPARE(rememberedChoices().value("工号"), QString("职工编码"));

        const QString out = folder.file("花名册.csv");
        file_choice::ScopedChooser saving([&out](const file_choice::Request &) { return out; });
        ScreenRegistry screens;
        registerAllScreens(screens);
        std::unique_ptr<FunctionScreen> editor(screens.find("Tfrmzglr")->create(host));
        editor->button("导出Excel…")->click();
        QCOMPARE(asked.value(1), "已导出 1 名职工：" + out);
        QFile written(out);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().contains("000031,孙一"));
    }

    // The register exported (workbook or CSV) imports into an empty database unchanged: the
    // master rows and the entry-time rows alike.
    void exportImportsBackUnchanged_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("xlsx") << "xlsx";
        QTest::newRow("csv") << "csv";
    }
    void exportImportsBackUnchanged()
    {
        QFETCH(QString, suffix);
        QStringList original;
        const QString exported = QDir::temp().filePath("wenpad-register-" + QString::number(QCoreApplication::applicationPid()) + '.' + suffix);
        {
            ProgramFolder folder;
            const QString file = folder.file("list.csv");
            writeFile(file, csvOf({staffRow("1", "甲", {{"等级工资", "0.0001"}, {"备注", "有,逗号"}}),
                                   staffRow("2", "乙", {{"曾用名", "老乙"}, {"性别", "女"}, {"毕业时间", "1999-7-1"},
                                                        {"部门", "财务科"}, {"工种", "会计"}, {"职称", "会计师"}}),
                                   staffRow("000123", "丙", {{"等级工资", ""}, {"身份证号", "11010119800102123X"}})})
                                .toUtf8());
            QCOMPARE(importAll(folder.db(), file).added, 3);
            original = registerRows(folder.db());
            const AdminRun run = runAdmin({"export", "--db", testDatabase(), "--to", exported});
            QCOMPARE(run.status, 0);
        }
        ProgramFolder empty;
        const AdminRun back = runAdmin({"import", "--db", testDatabase(), "--from", exported});
        QFile::remove(exported);
        QCOMPARE(back.out, QString("导入 3 行（其中更新 0 行），跳过 0 行，拒绝 0 行\n"));
        QCOMPARE(registerRows(empty.db()), original);
        QCOMPARE(original.size(), 3 * 6);
    }
};

QTEST_MAIN(TestStaffImport)
#include "test_staff_import.moc"
