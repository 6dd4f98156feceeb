#pragma once
// Writing the rows of a code table screen. Every typed value is bound; the database refuses
// duplicate, empty and still-used codes (its constraints), and the screen reports the refusal.
// A salary item row comes and goes together with its money column of gzb.

#include "codes/code_members.h"
#include "db/sql.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QVariantMap>
#include <optional>

namespace codes {

// The member's rows with all their columns (the engine's row number left out), in the order its
// statement gives. Read at once (code tables are short), so no statement stays open while the
// screen writes. Throws sql::Failure.
QList<QSqlRecord> readRows(const QSqlDatabase &db, const Member &member);

// The code typed in a box, written with at least two digits ("5" → "05", "123" stays);
// nothing when the text is not a whole number.
std::optional<QString> formatCode(const QString &typed);

struct RowChange {
    QString originalCode;              // the code of the row being modified; empty when adding
    QVariantMap values;                // column → value as typed (NULL for an empty box)
    std::optional<QString> password;   // operators: a new password, stored as a hash
    QVariantMap asRead = {};           // the modified row's columns as read (edit::asRead): written only while unchanged
};

// Adds or changes one row in one transaction. Throws sql::Failure when refused (the program's
// own refusals of a salary item name are constraints too).
void saveRow(const QSqlDatabase &db, const Member &member, const RowChange &change);

inline const QString kLastOperator = QStringLiteral("至少要保留一个能登录的操作员，无法删除！");

// Deletes the row with this code. Throws sql::Failure when the database refuses, and a refusal
// of its own (Kind::Refused) for the last operator who can log in (nobody could open the
// program again).
void deleteRow(const QSqlDatabase &db, const Member &member, const QString &code);

// A salary item becomes a column of gzb, so its name must be a plain identifier: letters
// (Chinese included), digits and underscores, not starting with a digit, not an SQL keyword
// and not yet a column of gzb (nor a name of its row id).
bool acceptableSalaryItemName(const QSqlDatabase &db, const QString &name);

}  // namespace codes
