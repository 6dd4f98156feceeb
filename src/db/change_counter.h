#pragma once
// Counts of the writes to the register, one per table: every insert, update and delete of a
// counted table adds one to that table's count, through triggers kept in the file itself, so
// writes by another copy of the program or by the admin tool count too. A work table stamped
// with the counts of the tables it reads is still current while those counts are unchanged;
// a write elsewhere touches another count (and another row, so writers of different tables
// never wait on one row).

#include <QSqlDatabase>
#include <QStringList>

namespace sql {
class Dialect;
}

namespace change_counter {

// The tables whose writes count: those the registered work tables read (schema::WorkTable).
QStringList countedTables();

// The counts table, a row for each counted table and the triggers, each made only when missing.
QStringList createStatements(const sql::Dialect &dialect);

// Creates the counts table, the rows and the triggers that are missing, in one transaction,
// adding one to the count of a table kept without some trigger (its writes went uncounted);
// writes nothing when all are there, so opening a file another program is writing to stays
// possible. Throws sql::Failure.
void ensure(const QSqlDatabase &db);

// The counts of these tables now, as one text to keep and compare ("dwdtb=12,zghmc=40"); a
// table without a count reads as 0. Throws sql::Failure.
QString counts(const QSqlDatabase &db, const QStringList &tables);

}  // namespace change_counter
