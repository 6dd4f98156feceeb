#pragma once
// Training records: the courses (pxnrb) and each course's participants with their score and
// skill grade (pxjlb), as the training editor keeps them and the training lists read them.
// A participant's position is the one held at the course date: his or her last position row
// dated before 培训日期; empty when there is none (an entry to correct, so it is listed).

#include "app/edit_fields.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <optional>

namespace records::training {

// "培训编码", "培训日期", "累计时数", "训练内容" of pxnrb.
const edit::Fields &courseFields();
// "职工编号" 职工编码, "成绩", "技术评定" 技能评定 (pick-only "A"–"E") of pxjlb.
const edit::Fields &participantFields();

// Every course in stored order: 培训编码, 培训日期, 累计时数, 训练内容.
QSqlQuery courses(const QSqlDatabase &db);
// The course's participants in entry order: 自动编号, 职工编码, 职工姓名, 职务名称, 成绩, 技能评定.
QSqlQuery participants(const QSqlDatabase &db, const QString &course);
inline constexpr int kParticipantIdColumn = 0;
// The columns of stored hours and scores, shown as stored.
inline const QStringList kMeasuredTitles = {QStringLiteral("累计时数"), QStringLiteral("成绩")};

// Writes a course (new when `code` is empty; otherwise the course with that code, whose
// participants follow a changed code). Throws sql::Failure, also for a course without code or
// real date or with hours that are not a number of at least 0.
void saveCourse(const QSqlDatabase &db, const edit::Values &values, const std::optional<QString> &code);
// Removes the course and its participant rows in one transaction. Throws sql::Failure.
void deleteCourse(const QSqlDatabase &db, const QString &code);

// Writes a participant of the course (new without `id`). Throws sql::Failure, also for an
// employee code that no employee has, a score that is not empty or a number from 0 to 100,
// or a grade other than "A"–"E". Returns the row's 自动编号.
qint64 saveParticipant(const QSqlDatabase &db, const QString &course, const edit::Values &values,
                       const std::optional<qint64> &id);
void deleteParticipant(const QSqlDatabase &db, qint64 id);  // throws sql::Failure

// One employee's courses by date: 培训日期, 训练内容, 职务名称, 累计时数, 成绩, 技能评定.
QSqlQuery employeeCourses(const QSqlDatabase &db, const QString &employee);
// The courses dated from `from` to `to` (both included) that have participants, by code:
// 培训编码, 培训日期, 训练内容, 累计时数 and the participant count 培训人数.
QSqlQuery coursesBetween(const QSqlDatabase &db, const QDate &from, const QDate &to);

}  // namespace records::training
