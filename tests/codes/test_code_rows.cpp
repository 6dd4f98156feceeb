// Code rows without a window: code padding, salary item names, the gzb column that comes and
// goes with its salary item, and amounts typed in yuan.

#include "codes/code_rows.h"
#include "db/sql.h"
#include "db/dialect.h"
#include "support/test_support.h"

#include <QSqlQuery>
#include <QTest>

namespace {

const codes::Member &salaryItems() { return *codes::findMember("Tfrmgzgs"); }

QStringList wageColumns(const QSqlDatabase &db)
{
    return sql::dialect(db).columnNames(db, "gzb");
}

// Two employees with a wage row each, so the new column has rows to fill.
void addWageRows(const QSqlDatabase &db)
{
    for (const char *code : {"000001", "000002"}) {
        queryValue(db, QString("insert into zghmc(职工编码,职工姓名) values('%1','某人')").arg(code));
        queryValue(db, QString("insert into gzb(年月,职工编码,基本工资) values('2026-01-01','%1',25000000)").arg(code));
    }
}

void addItem(const QSqlDatabase &db, const QString &name)
{
    codes::saveRow(db, salaryItems(), {{}, {{"字段", name}, {"公式", "基本工资*0.1"}}, {}});
}

}  // namespace

class TestCodeRows : public QObject {
    Q_OBJECT
private slots:
    void formatCode_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("code");  // null: not a whole number
        QTest::newRow("one digit") << "5" << "05";
        QTest::newRow("two digits") << "12" << "12";
        QTest::newRow("three digits") << "123" << "123";
        QTest::newRow("leading zeros") << "007" << "07";
        QTest::newRow("zero") << "0" << "00";
        QTest::newRow("blanks around") << " 7 " << "07";
        QTest::newRow("empty") << "" << QString();
        QTest::newRow("letters") << "a1" << QString();
        QTest::newRow("negative") << "-1" << QString();
        QTest::newRow("decimal") << "1.5" << QString();
        QTest::newRow("too large") << "99999999999" << QString();
    }
    void formatCode()
    {
        QFETCH(QString, typed);
        QFETCH(QString, code);
        QCOMPARE(codes::formatCode(typed).value_or(QString()), code);
    }

    void salaryItemNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("acceptable");
        QTest::newRow("Chinese") << "夜班津贴" << true;
        QTest::newRow("letters digits underscore") << "bonus_2" << true;
        QTest::newRow("leading underscore") << "_x" << true;
        QTest::newRow("leading digit") << "2号津贴" << false;
        QTest::newRow("blank inside") << "夜班 津贴" << false;
        QTest::newRow("statement") << "x CURRENCY); DROP TABLE zghmc; --" << false;
        QTest::newRow("quote") << "a\"b" << false;
        QTest::newRow("hyphen") << "a-b" << false;
        QTest::newRow("keyword") << "select" << false;
        QTest::newRow("keyword upper case") << "TABLE" << false;
        QTest::newRow("existing column") << "基本工资" << false;
        QTest::newRow("row id") << "ROWID" << false;
        // Columns the pay grids show beside the items.
        QTest::newRow("employee name") << "职工姓名" << false;
        QTest::newRow("department name") << "单位名称" << false;
        QTest::newRow("month") << "年月" << false;
        QTest::newRow("another sheet's amount") << "扣发公积金" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("too long") << QString(51, QChar(u'津')) << false;
    }
    void salaryItemNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, acceptable);
        ProgramFolder folder;
        QCOMPARE(codes::acceptableSalaryItemName(folder.db(), name), acceptable);
    }

    void salaryItemColumnComesAndGoesWithItsRow()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        addWageRows(db);
        addItem(db, "夜班津贴");
        QVERIFY(wageColumns(db).contains("夜班津贴"));
        // Every existing row starts at 0, read as the amounts of a fixed column are.
        QCOMPARE(listed(db, "select 夜班津贴 from gzb order by 职工编码"), "0,0");
        QCOMPARE(queryValue(db, "select 夜班津贴 from gzb limit 1").typeId(), queryValue(db, "select 基本工资 from gzb limit 1").typeId());
        QCOMPARE(queryValue(db, "select 公式 from gzzd where 字段='夜班津贴'").toString(), "基本工资*0.1");
        addItem(db, "Bonus");
        QVERIFY(!codes::acceptableSalaryItemName(db, "BONUS"));  // column names ignore case
        // The new column takes and refuses amounts as a fixed money column does.
        for (const QString value : {"1.5", "'abc'", "12345"}) {
            queryValue(db, "update gzb set 基本工资=0, 夜班津贴=0");
            QStringList outcomes;
            for (const QString column : {"基本工资", "夜班津贴"}) {
                QSqlQuery write(db);
                const bool written = write.exec(QString("update gzb set %1=%2 where 职工编码='000001'").arg(column, value));
                outcomes << QString("%1 %2").arg(written).arg(queryValue(db, QString("select %1 from gzb where 职工编码='000001'").arg(column)).toString());
            }
            QCOMPARE(outcomes.last(), outcomes.first());
        }
        queryValue(db, "update gzb set 基本工资=25000000");

        queryValue(db, "update gzb set 夜班津贴=3000000");
        codes::deleteRow(db, salaryItems(), "夜班津贴");
        QVERIFY(!wageColumns(db).contains("夜班津贴"));
        QCOMPARE(queryValue(db, "select count(*) from gzzd where 字段='夜班津贴'").toInt(), 0);
        QCOMPARE(queryValue(db, "select sum(基本工资) from gzb").toLongLong(), 50000000);
    }

    void failedSalaryItemLeavesNothingHalfDone()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        addWageRows(db);
        const QStringList before = wageColumns(db);

        // A gzzd row without its column: the column is added, the row is refused, both go back.
        queryValue(db, "insert into gzzd(字段) values('误餐费')");
        QVERIFY_THROWS_EXCEPTION(sql::Failure, addItem(db, "误餐费"));
        QCOMPARE(wageColumns(db), before);

        // Refused names never reach the database.
        QVERIFY_THROWS_EXCEPTION(sql::Failure, addItem(db, "x CURRENCY); DROP TABLE zghmc; --"));
        QCOMPARE(wageColumns(db), before);
        QCOMPARE(queryValue(db, "select count(*) from gzzd").toInt(), 1);

        // The column cannot be dropped, so the row stays; a fixed column of gzb is never dropped.
        QVERIFY_THROWS_EXCEPTION(sql::Failure, codes::deleteRow(db, salaryItems(), "误餐费"));
        QCOMPARE(queryValue(db, "select count(*) from gzzd").toInt(), 1);
        queryValue(db, "insert into gzzd(字段) values('基本工资')");
        QVERIFY_THROWS_EXCEPTION(sql::Failure, codes::deleteRow(db, salaryItems(), "基本工资"));
        QCOMPARE(wageColumns(db), before);
    }
};

QTEST_MAIN(TestCodeRows)
#include "test_code_rows.moc"
