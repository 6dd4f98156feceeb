// The kept table of current rows against its definition (each employee's greatest 自动编号 of
// each history) after every kind of write, and made afresh for a file that lacks it.

#include "db/database.h"
#include "db/dialect.h"
#include "db/sql.h"
#include "support/test_support.h"

#include <QMap>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>

namespace {

// employee → history → current 自动编号, as the definition gives it.
using Current = QMap<QString, QMap<QString, qint64>>;

Current byDefinition(const QSqlDatabase &db)
{
    Current c;
    for (const QString &t : historyTables()) {
        QSqlQuery q = sql::prepare(db, "select 职工编码, max(自动编号) from " + t + " group by 职工编码");
        sql::exec(q);
        while (q.next())
            c[q.value(0).toString()][t] = q.value(1).toLongLong();
    }
    return c;
}

Current kept(const QSqlDatabase &db)
{
    Current c;
    QSqlQuery q = sql::prepare(db, "select 职工编码, " + historyTables().join(", ") + " from dqdtb");
    sql::exec(q);
    while (q.next()) {
        c[q.value(0).toString()];  // a row with no history row at all is a fault too
        for (int i = 0; i < historyTables().size(); ++i)
            if (!q.value(i + 1).isNull())
                c[q.value(0).toString()][historyTables()[i]] = q.value(i + 1).toLongLong();
    }
    return c;
}

void fill(const QSqlDatabase &db)
{
    sql::exec(db, "insert into zghmc (职工编码,职工姓名) values ('000001','甲'),('000002','乙'),('000003','丙')");
    for (const QString &t : {QString("dwdtb"), QString("zwdtb"), QString("zcdtb")})
        sql::exec(db, "insert into " + t + " (职工编码,变动时间) values ('000001','2001-01-01'),('000002','2002-01-01'),"
                                           "('000001','2003-01-01'),('000003','2004-01-01')");
    sql::exec(db, "insert into gwjndtb (职工编码,变动时间) values ('000002','2005-01-01')");
}

}  // namespace

class TestCurrentRows : public QObject {
    Q_OBJECT
private slots:
    void keptThroughEveryWrite_data()
    {
        QTest::addColumn<QStringList>("writes");
        QTest::newRow("new rows") << QStringList{"insert into dwdtb (职工编码,变动时间) values ('000002','1990-01-01')"};
        QTest::newRow("an older 自动编号 given") << QStringList{
            "insert into dwdtb (自动编号,职工编码,变动时间) values (1000,'000003','2000-01-01')",
            "insert into dwdtb (自动编号,职工编码,变动时间) values (500,'000003','2009-01-01')"};
        QTest::newRow("current row deleted") << QStringList{"delete from zwdtb where 自动编号=3"};
        QTest::newRow("older row deleted") << QStringList{"delete from zwdtb where 自动编号=1"};
        QTest::newRow("an employee's last row of one history") << QStringList{"delete from gwjndtb"};
        QTest::newRow("every row of an employee") << QStringList{
            "delete from dwdtb where 职工编码='000003'", "delete from zwdtb where 职工编码='000003'",
            "delete from zcdtb where 职工编码='000003'"};
        QTest::newRow("a row moved to another employee") << QStringList{
            "update zcdtb set 职工编码='000002' where 自动编号=3"};
        QTest::newRow("a row renumbered") << QStringList{"update dwdtb set 自动编号=99 where 自动编号=1"};
        QTest::newRow("a code changed") << QStringList{"update zcdtb set 职称编码='01' where 自动编号=3"};
        QTest::newRow("a first grade salary row") << QStringList{
            "insert into zwdjdtb (职工编码,变动时间) values ('000001','2006-01-01')"};
    }
    void keptThroughEveryWrite()
    {
        QFETCH(QStringList, writes);
        ProgramFolder folder;
        fill(folder.db());
        QCOMPARE(kept(folder.db()), byDefinition(folder.db()));
        for (const QString &w : writes)
            sql::exec(folder.db(), w);
        QCOMPARE(kept(folder.db()), byDefinition(folder.db()));
    }

    void rolledBackWriteLeavesItAsItWas()
    {
        ProgramFolder folder;
        fill(folder.db());
        const Current before = kept(folder.db());
        QVERIFY(folder.db().transaction());
        sql::exec(folder.db(), "delete from dwdtb");
        sql::exec(folder.db(), "insert into zcdtb (职工编码,变动时间) values ('000003','2010-01-01')");
        QVERIFY(folder.db().rollback());
        QCOMPARE(kept(folder.db()), before);
    }

    // A file from before the table, or one that lost a trigger (and so perhaps some writes), gets
    // the table filled afresh when it is opened.
    void madeAfreshWhenMissing_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("no table") << "drop table dqdtb";
        // A server's trigger is named with its table.
        QTest::newRow("a trigger gone, a write missed") << (testOnServer() ? "drop trigger dqdt_zwdtb_insert on zwdtb;"
                                                                           : "drop trigger dqdt_zwdtb_insert;")
                                                               + QStringLiteral("insert into zwdtb (职工编码,变动时间) values ('000002','2011-01-01')");
    }
    void madeAfreshWhenMissing()
    {
        QFETCH(QString, damage);
        ProgramFolder folder;
        fill(folder.db());
        for (const QString &statement : damage.split(';'))
            sql::exec(folder.db(), statement);
        database::close(database::kSharedConnection);
        QVERIFY(database::open(database::kSharedConnection, folder.address()).ok);
        QCOMPARE(kept(folder.db()), byDefinition(folder.db()));
        const QStringList triggers = sql::dialect(folder.db()).triggerNames(folder.db()).filter(QRegularExpression("^dqdt_"));
        QCOMPARE(triggers.size(), 15);
    }
};

QTEST_GUILESS_MAIN(TestCurrentRows)
#include "test_current_rows.moc"
