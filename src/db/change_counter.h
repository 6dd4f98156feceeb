#pragma once
// A count of the writes to the register: every insert, update and delete of a tracked table
// adds one, through triggers kept in the file itself, so writes by another copy of the program
// or by the admin tool count too. A work table stamped with the count it was built at is still
// current while the count is unchanged.

#include <QSqlDatabase>
#include <QStringList>

namespace change_counter {

// The tables whose writes count: every table of the layout but the work tables (they are
// outputs) and the records no statistics table counts (pay, rewards, attendance, appraisals).
QStringList trackedTables();

// The counter table, its row and the triggers, each made only when missing.
QStringList createStatements();

// Creates the counter table, its row and the triggers that are missing, in one transaction,
// adding one to a count kept without some trigger (its writes went uncounted); writes nothing
// when all are there, so opening a file another program is writing to stays possible. Throws
// sql::Failure.
void ensure(const QSqlDatabase &db);

// The count now. Throws sql::Failure.
qint64 current(const QSqlDatabase &db);

}  // namespace change_counter
