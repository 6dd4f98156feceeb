#pragma once
// Moving an office's data from one database to another (a file to a server and back): every
// table of the register, row by row, in one write transaction on the target. The target is a
// database just made (init): it may hold the delivered code tables and operator, which the
// source's replace, but no other row. Before committing, every table's rows are counted on
// both sides; any difference and nothing is kept. Both sides are open connections, so a
// backup of a server into a new file is the same copy.

#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <vector>

namespace office_copy {

struct TableCount {
    QString table;
    qint64 source = 0;
    qint64 target = 0;
};

struct Outcome {
    bool ok = false;
    QString message;                 // Chinese, for the user, when !ok
    QString details;                 // the database's own words behind `message`, if any
    std::vector<TableCount> counts;  // every table, in the order copied (when the copy was checked)
};

// The register's tables in reference order: a table after every table it refers to. The
// statistics work tables are not among them (they are built again from the register).
QStringList tablesInReferenceOrder();

// Inside a write transaction the caller holds on `target` (and a read transaction on
// `source`): every row of the register on `target` replaced by the source's, the change log
// silenced for it; then every table's rows counted on both sides. Throws Failure, which the
// caller's rollback undoes.
std::vector<TableCount> replaceRows(const QSqlDatabase &source, const QSqlDatabase &target,
                                    const std::function<void(const QString &table)> &progress = {});
// Whether every table holds as many rows on both sides.
bool sameCounts(const std::vector<TableCount> &counts);

// Copies the register from `source` (read in one read transaction: one moment of it) to
// `target`; an empty server database (server_database.h, EmptyServer::Leave) is made the delivered
// one in the same transaction. `progress` hears each table before its rows are copied. Throws nothing: a
// database failure is the outcome's message, the target left as it was.
Outcome copy(const QSqlDatabase &source, const QSqlDatabase &target,
             const std::function<void(const QString &table)> &progress = {});

}  // namespace office_copy
