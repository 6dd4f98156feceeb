#pragma once
// Opening a database on a PostgreSQL server (database.h opens either kind): the same identity
// checks and schema ladder as a file; an empty database is made the delivered one first, in
// one transaction, and a database holding another application's tables is refused untouched.

#include "db/address.h"
#include "db/database.h"

namespace database {

// What opening an empty database does: make it the delivered one at once (as a missing file
// is made), or leave it empty for a caller that makes it within its own transaction, so that a
// failure of that transaction leaves the database as it was (a copy onto it).
enum class EmptyServer { MakeDelivered, Leave };

OpenResult openServer(const QString &connectionName, const Address &address, EmptyServer empty = EmptyServer::MakeDelivered);
// Makes the delivered database in an empty server database; refuses one with any table.
OpenResult createOnServer(const Address &address);

// Makes the delivered database on a connection to an empty server database, within the
// caller's Transaction (or one of its own); false, nothing written, when the database holds a
// table by the time the write lock is held. Throws sql::Failure.
bool makeDelivered(const QSqlDatabase &db);

// The password the person typed at start, used for every connection of the program to a server
// whose address carries none (then libpq's PGPASSWORD and ~/.pgpass). Kept in memory only.
void setServerPassword(const QString &password);

}  // namespace database
