#pragma once
// Reading the dated histories (dwdtb, zwdtb, zcdtb, gwjndtb, zwdjdtb). Every list, statistic
// and pay sheet finds an employee's department, position, title, skill grade or grade salary
// through one of these rules, so each is written once here.
//
// The "for all employees" rules are SQL conditions to put in a WHERE clause: they keep, of the
// history table as named in the statement, each employee's one selected row. Dates are given
// as SQL expressions: a bound parameter (":bdsj"), or a column of the outer row ("gzb.年月")
// so that each outer row is judged by its own date. Callers bind the values.

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

namespace history {

enum class Table { Department, Position, Title, SkillGrade, GradeSalary };

QString tableName(Table table);               // dwdtb, zwdtb, zcdtb, gwjndtb, zwdjdtb
const QStringList &datedTimelineTables();     // the four tables of an employee's timeline

// Rule 1: the current row, the greatest 自动编号 of each employee; the date plays no part.
// This form lists every employee's current row once, for statements driven by the history
// table; currentRowForRow below suits lists joined from zghmc.
QString currentRow(Table table);

// Rule 2: the row in force on a date (changes dated on it included): of the rows dated on or
// before it, the greatest 自动编号. An employee with no such row has none.
QString inForceOn(Table table, const QString &dateExpression);

// Rule 2 as a table, the snapshot every statistic counts from, is the engine's own form:
// sql::Dialect::snapshotOn.

// Rule 3: the row in force in a year: of the rows dated in that year or earlier (31 December
// included), the greatest 自动编号. `yearExpression` is an integer expression. A caller with a
// bound year end uses rule 2 on it, which the dated index serves.
QString inForceInYear(Table table, const QString &yearExpression);

// Rule 4: the row in force before a date (changes dated on it excluded).
QString inForceBefore(Table table, const QString &dateExpression);

// Rule 1 judged per outer row: each row is checked against its employee's current row kept in
// dqdtb (db/current_rows.h), so a list joined from zghmc streams its first rows at once at any
// size. `employeeColumn` names the outer row's employee column.
QString currentRowForRow(Table table, const QString &employeeColumn);

// Rule 2 and 4 with the date taken from the outer row, judged per row through the indexes:
// `employeeColumn` and `dateExpression` name columns of the outer row (e.g. "gzb.职工编码",
// "gzb.年月").
QString inForceOnForRow(Table table, const QString &employeeColumn, const QString &dateExpression);
QString inForceBeforeForRow(Table table, const QString &employeeColumn, const QString &dateExpression);

// Rule 5: for one employee, the 自动编号 of the latest-dated row on or before the date (of
// rows dated the same day, the last entered). Empty when there is none. Throws sql::Failure.
std::optional<qint64> latestDatedOn(const QSqlDatabase &db, Table table, const QString &employee,
                                    const QDate &date);

// Rule 6: the distinct change dates of one employee in the four timeline tables, ascending.
QList<QDate> changeDates(const QSqlDatabase &db, const QString &employee);

// Rule 7: the names of the employee's positions dated on or after the date, latest first.
QStringList positionsSince(const QSqlDatabase &db, const QString &employee, const QDate &date);

}  // namespace history
