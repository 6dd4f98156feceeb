#pragma once
// Opening the program's one database file. Every connection gets the same pragmas and SQL
// functions; a missing file is created as the delivered database; a file that is read-only,
// damaged or not this program's is refused without being changed.

#include <QSqlDatabase>
#include <QString>

namespace database {

inline const QString kSharedConnection = QStringLiteral("wenpad");
inline const QString kLoginConnection = QStringLiteral("wenpad-login");

struct OpenResult {
    bool ok = false;
    bool created = false;
    QString message;  // Chinese, for the user, when !ok
};

// Opens (creating it when missing) the database at `path` under `connectionName`.
OpenResult open(const QString &connectionName, const QString &path);

// Creates a new delivered database at `path`, which must not exist. Written to a side file
// and renamed, so a failure leaves nothing behind.
OpenResult createDelivered(const QString &path);

// The connection the screens share (opened by the program before the main window).
QSqlDatabase shared();

void close(const QString &connectionName);

}  // namespace database
