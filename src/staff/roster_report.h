#pragma once
// The printed roster (Trepgbxx, Trepkjgbxx, Trepdyxx): a landscape ruled table of seventeen
// columns with the title and headings on every page, over rows in the roster's field order.

#include "reports/page_model.h"
#include "reports/row_source.h"
#include "staff/roster_query.h"

namespace roster {

// The printed forms of some fields.
QString shortNation(const QString &nation);       // the first character followed by "族"
QString yearAndMonth(const QString &isoDate);     // "1970-05-12" → "1970-05"
QString cutToGb2312Bytes(const QString &text, int bytes);

// The title: the member's own, or the chosen party's name (from the item's third character,
// at most 20) followed by "花名册".
QString printedTitle(const Member &member, const QString &partyItem);

report::Report printedRoster(const QString &reportClass, const QString &title);
report::Document layoutRoster(const QString &reportClass, const QString &title, const QList<QVariantList> &rows);
// `coverage` (the department and filters chosen) is printed under the title when given.
report::Document layoutRosterFromSource(const QString &reportClass, const QString &title,
                                        std::shared_ptr<report::RowSource> rows, const QString &coverage = {});

// A roster's rows read from the database as its pages are produced (a long roster as a PDF).
std::shared_ptr<report::RowSource> rosterRows(const QSqlDatabase &db, const Member &member, const Filter &filter);
// The same for the roster as a screen lists it (sorted by a column, narrowed by "查找").
std::shared_ptr<report::RowSource> rosterRows(const QSqlDatabase &db, windowed::Listing listing);

}  // namespace roster
