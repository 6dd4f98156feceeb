#pragma once
// Backing up and restoring the one database file while the program runs. Copies go through
// SQLite's online backup API: a consistent copy of one moment even while other connections
// write, and a restore that replaces the open database's content in one transaction.

#include <QSqlDatabase>
#include <QString>

namespace backup {

struct Outcome {
    bool ok = false;
    QString message;   // Chinese, for the user, when !ok
    QString keptCopy;  // restore, keepDatedCopy: where the content was kept
    QString details;   // the database's or the system's own words behind `message`, if any
};

// Copies the database open on `db` to `target` as one self-contained file, written beside the
// target and moved over it only when complete. The database itself is never a target.
Outcome save(const QSqlDatabase &db, const QString &target);

// Copies the database open on `db` beside its file as "<name>-<occasion>-<today>.db",
// numbered when that name is taken ("wenpad-升级前-2026-12-11.db" before an upgrade).
Outcome keepDatedCopy(const QSqlDatabase &db, const QString &occasion);

// Whether `file` is a backup of this program's database that may be restored: an SQLite file
// with this program's application id, passing integrity_check, and of a schema version this
// program knows. Reads the file only.
Outcome check(const QString &file);

// Replaces the content of the database open on `db` with the backup `source`: the backup is
// checked first, the current content is kept as a dated copy beside the database file, then
// the backup is copied in. Any refusal or failure leaves the database as it was. The caller
// reopens its connections afterwards.
Outcome restore(const QSqlDatabase &db, const QString &source);

}  // namespace backup
