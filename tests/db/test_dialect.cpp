// The engine dialect: the portable form of the value in force agrees with the engine's own
// on the rows that pin the rule, and the upsert, catalogue, dates, error kinds and DDL mean
// what the callers rely on.

#include "db/dialect.h"
#include "db/sql.h"
#include "db/transaction.h"
#include "support/test_support.h"

#include <QSqlQuery>
#include <QTest>

using history::Table;

class TestDialect : public QObject {
    Q_OBJECT
private slots:
    void valueInForceOnAgreesWithThePortableForm()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        // 000001: a late correction dated before the row entered first; 000002: two rows on one
        // day; 000003: only a later row.
        for (const char *s : {
                 "insert into zghmc (职工编码,职工姓名) values ('000001','甲'),('000002','乙'),('000003','丙')",
                 "insert into dwdtb (职工编码,变动时间,单位编码) values ('000001','2003-06-01','01'),"
                 "('000001','2002-01-01','02'),('000002','2003-01-01','03'),('000002','2003-01-01','04'),"
                 "('000003','2009-01-01','05')",
                 "create table probe (e text, d text)",
                 "insert into probe values ('000001','2001-12-31'),('000001','2002-01-01'),('000001','2003-12-31'),"
                 "('000002','2002-12-31'),('000002','2003-01-01'),('000003','2005-01-01'),('000009','2005-01-01')"})
            sql::exec(db, QString::fromUtf8(s));
        const sql::Dialect &dialect = sql::dialect(db);
        const auto values = [&](const QString &expression) {
            QSqlQuery q = sql::prepare(db, "select " + expression + " from probe order by e, d");
            sql::exec(q);
            QStringList found;
            while (q.next())
                found << (q.value(0).isNull() ? QStringLiteral("-") : q.value(0).toString());
            return found;
        };
        const QStringList expected = {"-", "02", "02", "-", "04", "-", "-"};
        QCOMPARE(values(dialect.valueInForceOn(Table::Department, "单位编码", "probe.e", "probe.d")), expected);
        QCOMPARE(values(dialect.Dialect::valueInForceOn(Table::Department, "单位编码", "probe.e", "probe.d")), expected);
    }

    void upsertWritesThenUpdates()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        const sql::Dialect &dialect = sql::dialect(db);
        sql::exec(db, "create table kv (k text primary key, v text, w text)");
        QSqlQuery q = sql::prepare(db, dialect.upsert("kv", {"k", "v", "w"}, {"k"}));
        for (const QVariantList &row : {QVariantList{"a", "1", "x"}, QVariantList{"b", "2", "y"}, QVariantList{"a", "3", "z"}}) {
            sql::bindRow(q, row);
            sql::exec(q);
        }
        QCOMPARE(listed(db, "select k||v||w from kv order by k"),
                 QString("a3z,b2y"));
    }

    void catalogueNamesTablesTriggersAndColumnsInOrder()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        const sql::Dialect &dialect = sql::dialect(db);
        QVERIFY(dialect.tableNames(db).contains("zghmc"));
        QVERIFY(!dialect.tableNames(db).contains("dqdt_dwdtb_insert"));
        QVERIFY(dialect.triggerNames(db).contains("dqdt_dwdtb_insert"));
        QCOMPARE(dialect.columnNames(db, "dwdtb"), QStringList({"自动编号", "职工编码", "变动时间", "单位编码"}));
        QVERIFY(dialect.columnNames(db, "no_such_table").isEmpty());
    }

    void dayInYearIsIsoText_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<QString>("date");
        QTest::newRow("year end") << "2003" << 12 << 31 << "2003-12-31";
        QTest::newRow("padded year") << "987" << 1 << 1 << "0987-01-01";
        QTest::newRow("expression") << "year('2010-05-06')-30" << 1 << 1 << "1980-01-01";
    }
    void dayInYearIsIsoText()
    {
        QFETCH(QString, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(QString, date);
        ProgramFolder folder;
        QCOMPARE(queryValue(folder.db(), "select " + sql::dialect(folder.db()).dayInYear(year, month, day)).toString(), date);
    }

    void refusalsAreClassified()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        const auto kindOf = [&](const QSqlDatabase &on, const QString &statement) {
            try {
                sql::exec(on, statement);
            } catch (const sql::Failure &e) {
                return e.kind();
            }
            return sql::Failure::Kind(-1);
        };
        sql::exec(db, "insert into dwdmb values ('88','x')");
        QCOMPARE(kindOf(db, "insert into dwdmb values ('88','y')"), sql::Failure::Kind::Constraint);
        QCOMPARE(kindOf(db, "select * from no_such_table"), sql::Failure::Kind::Other);
        // Another connection holding the write lock: busy, once the wait is over.
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "dialect-other");
        other.setDatabaseName(db.databaseName());
        QVERIFY(other.open());
        sql::exec(other, "PRAGMA busy_timeout=0");
        {
            Transaction holding(db);
            sql::exec(db, "update xtztb set 状态=状态");
            QCOMPARE(kindOf(other, sql::dialect(other).beginWrite().first()), sql::Failure::Kind::Busy);
        }
        other.close();
        other = {};
        QSqlDatabase::removeDatabase("dialect-other");
    }

    void moneyColumnAddedKeepsAmountsExact()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        const sql::Dialect &dialect = sql::dialect(db);
        sql::exec(db, "insert into zghmc (职工编码) values ('000001')");
        sql::exec(db, "insert into gzb (年月,职工编码) values ('2024-01-01','000001')");
        sql::exec(db, dialect.addColumn("gzb", {"夜班津贴", schema::Kind::Money}, "0"));
        QCOMPARE(queryValue(db, "select 夜班津贴 from gzb").toLongLong(), 0);
        try {
            sql::exec(db, "update gzb set 夜班津贴=1.5");
            QFAIL("a fraction of the money unit was stored");
        } catch (const sql::Failure &e) {
            QCOMPARE(e.kind(), sql::Failure::Kind::Constraint);
        }
    }
};

QTEST_GUILESS_MAIN(TestDialect)
#include "test_dialect.moc"
