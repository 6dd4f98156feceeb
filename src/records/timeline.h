#pragma once
// An employee's working life as one timeline in the work table gzdtjlb: one line per date on
// which the department, position, title or post-skill grade changed, with the row of each
// history in force from that date (the latest-dated, of one day the last recorded) and the
// whole days until the next line's date, or until today for the last line.

#include "reports/page_model.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

namespace records {

// Empties gzdtjlb and fills it with the employee's timeline, in one transaction; today comes
// from the one clock source. Throws sql::Failure (gzdtjlb then stays as it was).
void rebuildTimeline(const QSqlDatabase &db, const QString &employee);

// Whether gzdtjlb holds no other employee's timeline than this one's (another program or
// screen may have built it for someone else since). Throws sql::Failure.
bool timelineHolds(const QSqlDatabase &db, const QString &employee);

// The timeline as the grid shows it, by date: 变动时间, 单位名称, 职务名称, 职称名称,
// 岗位技能档次 (category name followed by grade name), 时数. A line with a code that has no
// name (before the first row of a history) is not shown. Executed. Throws sql::Failure.
QSqlQuery timelineRows(const QSqlDatabase &db, const QString &employee);
const QStringList &timelineColumns();

// The timeline printed: title "个人工作动态统计", the employee's code and name, the grid's
// columns. Throws sql::Failure.
report::Document printedTimeline(const QSqlDatabase &db, const QString &employee, const QString &name);

}  // namespace records
