// The employee search statement, the history group rows and the personal timeline, on small
// registers whose rows pin each rule.

#include "db/clock.h"
#include "db/sql.h"
#include "records/employee_search.h"
#include "records/timeline.h"
#include "records/work_dynamics.h"
#include "reports/page_model.h"
#include "support/document_texts.h"
#include "support/engine_sql.h"
#include "support/test_support.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using records::ListBase;

namespace {

void run(const QSqlDatabase &db, const char *statement) { sql::exec(db, QString::fromUtf8(statement)); }

// 000101 moved from 01 to 02; 000110's back-dated row, entered last, is its current one (03);
// 000301 has no department row at all.
void fillSearchRegister(const QSqlDatabase &db)
{
    run(db, "insert into zghmc (职工编码,职工姓名) values ('000101','张三'),('000102','张%四'),"
            "('000110','张三丰'),('000201','李_五'),('010001','王六'),('000301','赵七')");
    run(db, "insert into dwdtb (职工编码,变动时间,单位编码) values ('000101','2001-01-01','01'),"
            "('000101','2004-01-01','02'),('000102','2001-01-01','02'),('000110','2005-01-01','04'),"
            "('000110','2001-01-01','03'),('000201','2001-01-01','01'),('010001','2001-01-01','01')");
}

QStringList codes(QSqlQuery q)
{
    QStringList found;
    while (q.next())
        found << q.value(0).toString();
    return found;
}

// Every history starting 2003-01-01 (department 01, position 09, title 05 in category 01,
// skill 02/01). 000002 then: position 04 from 2004-03-01, title 04 from 2004-06-01, skill grade
// 03 only from 2004-08-01, two department rows on 2004-10-01 (02, then 03 recorded last).
// 000003 has no position row before 2003-05-01.
void fillTimelineRegister(const QSqlDatabase &db)
{
    run(db, "insert into zghmc (职工编码,职工姓名) values ('000001','甲'),('000002','乙'),('000003','丙')");
    run(db, "insert into dwdtb (职工编码,变动时间,单位编码) values ('000001','2003-06-01','01'),"
            "('000002','2003-01-01','01'),('000002','2004-10-01','02'),('000002','2004-10-01','03'),"
            "('000003','2003-01-01','01')");
    run(db, "insert into zwdtb (职工编码,变动时间,职务编码) values ('000001','2003-06-01','09'),"
            "('000002','2003-01-01','09'),('000002','2004-03-01','04'),('000003','2003-05-01','09')");
    run(db, "insert into zcdtb (职工编码,变动时间,职称编码,类别编码) values ('000001','2003-06-01','05','01'),"
            "('000002','2003-01-01','05','01'),('000002','2004-06-01','04','01'),('000003','2003-01-01','05','01')");
    run(db, "insert into gwjndtb (职工编码,变动时间,档次编码,类别编码) values ('000001','2003-06-01','02','01'),"
            "('000002','2003-01-01','02','01'),('000002','2004-08-01','03','01'),('000003','2003-01-01','02','01')");
}

QStringList lines(QSqlQuery q)
{
    QStringList found;
    while (q.next()) {
        QStringList fields;
        for (int i = 0; i < q.record().count(); ++i)
            fields << q.value(i).toString();
        found << fields.join('|');
    }
    return found;
}

}  // namespace

