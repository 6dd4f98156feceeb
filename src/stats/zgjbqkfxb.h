#pragma once
// The employee basic situation analysis table zgjbqkfxb: per department (below "97") as of a
// cut-off date, the head count and its breakdown by sex, nationality, education, political
// status and age, each with its share; then the organisation's total row "汀岚分公司".

#include <QDate>
#include <QSqlDatabase>

namespace stats {

// Replaces the table's rows in one transaction: on failure the previous rows stay and
// sql::Failure carries the database's message.
void rebuildZgjbqkfxb(const QSqlDatabase &db, const QDate &cutoff);

}  // namespace stats
