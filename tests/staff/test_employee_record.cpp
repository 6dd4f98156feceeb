// The employee record: the save checks, the one-transaction save of the master row and the five
// entry-time rows, editing, the delete rules, and the small conversions of typed text.

#include "db/code_items.h"
#include "db/schema.h"
#include "staff/employee_fields.h"
#include "staff/staff_lists.h"
#include "employee_fixture.h"
#include "support/engine_sql.h"
#include "support/test_engine.h"

#include <QSqlQuery>
#include <QTest>

class TestEmployeeRecord : public QObject {
    Q_OBJECT
private slots:
    void saveChecks_data()
    {
        QTest::addColumn<QStringList>("changes");  // key=value pairs applied to a valid record
        QTest::addColumn<QString>("message");      // empty: saved
        const auto row = [](const char *name, QStringList changes, const char *message) {
            QTest::newRow(name) << changes << QString::fromUtf8(message);
        };
        row("valid", {}, "");
        row("no graduation date saves", {"毕业时间="}, "");
        row("no start-of-work date saves", {"工作时间="}, "");
        row("1 code blank", {"职工编码=  "}, "职工编号空，请重新输入！");
        row("2 name blank", {"职工姓名= "}, "职工姓名空，请重新输入！");
        row("3 birth date as the bare mask", {"出生年月=--"}, "出生日期格式错误，请重新输入！");
        row("3 birth date not in the calendar", {"出生年月=2023-02-30"}, "出生日期格式错误，请重新输入！");
        row("4 party not chosen", {"政治面貌="}, "政治面貌未填写，请重新输入！");
        row("4 party code unknown", {"政治面貌=77"}, "政治面貌未填写，请重新输入！");
        row("5 no party-joining date", {"入党时间="}, "入党时间格式错误，请重新输入！");
        row("6 education not chosen", {"文化程度="}, "文化程度未填写，请重新输入！");
        row("7 graduation date malformed", {"毕业时间=2003-13-01"}, "毕业时间格式错误，请重新输入！");
        row("8 no entry date", {"入司时间="}, "入司时间格式错误，请重新输入！");
        row("9 work type not chosen", {"zcdtb.类别编码="}, "工作类型未填写，请重新输入！");
        row("10 department unknown", {"dwdtb.单位编码=55"}, "部门名称未填写，请重新输入！");
        row("11 position not chosen", {"zwdtb.职务编码="}, "担任职务未填写，请重新输入！");
        row("12 grade not chosen", {"zwdjdtb.等级编码="}, "等级（职务）档次未填写，请重新输入！");
        row("13 title of another work type", {"zcdtb.职称编码=06"}, "技术职称未填写，请重新输入！");
        row("14 post category not chosen", {"gwjndtb.类别编码="}, "岗位类别未填写，请重新输入！");
        row("15 skill grade not chosen", {"gwjndtb.档次编码="}, "岗位技能档次未填写，请重新输入！");
        row("start-of-work date malformed", {"工作时间=2003-02-29"}, "工作时间格式错误，请重新输入！");
        row("grade salary malformed", {"zwdjdtb.等级工资=12.345678"}, "等级工资格式错误，请重新输入！");
        row("first failing check wins", {"出生年月=", "职工姓名=", "gwjndtb.档次编码="}, "职工姓名空，请重新输入！");
    }
    void saveChecks()
    {
        QFETCH(QStringList, changes);
        QFETCH(QString, message);
        ProgramFolder folder;
        staff::EmployeeRecord r = validEmployee();
        for (const QString &c : changes)
            r.values[c.section('=', 0, 0)] = c.section('=', 1);
        QCOMPARE(staff::saveEmployee(folder.db(), r, true), message);
        const QString written = message.isEmpty() ? "1" : "0";
        QCOMPARE(rowCounts(folder.db()), QString("zghmc=%1 dwdtb=%1 zwdtb=%1 zcdtb=%1 gwjndtb=%1 zwdjdtb=%1").arg(written));
    }

