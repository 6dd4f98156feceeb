#pragma once
// The personnel record card of one employee: the skill-grade history with the position in
// force on each change and the days each grade lasted, the rewards and punishments, and the
// attendance hours of ten years per attendance kind, built into the work table kqtjb.

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace records {

// A grid of the card as read: its caption, column titles and rows.
struct CardGrid {
    QString caption;
    QStringList titles;
    QList<QVariantList> rows;
};

// The whole card in the screen's order: skill grades, rewards and punishments, and the yearly
// attendance with kqtjb rebuilt for the ten years up to `lastYear`. Throws sql::Failure.
std::vector<CardGrid> recordCard(const QSqlDatabase &db, const QString &employee, int lastYear);

// The year columns of kqtjb for a card dated in `lastYear`: "2026年", "2025年", … ten of them.
QStringList attendanceYearColumns(int lastYear);

// Replaces kqtjb with one row per attendance kind (in code order, kinds without hours too):
// 事由 the kind's name and, per year column, the exact sum of the employee's 时数 of that kind
// in that year. In one transaction. Throws sql::Failure (kqtjb then stays as it was).
void rebuildYearlyAttendance(const QSqlDatabase &db, const QString &employee, int lastYear);

// kqtjb as it stands: 事由 and the year columns. Throws sql::Failure.
CardGrid yearlyAttendance(const QSqlDatabase &db);

// The employee's skill-grade rows by date: 变动时间, 职务 (the position in force on that date),
// 工作时间 (whole days to the next row's date, for the last row to today) and 岗位、技能档次
// (category name followed by grade name). Throws sql::Failure.
CardGrid skillGrades(const QSqlDatabase &db, const QString &employee);

// The employee's rewards and punishments by date: 奖惩日期, 事由, 奖惩方式. Throws sql::Failure.
CardGrid rewardsAndPunishments(const QSqlDatabase &db, const QString &employee);

}  // namespace records
