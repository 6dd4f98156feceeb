#pragma once
// A roster the plain way: one statement over every employee's current rows with the filters
// applied last, as the rosters were first read. The filter-first reading must list exactly
// these rows; tests and the benchmark compare the two.

#include "staff/roster_query.h"

namespace reference {

// The roster's rows in code order. Throws sql::Failure.
QList<QVariantList> plainRoster(const QSqlDatabase &db, const roster::Member &member, const roster::Filter &filter);

}  // namespace reference
