#pragma once
// A roster printed on the roster form (reports/roster_form.h): its title and its rows.

#include "reports/roster_form.h"
#include "staff/roster_query.h"

namespace roster {

// The title: the member's own, or the chosen party's name (from the item's third character,
// at most 20) followed by "花名册".
QString printedTitle(const Member &member, const QString &partyItem);

// A roster's rows read from the database as its pages are produced (a long roster as a PDF).
std::shared_ptr<report::RowSource> rosterRows(const QSqlDatabase &db, const Member &member, const Filter &filter);
// The same for the roster as a screen lists it (sorted by a column, narrowed by "查找").
std::shared_ptr<report::RowSource> rosterRows(const QSqlDatabase &db, windowed::Listing listing);

}  // namespace roster
