#pragma once
// The employee basic situation query: every employee with the current rows of the department,
// position, title and post-skill histories and the names of all their codes. The base text
// ends inside its WHERE clause, so a combined condition can follow it.

#include "db/windowed_rows.h"
#include "query/condition.h"
#include "reports/row_source.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <vector>

namespace query {

struct ListColumn {
    QString field;  // the result column
    QString title;  // the grid's heading
    bool money = false;  // integer units of 1/10000 yuan, shown as yuan
};

// The tables and joins of every employee with the current rows of the department, position,
// title and post-skill histories and the names of all their codes, ending inside the WHERE
// clause. The basic situation and the personnel record queries select from it.
QString currentRowsFromWhere();
// The same employees with the select list `columns`, narrowed by the condition, as a list for
// WindowedRows in code order.
windowed::Listing currentRowsListing(const QString &columns, const Condition &condition);

QString basicSituationBase();
const std::vector<ListColumn> &basicSituationColumns();

// The list the screen shows, narrowed by the condition.
windowed::Listing basicSituationListing(const Condition &condition);

// The base text with the condition appended, prepared and bound. Throws sql::Failure.
QSqlQuery basicSituationQuery(const QSqlDatabase &db, const Condition &condition);

// The same rows in the field order of the printed roster, read as its pages are produced.
std::shared_ptr<report::RowSource> basicSituationRosterSource(const QSqlDatabase &db, const Condition &condition);

}  // namespace query
