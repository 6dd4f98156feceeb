#pragma once
// Code-table rows offered in drop-down lists: each item is the two-character code, a separator
// (none or a blank, as the list shows it) and the name; the chosen code is the item's first two
// characters.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace code_items {

// The items of a two-column statement (code, name), in its order. Throws sql::Failure.
QStringList read(const QSqlDatabase &db, const QString &statement, const QString &separator);

inline QString codeOf(const QString &item) { return item.left(2); }

}  // namespace code_items
