#pragma once
// dqdtb: each employee's current row of every history (the greatest 自动编号, rule 1), kept by
// triggers in the file itself, so every writer keeps it right, this program's or not. A list
// of current rows then reads one row per employee instead of searching five indexes; the
// rosters drive from it.

#include "db/history.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace sql {
class Dialect;
}

namespace current_rows {

inline constexpr const char *kTable = "dqdtb";

// The column of dqdtb holding the current 自动编号 of `table`: the history table's own name.
QString column(history::Table table);

// "<history>.自动编号=dqdtb.<history>": ties a history joined to dqdtb to its current row.
QString joinCondition(history::Table table);

// The table filled from the histories, and its triggers; each made only when missing.
QStringList createStatements(const sql::Dialect &dialect);

// Makes the table and its triggers when any is missing, in one transaction, filling the table
// afresh from the histories; writes nothing when all are there. Throws sql::Failure.
void ensure(const QSqlDatabase &db);

// Drops the triggers, so that the next ensure makes them as this version writes them and fills
// the table afresh. Throws sql::Failure.
void dropTriggers(const QSqlDatabase &db);

}  // namespace current_rows
