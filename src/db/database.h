#pragma once
// Opening the program's database: its one file, or a database on a server (db/address.h). Every connection gets the same pragmas and SQL
// functions; a missing file is created as the delivered database; a file that is read-only,
// damaged or not this program's is refused without being changed.

#include <QSqlDatabase>
#include <QString>

namespace sql {
class Failure;
}

namespace database {

inline const QString kSharedConnection = QStringLiteral("wenpad");
inline const QString kLoginConnection = QStringLiteral("wenpad-login");

struct OpenResult {
    bool ok = false;
    bool created = false;
    bool existed = false;  // creating was refused because the file exists (perhaps just made by another program)
    QString message;  // Chinese, for the user, when !ok
    QString keptCopy;  // a file of an older version: the copy kept before it was upgraded
    QString details;  // the database's or the system's own words behind `message`, if any
    bool refusedLogin = false;  // a server refused the user's name or password
};

// A database that cannot be used: `message` for the user, `details` the words behind it.
OpenResult refusal(const QString &message, const QString &details = {});
// One refused over a database failure: `lead`, then the Chinese sentence of the failure's kind
// (failure_text.h; `reading` when nothing was to be written), the database's words as details.
OpenResult refusal(const QString &lead, const sql::Failure &failure, bool reading);

// How much of an existing file is checked before it is used: its identity always (this
// program's, not from a newer version, every table there); with Pages also every page
// (PRAGMA quick_check: seconds on a large register, so once per program start).
enum class Check { Identity, Pages };

// Opens (creating it when missing) the database at `path` under `connectionName`; `path` may
// also be a server's address (postgresql://…), opened by server_database.h. Nothing is
// written to a file before it has passed the checks. A file of an older version is copied
// beside itself ("wenpad-升级前-<date>.db") and upgraded (schema_ladder.h); a newer one is
// refused.
OpenResult open(const QString &connectionName, const QString &path, Check check = Check::Pages);

// A further connection to the database `db` is open on, under `connectionName`: the same file,
// or the same server database as the same user with the password `db` was opened with.
OpenResult openBeside(const QString &connectionName, const QSqlDatabase &db, Check check = Check::Identity);

// Closes the connection `connectionName` and opens it afresh on the same database: the same
// file, or the same server database as the same user with the same password (after a restore
// replaced the data under it).
OpenResult reopen(const QString &connectionName, Check check);

// Creates a new delivered database at `path`, which must not exist (a server's database must be
// empty). Written to a side file of
// its own and linked into place only if the path is still free, so a failure leaves nothing
// behind and a database made meanwhile by another program is never replaced.
OpenResult createDelivered(const QString &path);

// Writes the delivered database into `file`, a new empty file or none (createDelivered's side
// file, or a backup being written); not opened afterwards.
OpenResult fillDelivered(const QString &file);

// The connection the screens share (opened by the program before the main window).
QSqlDatabase shared();

void close(const QString &connectionName);

// Whether other connections can reach the database `db` is open on (not so for a private
// in-memory database, which no one else can write either).
bool reachableByOthers(const QSqlDatabase &db);

}  // namespace database
