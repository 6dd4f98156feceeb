#pragma once
// Backing up and restoring a database on a server (backup.h chooses it for a server's
// connection): a backup is a self-contained database file like a file's backup, written by
// copying the register into a new file (office_copy.h); a restore replaces the server's
// register with a checked backup file in one transaction on the server.

#include "db/backup.h"

namespace server_backup {

// The server's data as of one moment written to the file `target`, through a side file moved
// over it once complete.
backup::Outcome save(const QSqlDatabase &db, const QString &target);

// Replaces every row of the server's register with the backup file `source`'s (checked as a
// file's restore checks it; an older version climbs first). While it runs, every table is
// locked against writers; the data as it was is first saved as a backup file in the program's
// database folder ("<database>-恢复前-<date>.db"), named in keptCopy. Any refusal or failure
// leaves the server's data as it was.
backup::Outcome restore(const QSqlDatabase &db, const QString &source);

}  // namespace server_backup
