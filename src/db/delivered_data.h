#pragma once
// The code tables, the operator and the one xtztb row that a new database is delivered with.

#include <QSqlDatabase>
#include <QString>

namespace delivered {

inline const QString kOperatorName = QStringLiteral("admin");
inline const QString kOperatorPassword = QStringLiteral("123456");

void insertData(const QSqlDatabase &db);  // throws sql::Failure

}  // namespace delivered