class TestWorkDynamics : public QObject {
    Q_OBJECT
private slots:
    void search_data()
    {
        QTest::addColumn<int>("base");
        QTest::addColumn<QString>("department");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("expected");
        const int current = int(ListBase::CurrentDepartment), all = int(ListBase::AllEmployees);
        const auto row = [](const char *title, int base, const char *dept, const char *code, const char *name,
                            const QStringList &expected) {
            QTest::newRow(title) << base << QString(dept) << QString::fromUtf8(code) << QString::fromUtf8(name)
                                 << expected;
        };
        row("every department: those with a department row", current, "", "", "",
            {"000101", "000102", "000110", "000201", "010001"});
        row("a department: its current members only", current, "01", "", "", {"000201", "010001"});
        row("moved in", current, "02", "", "", {"000101", "000102"});
        row("current row by recording order, not date", current, "03", "", "", {"000110"});
        row("old department row does not list", current, "04", "", "", {});
        row("code prefix", current, "", "01", "", {"010001"});
        row("code prefix is a prefix", current, "", "0001", "", {"000101", "000102", "000110"});
        row("name prefix", current, "", "", "张", {"000101", "000102", "000110"});
        row("percent matches itself", current, "", "", "张%", {"000102"});
        row("underscore matches itself", current, "", "", "李_", {"000201"});
        row("underscore alone", current, "", "", "_", {});
        row("quote is only text", current, "", "0'", "", {});
        row("all three", current, "03", "0001", "张三", {"000110"});
        row("department compared exactly", current, "0", "", "", {});
        row("every employee", all, "", "", "", {"000101", "000102", "000110", "000201", "000301", "010001"});
        row("every employee of a department", all, "02", "", "", {"000101", "000102"});
        row("every employee by name", all, "", "", "赵", {"000301"});
    }
    void search()
    {
        QFETCH(int, base);
        QFETCH(QString, department);
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QStringList, expected);
        ProgramFolder folder;
        fillSearchRegister(folder.db());
        QCOMPARE(codes(records::searchEmployees(folder.db(), ListBase(base), {department, code, name})), expected);
    }

    // Rows in recording order with their names; a row whose code has no name row is left out.
    void historyRows()
    {
        ProgramFolder folder;
        fillTimelineRegister(folder.db());
        run(folder.db(), "insert into zcdtb (职工编码,变动时间,职称编码,类别编码) values ('000002','2002-01-01','02',null)");
        const auto &groups = records::historyGroups();
        QCOMPARE(lines(records::historyRows(folder.db(), groups[0], "000002")).size(), 3);
        QStringList titles = lines(records::historyRows(folder.db(), groups[1], "000002"));
        for (QString &t : titles)
            t = t.section('|', 1);  // without the row number
        QCOMPARE(titles, (QStringList{"2003-01-01|工程技术|技术员|01|05", "2004-06-01|工程技术|助理工程师|01|04"}));
        QCOMPARE(lines(records::historyRows(folder.db(), groups[3], "000002")).last().section('|', 1),
                 QString("2004-08-01|管理岗位|三档||01|03"));
    }

    void timeline_data()
    {
        QTest::addColumn<QString>("employee");
        QTest::addColumn<QStringList>("table");  // gzdtjlb as stored
        QTest::addColumn<QStringList>("grid");   // as shown
        QTest::newRow("all histories start on one date")
            << "000001" << QStringList{"000001|2003-06-01|09|01|02|05|01|579"}
            << QStringList{"2003-06-01|经理办公室|科员|技术员|管理岗位二档|579"};
        QTest::newRow("changes on their own dates")
            << "000002"
            << QStringList{"000002|2003-01-01|09|01|02|05|01|425", "000002|2004-03-01|04|01|02|05|01|92",
                           "000002|2004-06-01|04|01|02|04|01|61", "000002|2004-08-01|04|01|03|04|01|61",
                           "000002|2004-10-01|04|01|03|04|03|91"}
            << QStringList{"2003-01-01|经理办公室|科员|技术员|管理岗位二档|425",
                           "2004-03-01|经理办公室|科长|技术员|管理岗位二档|92",
                           "2004-06-01|经理办公室|科长|助理工程师|管理岗位二档|61",
                           "2004-08-01|经理办公室|科长|助理工程师|管理岗位三档|61",
                           "2004-10-01|财务科|科长|助理工程师|管理岗位三档|91"};
        QTest::newRow("before the first position row: stored, not shown")
            << "000003"
            << QStringList{"000003|2003-01-01||01|02|05|01|120", "000003|2003-05-01|09|01|02|05|01|610"}
            << QStringList{"2003-05-01|经理办公室|科员|技术员|管理岗位二档|610"};
        QTest::newRow("no rows at all") << "000009" << QStringList{} << QStringList{};
    }
    void timeline()
    {
        QFETCH(QString, employee);
        QFETCH(QStringList, table);
        QFETCH(QStringList, grid);
        ProgramFolder folder;
        fillTimelineRegister(folder.db());
        const clock_source::ScopedToday today(QDate(2004, 12, 31));
        records::rebuildTimeline(folder.db(), "000001");  // the previous employee's lines go
        records::rebuildTimeline(folder.db(), employee);
        QSqlQuery stored(folder.db());
        stored.exec("select 职工编码, 变动时间, 职务编码, 类别编码, 档次编码, 职称编码, 单位编码, 时数 from gzdtjlb order by 变动时间");
        QCOMPARE(lines(std::move(stored)), table);
        QCOMPARE(lines(records::timelineRows(folder.db(), employee)), grid);
    }

    // A failed rebuild leaves the previous timeline.
    void failedRebuildKeepsTheTable()
    {
        ProgramFolder folder;
        fillTimelineRegister(folder.db());
        records::rebuildTimeline(folder.db(), "000002");
        failInserts(folder.db(), "gzdtjlb", "refused", "new.变动时间>'2004-01-01'");
        QVERIFY_THROWS_EXCEPTION(sql::Failure, records::rebuildTimeline(folder.db(), "000002"));
        QCOMPARE(queryValue(folder.db(), "select count(*) from gzdtjlb").toInt(), 5);
    }

    void printedTimeline()
    {
        ProgramFolder folder;
        fillTimelineRegister(folder.db());
        const clock_source::ScopedToday today(QDate(2004, 12, 31));
        records::rebuildTimeline(folder.db(), "000002");
        const report::Document document = records::printedTimeline(folder.db(), "000002", "乙");
        const QStringList texts = documentTexts(document);
        for (const char *expected : {"个人工作动态统计", "职工编号：000002", "职工姓名：乙", "岗位技能档次",
                                        "管理岗位三档", "92"})
            QVERIFY2(texts.contains(expected), qPrintable(expected));
    }
};

QTEST_MAIN(TestWorkDynamics)
#include "test_work_dynamics.moc"
