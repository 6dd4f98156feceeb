#pragma once
// The basic situation analysis table built the plain way: one statement per column, each
// deriving every employee's department row in force again, summed through scratch rows.
// Deliberately independent of the program's rebuild; tests and the benchmark compare the two.

#include <QDate>
#include <QSqlDatabase>
#include <QStringList>

namespace reference {

QStringList zgjbqkfxbStatements(const QDate &cutoff);
void rebuildZgjbqkfxb(const QSqlDatabase &db, const QDate &cutoff);  // throws sql::Failure

}  // namespace reference
