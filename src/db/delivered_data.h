#pragma once
// The code tables, the operator and the one xtztb row that a new database is delivered with.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace delivered {

inline const QString kOperatorName = QStringLiteral("admin");
inline const QString kOperatorPassword = QStringLiteral("123456");

void insertData(const QSqlDatabase &db);  // throws sql::Failure
// The tables insertData fills: in a database just made, every other table is empty.
const QStringList &filledTables();

}  // namespace delivered
