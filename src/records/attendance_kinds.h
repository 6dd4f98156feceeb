#pragma once
// The attendance kinds of kqfsb, which the attendance work tables turn into columns: one
// column per kind, named by the kind's name.

#include "db/code_items.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <vector>

namespace records {

// code: 方式编码, name: 方式名称.
using AttendanceKind = code_items::Item;

// Every kind, in ascending 方式编码, as code_items reads kqfsb. Throws sql::Failure.
std::vector<AttendanceKind> attendanceKinds(const QSqlDatabase &db);

// The column name of each kind (unquoted; quote with sql::quoteIdentifier), in the kinds'
// order: the kind's name (a NUL in it, which no statement can carry, as "_"), or its code when
// the name is blank. SQLite compares column names
// without regard to the case of ASCII letters, so a name that would repeat one of `taken` or
// of an earlier kind in this sense gets "_" and its code appended.
QStringList kindColumnNames(const std::vector<AttendanceKind> &kinds, const QStringList &taken);

}  // namespace records
