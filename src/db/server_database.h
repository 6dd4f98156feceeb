#pragma once
// Opening a database on a PostgreSQL server (database.h opens either kind): the same identity
// checks and schema ladder as a file; an empty database is made the delivered one first, in
// one transaction, and a database holding another application's tables is refused untouched.

#include "db/address.h"
#include "db/database.h"

namespace database {

OpenResult openServer(const QString &connectionName, const Address &address);
// Makes the delivered database in an empty server database; refuses one with any table.
OpenResult createOnServer(const Address &address);

// The password the person typed at start, used for every connection of the program to a server
// whose address carries none (then libpq's PGPASSWORD and ~/.pgpass). Kept in memory only.
void setServerPassword(const QString &password);

}  // namespace database
