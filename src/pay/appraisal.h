#pragma once
// The annual appraisal sheet, ndkhb: one row per employee and year with the result "优秀",
// "及格" or "不及格". A year's sheet is generated once, every employee whose department in
// that year (the last department row dated in the year or earlier) is on duty (below "97")
// starting at "及格"; afterwards each result is marked on its own.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <vector>

namespace pay {

// "优秀", "及格", "不及格": the results, also the captions of their grid columns.
const QStringList &appraisalResults();

struct AppraisalRow {
    qint64 id;           // ndkhb.自动编号
    QString employee;
    QString name;
    QString department;  // 单位编码 in force in the year
    QString result;
};

// Whether the year has any appraisal rows. Throws sql::Failure.
bool hasAppraisalSheet(const QSqlDatabase &db, int year);

// The year's rows, each with its employee's department in that year, by department and
// employee code. Rows of employees without a department row by the end of the year are left
// out. Throws sql::Failure.
std::vector<AppraisalRow> appraisalSheet(const QSqlDatabase &db, int year);

// Writes the year's sheet in one transaction and returns the rows written: none when the year
// already has rows (a second press, or another copy of the program got there first). Throws
// sql::Failure; nothing is written then.
int generateAppraisalSheet(const QSqlDatabase &db, int year);

// Stores the result of the row. Throws sql::Failure for a result not among appraisalResults()
// or a row that is gone; nothing changes then.
void markResult(const QSqlDatabase &db, qint64 rowId, const QString &result);

}  // namespace pay