    void newEmployeeGetsOneEntryRowInEachHistory()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        QCOMPARE(staff::saveEmployee(db, validEmployee(), true), QString());
        const QMap<QString, QString> expected = {
            {"dwdtb", "02"}, {"zwdtb", "04"}, {"zcdtb", "03 01"}, {"gwjndtb", "02 01"}, {"zwdjdtb", "03 31205000"}};
        const QMap<QString, QString> columns = {{"dwdtb", "单位编码"},
                                                {"zwdtb", "职务编码"},
                                                {"zcdtb", "职称编码||' '||类别编码"},
                                                {"gwjndtb", "档次编码||' '||类别编码"},
                                                {"zwdjdtb", "等级编码||' '||等级工资"}};
        for (const QString &t : historyTables()) {
            QCOMPARE(queryValue(db, "select count(*)||' '||min(变动时间)||' '||min(职工编码) from " + t).toString(),
                     QString("1 2003-06-01 000100"));
            QCOMPARE(queryValue(db, "select " + columns[t] + " from " + t).toString(), expected[t]);
        }
        // Stored as typed, in ISO form, exactly.
        QCOMPARE(queryValue(db, "select 入党时间||' '||照片 from zghmc").toString(), QString("2000-07-01 p1.jpg"));
        const int type = queryValue(db, "select 等级工资 from zwdjdtb").typeId();
        QVERIFY(type == QMetaType::LongLong || type == QMetaType::ULongLong);
        const auto loaded = staff::loadEmployee(db, "000100");
        QVERIFY(loaded);
        QCOMPARE(loaded->value("zwdjdtb.等级工资"), QString("3120.50"));
        QCOMPARE(loaded->value("入党时间"), QString("2000-07-01"));
        QCOMPARE(loaded->entryRowIds.size(), 5);
        QVERIFY(!staff::loadEmployee(db, "999999"));
    }

    void editingMovesTheFiveEntryRowsAndLeavesLaterChanges()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        addEmployee(db, "000100", "02");
        // A later change of department, entered elsewhere.
        sql::exec(db, "insert into dwdtb (职工编码,变动时间,单位编码) values ('000100','2008-01-01','05')");
        staff::EmployeeRecord r = *staff::loadEmployee(db, "000100");
        QCOMPARE(r.value("dwdtb.单位编码"), QString("02"));  // the entry-time row, not the current one
        r.values["入司时间"] = "2004-2-29";
        r.values["dwdtb.单位编码"] = "03";
        r.values["职工姓名"] = "王五一";
        QCOMPARE(staff::saveEmployee(db, r, false), QString());
        for (const QString &t : historyTables())
            QCOMPARE(queryValue(db, "select count(*) from " + t + " where 变动时间='2004-02-29'").toInt(), 1);
        QCOMPARE(joinedColumn(db, "select 单位编码||'@'||变动时间 from dwdtb order by 自动编号", " "),
                 QString("03@2004-02-29 05@2008-01-01"));
        QCOMPARE(queryValue(db, "select 职工姓名 from zghmc").toString(), QString("王五一"));
    }

    void saveIsAllOrNothing()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        addEmployee(db, "000100", "02");
        const QString before = rowCounts(db);

        // A duplicate code: refused, nothing more written.
        QCOMPARE(staff::saveEmployee(db, validEmployee("000100"), true), staff::kDuplicateCode);
        QCOMPARE(rowCounts(db), before);

        // An edit whose last history row has gone meanwhile: the master row is not changed either.
        staff::EmployeeRecord r = *staff::loadEmployee(db, "000100");
        sql::exec(db, QString("delete from zcdtb where 自动编号=%1").arg(r.entryRowIds["zcdtb"]));
        r.values["职工姓名"] = "改了";
        r.values["dwdtb.单位编码"] = "04";
        QCOMPARE(staff::saveEmployee(db, r, false), sql::kStaleMessage);
        QCOMPARE(queryValue(db, "select 职工姓名 from zghmc").toString(), QString("王五"));
        QCOMPARE(queryValue(db, "select 单位编码 from dwdtb").toString(), QString("02"));
    }

    void deleteRules_data()
    {
        QTest::addColumn<QString>("otherRow");  // a statement adding a row that refers to 000100
        QTest::addColumn<bool>("removed");
        QTest::newRow("only histories and résumé")
            << "insert into gbllb (职工编码,入党) values ('000100','1990年'); insert into pojlb (职工编码,姓名) values ('000100','李梅'); "
               "insert into jtcyb (职工编码,姓名) values ('000100','王父'); insert into gwgxb (职工编码,姓名) values ('000100','赵六'); "
               "insert into hyjlb (职工编码,会议名称) values ('000100','职代会'); insert into gzjlb (职工编码,单位职务) values ('000100','技术员'); "
               "insert into xxjlb (职工编码,学校) values ('000100','省工业学校')"
            << true;
        QTest::newRow("a pay row keeps him") << "insert into gzb (年月,职工编码,基本工资) values ('2023-01-01','000100',10000)" << false;
        QTest::newRow("an appraisal keeps him") << "insert into ndkhb (年度,职工编码) values (2023,'000100')" << false;
        QTest::newRow("attendance keeps him") << "insert into kqjlb (职工编码,考勤时间) values ('000100','2023-01-05')" << false;
        QTest::newRow("a reward keeps him") << "insert into jcjlb (职工编码,奖惩日期) values ('000100','2023-01-05')" << false;
        QTest::newRow("training keeps him")
            << "insert into pxnrb (培训编码) values ('P1'); insert into pxjlb (职工编码,培训编码) values ('000100','P1')" << false;
    }
    void deleteRules()
    {
        QFETCH(QString, otherRow);
        QFETCH(bool, removed);
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        addEmployee(db, "000100", "02");
        addEmployee(db, "000101", "02");
        for (const QString &s : otherRow.split("; "))
            sql::exec(db, s);
        const QString before = rowCounts(db);
        QCOMPARE(staff::removeEmployee(db, "000100"), removed ? staff::Removal::Removed : staff::Removal::InUse);
        if (removed) {
            QCOMPARE(rowCounts(db), QString("zghmc=1 dwdtb=1 zwdtb=1 zcdtb=1 gwjndtb=1 zwdjdtb=1"));
            for (const char *resume : {"gbllb", "pojlb", "jtcyb", "gwgxb", "hyjlb", "gzjlb", "xxjlb"})
                QCOMPARE(queryValue(db, QString("select count(*) from %1").arg(resume)).toInt(), 0);
        } else {
            QCOMPARE(rowCounts(db), before);
        }
    }

    // A table added later that refers to employees must be placed on one side of the rule.
    void everyTableReferringToEmployeesIsCoveredByTheDeleteRules()
    {
        for (const schema::Table &t : schema::tables())
            for (const schema::Column &c : t.columns)
                if (c.references == "zghmc(职工编码)")
                    QVERIFY2(staff::recordsKeepingEmployee().contains(t.name)
                                 || staff::recordsOwnedByEmployee().contains(t.name),
                             qPrintable(t.name));
    }

    void typedText_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::newRow("code padded") << "code" << "12" << "000012";
        QTest::newRow("code long stays") << "code" << "1234567" << "1234567";
        QTest::newRow("code with letter stays") << "code" << "A12" << "A12";
        QTest::newRow("code empty stays") << "code" << "" << "";
        QTest::newRow("date ISO") << "date" << "2003-06-01" << "2003-06-01";
        QTest::newRow("date short parts") << "date" << "2003-6-1" << "2003-06-01";
        QTest::newRow("date leap day") << "date" << "2024-02-29" << "2024-02-29";
        QTest::newRow("date not in calendar") << "date" << "2023-02-30" << "";
        QTest::newRow("date month 13") << "date" << "2023-13-01" << "";
        QTest::newRow("date other separator") << "date" << "2003/06/01" << "";
        QTest::newRow("date partly masked") << "date" << "2003-06-" << "";
    }
    void typedText()
    {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(QString, result);
        QCOMPARE(kind == "code" ? staff::normalizedCode(text) : staff::parseDate(text).toString(Qt::ISODate), result);
    }

    // A department's list starts from that department's rows in code order, so it can be read
    // lazily without a sort over the whole register.
    void departmentListUsesTheIndexes()
    {
        SKIP_ON_SERVER("reads SQLite's query plan; the server plans by its own statistics");
        ProgramFolder folder;
        QSqlQuery list = windowed::execute(folder.db(), staff::departmentEmployees("02"));
        QSqlQuery plan(folder.db());
        plan.prepare("explain query plan " + list.lastQuery());
        plan.bindValue(":dw", "02");
        QVERIFY(plan.exec());
        QString steps;
        while (plan.next())
            steps += plan.value(3).toString() + '\n';
        QVERIFY2(steps.contains("dwdtb_by_department") && steps.contains("SEARCH c USING PRIMARY KEY"), qPrintable(steps));
        QVERIFY2(!steps.contains("TEMP B-TREE"), qPrintable(steps));
    }

    void gradeSalaryAndTitleLists()
    {
        ProgramFolder folder;
        QCOMPARE(staff::standardGradeSalary(folder.db(), "03"), QString("3120.00"));
        QCOMPARE(staff::standardGradeSalary(folder.db(), "77"), QString());
        const edit::Field *titles = staff::findField("zcdtb.职称编码");
        QStringList accounting;
        for (const code_items::Item &i : code_items::codeItems(folder.db(), titles->listTable(), {titles->filterColumn, "02"}))
            accounting << i.name;
        QCOMPARE(accounting, QStringList({"高级会计师", "会计师", "助理会计师", "会计员"}));
    }
};

QTEST_GUILESS_MAIN(TestEmployeeRecord)
#include "test_employee_record.moc"
