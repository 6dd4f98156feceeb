#include "records/training.h"

#include "app/edit_rows.h"
#include "db/history.h"
#include "db/dialect.h"
#include "db/sql.h"
#include "db/transaction.h"


namespace records::training {

namespace {

using edit::Check;
using edit::Kind;

// The participant's position row in force before the course date, joined as zwdtb.
QString positionAtCourseDate(const QString &participant, const QString &course)
{
    return QStringLiteral(" left join zwdtb on zwdtb.职工编码=%1.职工编码 and %2"
                          " left join zwdmb on zwdmb.职务编码=zwdtb.职务编码")
        .arg(participant, history::inForceBeforeForRow(history::Table::Position, participant + ".职工编码",
                                                       course + ".培训日期"));
}

// Executed for a grid's model, which moves back and forth over the rows.
QSqlQuery executed(QSqlQuery q)
{
    sql::exec(q);
    return q;
}

[[noreturn]] void refuse(const QString &why) { throw sql::Failure(why, sql::Failure::Kind::Refused); }

// Empty (NULL), or the number edit::isNumber accepted.
QVariant numberValue(const QString &text)
{
    const QString t = text.trimmed();
    return t.isEmpty() ? QVariant() : QVariant(t.toDouble());
}

const QString kCourseRefused = QStringLiteral("培训编码、培训日期或累计时数不对");

}  // namespace

const edit::Fields &courseFields()
{
    static const edit::Fields fields = {
        {.label = "培训编码", .table = "pxnrb", .column = "培训编码", .check = Check::NotBlank, .message = kCourseRefused},
        {.label = "培训日期", .table = "pxnrb", .column = "培训日期", .kind = Kind::Date, .check = Check::Date,
         .message = kCourseRefused},
        {.label = "累计时数", .table = "pxnrb", .column = "累计时数", .check = Check::OptionalNumber,
         .message = kCourseRefused},
        {.label = "训练内容", .table = "pxnrb", .column = "训练内容"},
    };
    return fields;
}

const edit::Fields &participantFields()
{
    static const edit::Fields fields = {
        {.label = "职工编号", .table = "pxjlb", .column = "职工编码"},
        {.label = "成绩", .table = "pxjlb", .column = "成绩"},
        {.label = "技术评定", .table = "pxjlb", .column = "技能评定", .kind = Kind::PickList,
         .choices = {"", "A", "B", "C", "D", "E"}},  // empty: no grade
    };
    return fields;
}

QSqlQuery courses(const QSqlDatabase &db)
{
    return executed(sql::prepare(db, QStringLiteral("select 培训编码, 培训日期, 累计时数, 训练内容 from pxnrb order by rowid")));
}

QSqlQuery participants(const QSqlDatabase &db, const QString &course)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select j.自动编号, j.职工编码, z.职工姓名, zwdmb.职务名称, j.成绩, j.技能评定 "
                                                  "from pxjlb j join pxnrb c on c.培训编码=j.培训编码 "
                                                  "left join zghmc z on z.职工编码=j.职工编码")
                                       + positionAtCourseDate("j", "c")
                                       + QStringLiteral(" where j.培训编码=:course order by j.自动编号"));
    q.bindValue(":course", course);
    return executed(std::move(q));
}

void saveCourse(const QSqlDatabase &db, const edit::Values &values, const std::optional<QString> &code)
{
    const QString refused = edit::firstFailure(db, edit::fieldsOf(courseFields(), "pxnrb"), values);
    if (!refused.isEmpty())
        refuse(refused);
    const QString newCode = values.value("培训编码").trimmed();
    const QVariantMap row = {{"培训编码", newCode},
                             {"培训日期", sql::dateValue(edit::parseDate(values.value("培训日期")))},
                             {"累计时数", numberValue(values.value("累计时数"))},
                             {"训练内容", values.value("训练内容").isEmpty() ? QVariant() : values.value("训练内容")}};
    Transaction transaction(db);
    if (!code) {
        edit::writeRow(db, "pxnrb", row);
    } else {
        // A changed code takes the course's participants along; the references are checked
        // when the transaction commits.
        sql::exec(db, sql::dialect(db).deferReferenceChecks());
        edit::writeRow(db, "pxnrb", row, {"培训编码", *code});
        if (newCode != *code) {
            QSqlQuery q = sql::prepare(db, QStringLiteral("update pxjlb set 培训编码=:new where 培训编码=:old"));
            q.bindValue(":new", newCode);
            q.bindValue(":old", *code);
            sql::exec(q);
        }
    }
    transaction.commit();
}

