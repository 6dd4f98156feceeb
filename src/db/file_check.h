#pragma once
// Whether a file is a sound database of this program, found without changing the file or any
// side file beside it (-wal, -shm, -journal): opening and restoring a backup both ask this, so
// a backup passes exactly the checks a file passes before the program uses it.

#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace file_check {

// How much is checked: the identity always (an SQLite file, this program's application id, not
// from a newer version, a version it knows, every table there once at this version); Pages adds every page (PRAGMA quick_check: seconds
// on a large register); Whole checks every page and index entry (integrity_check) and every
// foreign key, as a backup must pass before it replaces the data.
enum class Depth { Identity, Pages, Whole };

struct Fault {
    enum class Kind { NotDatabase, Foreign, Newer, UnknownVersion, MissingTables, Damaged, Unreadable };
    Kind kind;
    QString detail;    // the database's own words, or the missing tables joined by "、"
    int errorCode = 0;  // SQLite's primary error code when Unreadable
};

// Why the file at `path` cannot be used, or nothing. Reads only: a file without side files is
// read as immutable, one whose log is shared with a running program (-wal with -shm) through
// that log read-only, and one with a log or journal nobody holds as a private copy in a
// temporary folder, where SQLite may fold the log in.
std::optional<Fault> fault(const QString &path, Depth depth);

// The same checks on a connection already open on the file.
std::optional<Fault> faultOf(const QSqlDatabase &db, Depth depth);

// The side files SQLite may keep beside `path`.
QStringList sideFiles(const QString &path);

}  // namespace file_check
