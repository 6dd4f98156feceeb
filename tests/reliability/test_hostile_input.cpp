// Hostile text in every box that reaches SQL: each value is stored exactly as typed or refused
// with a message, nothing is half-written, and the database stays whole.

#include "codes/code_members.h"
#include "codes/code_rows.h"
#include "query/basic_situation.h"
#include "query/condition.h"
#include "staff/employee_fixture.h"
#include "support/test_support.h"

#include <QTest>

namespace {

const QStringList &hostileTexts()
{
    static const QStringList texts = {
        "O'Brien", "\"; DROP TABLE zghmc; --", "%", "_", "a%b_c", ";--", "' or '1'='1",
        QString(300, QChar(0x5F20)),                           // far longer than any column
        QString("a") + QChar(0) + "b",                         // NUL inside
        QString("x\ty\r\nz\x01"),                              // control characters
        QString::fromUtf8("\u202Eabc\u202C"),                  // right-to-left override
        QString::fromUtf8("\U0001F600\U00020000"),             // four-byte characters
        "  ", ""};
    return texts;
}

QString wholeness(const QSqlDatabase &db)
{
    return sql::scalar(db, "PRAGMA integrity_check").toString() + ' '
           + sql::scalar(db, "select count(*) from sqlite_master").toString() + ' '
           + sql::scalar(db, "select count(*) from pragma_foreign_key_check").toString();
}

}  // namespace

class TestHostileInput : public QObject {
    Q_OBJECT

private slots:
    void textsAreStoredAsTypedOrRefused()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        const QString whole = wholeness(db);
        const codes::Member &departments = *codes::findMember("Tfrmdwdm");
        int n = 0;
        for (const QString &text : hostileTexts()) {
            const QString tag = QString("text %1").arg(n);
            // The condition dialog's name: bound, so a search finds nobody and fails nowhere.
            for (const auto match : {query::NameMatch::Equal, query::NameMatch::Prefix})
                QVERIFY2(!query::basicSituationQuery(db, query::build({.name = text, .nameMatch = match})).next(), qPrintable(tag));

            // A code table name: the row holds exactly the text, or the save is refused whole.
            const QString code = QString::number(50 + n);  // codes the delivered list leaves free
            try {
                codes::saveRow(db, departments, {{}, {{"单位编码", code}, {"单位名称", text}}, {}});
                QCOMPARE(queryValue(db, QString("select 单位名称 from dwdmb where 单位编码='%1'").arg(code)).toString(), text);
            } catch (const sql::Failure &) {
                QCOMPARE(queryValue(db, QString("select count(*) from dwdmb where 单位编码='%1'").arg(code)).toInt(), 0);
            }

            // An employee's name and mobile number: saved as typed, or a message and no row.
            staff::EmployeeRecord r = validEmployee(QString("%1").arg(200 + n, 6, 10, QChar('0')));
            r.values["职工姓名"] = text;
            r.values["邮政编码"] = text;
            const QString before = rowCounts(db);
            const QString message = staff::saveEmployee(db, r, true);
            if (message.isEmpty())
                QCOMPARE(queryValue(db, QString("select 职工姓名 from zghmc where 职工编码='%1'").arg(r.code())).toString(), text);
            else
                QCOMPARE(rowCounts(db), before);
            ++n;
        }
        QCOMPARE(wholeness(db), whole);
    }

    // Dates that do not exist and amounts that are not exact money are refused before storing.
    void impossibleDatesAndAmountsAreRefused_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        for (const char *date : {"2023-02-30", "0000-00-00", "2023-13-01", "2023-02-03T10:00", "-2023-01-01"})
            QTest::newRow(date) << "出生年月" << QString(date);
        for (const char *amount : {"1.23456", "-", "1e5", "99999999999999999999", "3120,5", "０.５"})
            QTest::newRow(amount) << "zwdjdtb.等级工资" << QString(amount);
    }
    void impossibleDatesAndAmountsAreRefused()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        ProgramFolder folder;
        staff::EmployeeRecord r = validEmployee();
        r.values[key] = value;
        const QString before = rowCounts(folder.db());
        QVERIFY(!staff::saveEmployee(folder.db(), r, true).isEmpty());
        QCOMPARE(rowCounts(folder.db()), before);
    }
};

QTEST_GUILESS_MAIN(TestHostileInput)
#include "test_hostile_input.moc"
