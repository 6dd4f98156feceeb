#pragma once
// The steps that bring a file made by an older program up to this program's schema version:
// one function per step from version N to N+1 (upgradeToV2, …), each run in a transaction of
// its own that also records the new version, so an interrupted climb leaves the file at the
// last whole step and the next opening goes on from there.

#include <QSqlDatabase>

namespace schema_ladder {

// The version recorded in the open file.
int version(const QSqlDatabase &db);

// Climbs the open file from its version to schema::kSchemaVersion. A step another program has
// climbed meanwhile is passed over. Throws sql::Failure (that step's writes rolled back).
void climb(const QSqlDatabase &db);

}  // namespace schema_ladder
