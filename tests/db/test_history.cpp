// The history reading rules on one small register whose rows pin each rule's edges.

#include "db/dialect.h"
#include "db/history.h"
#include "db/sql.h"
#include "support/test_support.h"

#include <QSqlQuery>
#include <QTest>
#include <memory>

using history::Table;

namespace {

// 000001: A dated 2003-06-01 entered first, B dated 2002-01-01 entered second (a late correction).
// 000002: entered in date order, the second change dated 2003-12-31.
// 000003: a change dated 2004-01-01, entered after one dated 2003-05-05.
// 000004: only a row dated after every reference date.
void fillRegister(const QSqlDatabase &db)
{
    for (const char *s : {
             "insert into zghmc (职工编码,职工姓名) values ('000001','甲'),('000002','乙'),('000003','丙'),('000004','丁')",
             "insert into dwdtb (职工编码,变动时间,单位编码) values "
             "('000001','2003-06-01','01'),('000001','2002-01-01','02'),"
             "('000002','2001-01-01','03'),('000002','2003-12-31','04'),"
             "('000003','2003-05-05','05'),('000003','2004-01-01','06'),"
             "('000004','2009-01-01','07')",
             "insert into zwdtb (职工编码,变动时间,职务编码) values "
             "('000001','2002-01-01','09'),('000001','2003-06-01','04'),('000001','2004-03-01','05')"}) {
        sql::exec(db, QString::fromUtf8(s));
    }
}

QString departmentBy(const QSqlDatabase &db, const QString &condition, const QString &employee,
                     const QVariant &reference)
{
    QSqlQuery q = sql::prepare(db, "select 单位编码 from dwdtb where " + condition + " and 职工编码=:e");
    if (condition.contains(":d"))
        q.bindValue(":d", reference);
    q.bindValue(":e", employee);
    sql::exec(q);
    const QString code = q.next() ? q.value(0).toString() : QString();
    if (q.next())
        return "several rows";
    return code;
}

QString departmentOfRow(const QSqlDatabase &db, qint64 id)
{
    return queryValue(db, QString("select 单位编码 from dwdtb where 自动编号=%1").arg(id)).toString();
}

}  // namespace

class TestHistory : public QObject {
    Q_OBJECT
    // The register the rules only read, made once.
    std::unique_ptr<ProgramFolder> register_;

private slots:
    void initTestCase()
    {
        register_ = std::make_unique<ProgramFolder>();
        fillRegister(register_->db());
    }
    void cleanupTestCase() { register_.reset(); }

    void rules_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("employee");
        QTest::addColumn<QString>("reference");
        QTest::addColumn<QString>("department");  // empty: no row
        const auto row = [](const char *name, const char *rule, const char *e, const char *ref, const char *dept) {
            QTest::newRow(name) << rule << e << ref << dept;
        };
        row("late correction: current row is B", "current", "000001", "", "02");
        row("late correction: in force 2003-12-31 is B", "on", "000001", "2003-12-31", "02");
        row("late correction: latest-dated 2003-12-31 is A", "latest", "000001", "2003-12-31", "01");
        row("late correction: in force 2002-12-31 is B", "on", "000001", "2002-12-31", "02");
        row("nothing in force before the first date", "on", "000001", "2001-12-31", "");
        row("nothing latest-dated before the first date", "latest", "000001", "2001-12-31", "");
        row("change on D counts in force", "on", "000002", "2003-12-31", "04");
        row("change on D counts latest-dated", "latest", "000002", "2003-12-31", "04");
        row("change on D does not count before D", "before", "000002", "2003-12-31", "03");
        row("in order: rules agree", "on", "000002", "2005-01-01", "04");
        row("in order: latest agrees", "latest", "000002", "2005-01-01", "04");
        row("year counts 31 December", "year", "000002", "2003", "04");
        row("year excludes 1 January after", "year", "000003", "2003", "05");
        row("year includes its own 1 January", "year", "000003", "2004", "06");
        row("only later rows: none in force", "on", "000004", "2005-01-01", "");
        row("per row, current is the late correction", "current-row", "000001", "", "02");
        row("per row, on", "on-row", "000002", "2003-12-31", "04");
        row("per row, before", "before-row", "000002", "2003-12-31", "03");
        row("per row, late correction", "on-row", "000001", "2003-12-31", "02");
        row("snapshot, late correction", "snapshot", "000001", "2003-12-31", "02");
        row("snapshot, change on D", "snapshot", "000002", "2003-12-31", "04");
        row("snapshot, day before the change", "snapshot", "000002", "2003-12-30", "03");
        row("snapshot, nothing yet", "snapshot", "000001", "2001-12-31", "");
    }
    void rules()
    {
        QFETCH(QString, rule);
        QFETCH(QString, employee);
        QFETCH(QString, reference);
        QFETCH(QString, department);
        const QSqlDatabase db = register_->db();
        QString found;
        if (rule == "latest") {
            const auto id = history::latestDatedOn(db, Table::Department, employee,
                                                   QDate::fromString(reference, Qt::ISODate));
            found = id ? departmentOfRow(db, *id) : QString();
        } else if (rule == "snapshot") {
            QSqlQuery q = sql::prepare(db, "select 单位编码 from (" + sql::dialect(db).snapshotOn(Table::Department, ":d", {"单位编码"})
                                               + ") s where 职工编码=:e");
            q.bindValue(":d", reference);
            q.bindValue(":e", employee);
            sql::exec(q);
            found = q.next() ? q.value(0).toString() : QString();
        } else {
            const QMap<QString, QString> conditions = {
                {"current", history::currentRow(Table::Department)},
                {"on", history::inForceOn(Table::Department, ":d")},
                {"before", history::inForceBefore(Table::Department, ":d")},
                {"year", history::inForceInYear(Table::Department, ":d")},
                {"current-row", history::currentRowForRow(Table::Department, "dwdtb.职工编码")},
                {"on-row", history::inForceOnForRow(Table::Department, "dwdtb.职工编码", ":d")},
                {"before-row", history::inForceBeforeForRow(Table::Department, "dwdtb.职工编码", ":d")},
            };
            const QVariant ref = rule == "year" ? QVariant(reference.toInt()) : QVariant(reference);
            found = departmentBy(db, conditions.value(rule), employee, ref);
        }
        QCOMPARE(found, department);
    }

    void changeDatesListEachDateOnce()
    {
        const QSqlDatabase db = register_->db();
        QCOMPARE(history::changeDates(db, "000001"), QList<QDate>({QDate(2002, 1, 1), QDate(2003, 6, 1), QDate(2004, 3, 1)}));
        QVERIFY(history::changeDates(db, "999999").isEmpty());
    }

    void positionsSinceADateLatestFirst()
    {
        const QSqlDatabase db = register_->db();
        QCOMPARE(history::positionsSince(db, "000001", QDate(2003, 6, 1)), QStringList({"副科长", "科长"}));
        QVERIFY(history::positionsSince(db, "000001", QDate(2004, 3, 2)).isEmpty());
    }

    void rulesUseTheIndexes()
    {
        SKIP_ON_SERVER("the file's query plan; the server's planner chooses by its own statistics");
        QSqlQuery q(register_->db());
        QVERIFY(q.exec("explain query plan select gzb.* from gzb, dwdtb where dwdtb.职工编码=gzb.职工编码 and "
                       + history::inForceOnForRow(Table::Department, "gzb.职工编码", "gzb.年月")));
        QString plan;
        while (q.next())
            plan += q.value(3).toString() + '\n';
        QVERIFY2(plan.contains("dwdtb_by_employee"), qPrintable(plan));
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "test_history.moc"