void deleteCourse(const QSqlDatabase &db, const QString &code)
{
    Transaction transaction(db);
    edit::deleteRows(db, "pxjlb", {"培训编码", code});
    if (edit::deleteRows(db, "pxnrb", {"培训编码", code}) != 1)
        refuse(QStringLiteral("没有这个培训内容：%1").arg(code));
    transaction.commit();
}

qint64 saveParticipant(const QSqlDatabase &db, const QString &course, const edit::Values &values,
                       const std::optional<qint64> &id)
{
    const QString employee = values.value("职工编码").trimmed();
    // Empty, or a number from 0 up to 100.
    const QString score = values.value("成绩").trimmed();
    const bool scoreFits = score.isEmpty() || (edit::isNumber(score) && score.toDouble() <= 100);
    const QString grade = values.value("技能评定");
    QSqlQuery exists = sql::prepare(db, QStringLiteral("select 1 from zghmc where 职工编码=:e"));
    exists.bindValue(":e", employee);
    sql::exec(exists);
    if (!exists.next())
        refuse(QStringLiteral("没有这个职工：%1").arg(employee));
    if (!scoreFits || !(grade.isEmpty() || edit::findField(participantFields(), "技能评定")->choices.contains(grade)))
        refuse(QStringLiteral("成绩应为 0 到 100 的数，技术评定应为 A 到 E"));
    const QVariantMap row = {{"职工编码", employee},
                             {"培训编码", course},
                             {"成绩", numberValue(score)},
                             {"技能评定", grade.isEmpty() ? QVariant() : grade}};
    Transaction transaction(db);
    edit::writeRow(db, "pxjlb", row, id ? edit::RowKey{"自动编号", *id} : edit::RowKey{});
    // Read inside the write transaction, which holds the write lock: the newest row of this
    // employee on this course is the one just written (the engine's last generated number may
    // be the change log's).
    qint64 saved = id ? *id : 0;
    if (!id) {
        QSqlQuery newest = sql::prepare(db, QStringLiteral("select max(自动编号) from pxjlb where 职工编码=:e and 培训编码=:c"));
        newest.bindValue(":e", employee);
        newest.bindValue(":c", course);
        sql::exec(newest);
        saved = newest.next() ? newest.value(0).toLongLong() : 0;
    }
    transaction.commit();
    return saved;
}

void deleteParticipant(const QSqlDatabase &db, qint64 id) { edit::removeRow(db, "pxjlb", {"自动编号", id}); }

QSqlQuery employeeCourses(const QSqlDatabase &db, const QString &employee)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select c.培训日期, c.训练内容, zwdmb.职务名称, c.累计时数, j.成绩, j.技能评定 "
                                                  "from pxjlb j join pxnrb c on c.培训编码=j.培训编码")
                                       + positionAtCourseDate("j", "c")
                                       + QStringLiteral(" where j.职工编码=:e order by c.培训日期, j.自动编号"));
    q.bindValue(":e", employee);
    return executed(std::move(q));
}

QSqlQuery coursesBetween(const QSqlDatabase &db, const QDate &from, const QDate &to)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select c.培训编码, c.培训日期, c.训练内容, c.累计时数, count(j.职工编码) as 培训人数 "
                                                  "from pxjlb j join pxnrb c on c.培训编码=j.培训编码 "
                                                  "where c.培训日期>=:from and c.培训日期<=:to "
                                                  "group by c.培训编码 order by c.培训编码"));
    q.bindValue(":from", sql::dateValue(from));
    q.bindValue(":to", sql::dateValue(to));
    return executed(std::move(q));
}

}  // namespace records::training
