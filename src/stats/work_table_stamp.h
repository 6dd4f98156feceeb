#pragma once
// What a work table was last built from: its inputs (a cut-off date, a range), the change
// counts of the tables it reads (change_counter.h; the reads as registered with the schema) and
// a fingerprint of the statements that built it. A screen shows the table as it is while all
// three still match, instead of building it again.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace stats {

struct WorkTableStamp {
    QString table;
    QString inputs;       // "2026-12-10"; a range as "2026-01-01..2026-12-10"
    QString fingerprint;  // of the statements, so a program whose statements changed rebuilds

    // The stamp of these statements.
    static QString fingerprintOf(const QStringList &statements);

    // True when the table was last built from these inputs by these statements and nothing it
    // reads has been written since. Throws sql::Failure.
    bool isCurrent(const QSqlDatabase &db) const;
    // Records the build; call inside the build's transaction, after its statements, so the
    // stamp and the rows commit or roll back together. Throws sql::Failure.
    void record(const QSqlDatabase &db) const;
};

}  // namespace stats
