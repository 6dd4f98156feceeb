// Hostile text in every box that reaches SQL: each value is stored exactly as typed or refused
// with a message, nothing is half-written, and the database stays whole.

#include "codes/code_members.h"
#include "codes/code_rows.h"
#include "pay/pay_month.h"
#include "records/company_attendance.h"
#include "records/rewards.h"
#include "records/event_book.h"
#include "records/training.h"
#include "staff/cadre_resume.h"
#include "query/basic_situation.h"
#include "query/condition.h"
#include "staff/employee_fixture.h"
#include "support/engine_sql.h"
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

// The tables and triggers there, and on a file its own check of pages and references (a
// server checks its own as it writes).
QString wholeness(const QSqlDatabase &db)
{
    QStringList names = sql::tableAndTriggerNames(db).values();
    names.sort();
    if (!onPostgres(db))
        names << sql::scalar(db, "PRAGMA integrity_check").toString()
              << sql::scalar(db, "select count(*) from pragma_foreign_key_check").toString();
    return names.join(' ');
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
            // The condition dialog's name: bound, so a search finds nobody and fails nowhere; only
            // a server, whose texts cannot hold a NUL, refuses one as a value it cannot take.
            for (const auto match : {query::NameMatch::Equal, query::NameMatch::Prefix}) {
                try {
                    QVERIFY2(!query::basicSituationQuery(db, query::build({.name = text, .nameMatch = match})).next(), qPrintable(tag));
                } catch (const sql::Failure &e) {
                    QVERIFY2(testOnServer() && text.contains(QChar(0)) && e.kind() == sql::Failure::Kind::Constraint,
                             qPrintable(tag + ": " + e.message()));
                }
            }

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

    // The other boxes called safe for any text: attendance kind names (which name columns of the
    // attendance tables), salary items (columns of the wage table), courses, rewards and the
    // résumé. Each text is stored exactly as typed or refused whole, and what it names still
    // builds, carries and deletes.
    void namesAndRecordsTakeAnyText()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        const QString whole = wholeness(db);
        const QString employee = "000301";
        QVERIFY(staff::saveEmployee(db, validEmployee(employee), true).isEmpty());
        const codes::Member &kinds = *codes::findMember("Tfrmcqfs");
        const codes::Member &items = *codes::findMember("Tfrmgzgs");
        int n = 0;
        for (const QString &text : hostileTexts()) {
            const QString tag = QString("text %1").arg(n);
            // Stored as typed (read back with the key bound), or refused with nothing written:
            // true when stored.
            const auto storedOrRefused = [&](const std::function<void()> &write, const QString &read, const QVariant &key) {
                const QString before = rowCounts(db);
                QString verdict;
                try {
                    write();
                    QSqlQuery q = sql::prepare(db, read);
                    q.bindValue(":k", key);
                    sql::exec(q);
                    verdict = q.next() && q.value(0).toString() == text ? "stored" : "stored otherwise";
                } catch (const sql::Failure &) {
                    verdict = rowCounts(db) == before ? "refused" : "refused after writing";
                }
                [&] { QVERIFY2(verdict == "stored" || verdict == "refused", qPrintable(tag + ": " + verdict + " " + read)); }();
                return verdict == "stored";
            };

            const QString kind = QString("H%1").arg(n);
            if (storedOrRefused([&] { codes::saveRow(db, kinds, {{}, {{"方式编码", kind}, {"方式名称", text}}, {}}); },
                                "select 方式名称 from kqfsb where 方式编码=:k", kind)) {
                records::rebuildCompanyAttendance(db, QDate(2025, 1, 1), QDate(2025, 12, 31));
                codes::deleteRow(db, kinds, kind);
            }

            if (storedOrRefused([&] { codes::saveRow(db, items, {{}, {{"字段", text}, {"公式", QVariant()}}, {}}); },
                                "select 字段 from gzzd where 字段=:k", text)) {
                QVERIFY2(pay::salaryItemColumns(db).contains(text), qPrintable(tag));
                codes::deleteRow(db, items, text);
            }
            QVERIFY2(!pay::salaryItemColumns(db).contains(text), qPrintable(tag));

            const QString course = QString("C%1").arg(n);
            storedOrRefused([&] { records::training::saveCourse(db, {{"培训编码", course}, {"培训日期", "2020-01-01"}, {"训练内容", text}}, {}); },
                            "select 训练内容 from pxnrb where 培训编码=:k", course);
            storedOrRefused([&] { records::training::saveCourse(db, {{"培训编码", text}, {"培训日期", "2020-01-01"}}, {}); },
                            "select 培训编码 from pxnrb where 培训编码=:k", text);
            storedOrRefused([&] { records::saveEvent(db, records::rewardBook(), employee,
                                                     {{"奖惩日期", "2020-01-01"}, {"奖惩方式", text}, {"事由", text}, {"奖惩", "1"}}, {}); },
                            "select 事由 from jcjlb where 自动编号=(select max(自动编号) from jcjlb where 职工编码=:k)", employee);
            storedOrRefused([&] { staff::resume::saveAnswers(db, employee, {}, {{staff::resume::spouseFields().front().column, text}},
                                                             staff::resume::loadResume(db, employee).spouseRowId); },
                            QString("select %1 from pojlb where 职工编码=:k").arg(sql::quoteIdentifier(staff::resume::spouseFields().front().column)),
                            employee);
            ++n;
        }
        sql::exec(db, "drop table gskqtjb");  // the work table the kinds were built into
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
