#pragma once
// The personnel record query: every employee with the current department, position,
// post-skill category and grade and title, narrowed by a combined condition.

#include "query/basic_situation.h"
#include "query/condition.h"

#include <optional>

namespace records {

QString personnelRecordBase();
const std::vector<query::ListColumn> &personnelRecordColumns();

// The list the screen shows, narrowed by the condition.
windowed::Listing personnelRecordListing(const query::Condition &condition);

// The base with the condition appended, executed. Throws sql::Failure.
QSqlQuery personnelRecordQuery(const QSqlDatabase &db, const query::Condition &condition);

// The employee's name; none when there is no such employee. Throws sql::Failure.
std::optional<QString> employeeName(const QSqlDatabase &db, const QString &code);

}  // namespace records
