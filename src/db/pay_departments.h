#pragma once
// The 单位编码 of each pay row (gzb, btb, jjb): the employee's department in force on the
// first day of the row's month (history rule 2), kept by triggers in the file like dqdtb
// (db/current_rows.h), so every writer keeps it right. The company statistics and the
// comparison tables then group a month's rows by a column of the rows themselves instead of
// judging each row against the department history, and a department's month is found
// through an index.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace sql {
class Dialect;
}

namespace pay_departments {

inline const QString kColumn = QStringLiteral("单位编码");

// Rule 2 for one employee and date (SQL expressions of the outer row or parameters): the
// department in force, through the history's (职工编码, 自动编号) index. For statements that
// judge a few rows; the dialect's form suits a statement over all of them.
QString inForceOn(const QString &employeeExpression, const QString &dateExpression);

// The pay tables that carry the column.
const QStringList &tables();

// The value of the column for a pay row being written for the month `monthExpression` (a first
// day), judged for a whole statement at once (the dialect's form): writers of many rows give
// it, the triggers fill it for a row written without it.
QString monthDepartment(const QSqlDatabase &db, const QString &employeeExpression, const QString &monthExpression);

// The triggers that keep the column, each made only when missing.
QStringList triggerStatements(const sql::Dialect &dialect);

// Sets every pay row's column from the department history. Throws sql::Failure.
void fill(const QSqlDatabase &db);

// Makes the triggers when any is missing, in one transaction, filling the column afresh
// (a writer without them may have left it wrong); writes nothing when all are there.
// Throws sql::Failure.
void ensure(const QSqlDatabase &db);

}  // namespace pay_departments
