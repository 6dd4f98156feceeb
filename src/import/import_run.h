#pragma once
// Importing a staff list: the header row read, then every row checked (nothing written), then,
// when the clerk goes on, the accepted rows written in one transaction with their entry-time
// history rows, or nothing. The write reads the file again and checks each row again inside
// the transaction, so memory does not grow with the file's rows; a file or register changed
// since the check is refused instead of imported differently from what was shown.

#include "import/row_check.h"

#include <QSqlDatabase>
#include <QStringList>
#include <functional>

namespace staff_import {

// The header row: the first row with something in it. Throws FileError.
QStringList readHeaders(const QString &path);

struct Counts {
    int added = 0;
    int updated = 0;
    int skipped = 0;
    int refused = 0;
    quint64 fingerprint = 0;  // of every row's verdict, to see that a second reading agrees

    int accepted() const { return added + updated; }
    bool operator==(const Counts &) const = default;
    // "导入 18 行，更新 0 行，跳过 0 行，拒绝 2 行"
    QString text(bool dryRun = false) const;
};

// Reports how far the work has come (0 to 1); returning false cancels it.
using Progress = std::function<bool(double fraction)>;

// The work was cancelled through Progress; nothing was written.
struct Cancelled {};

// Checks every row after the header; `verdicts` hears each row's. Writes nothing. Throws
// FileError, sql::Failure, Cancelled.
Counts checkFile(const QSqlDatabase &db, const QString &path, const Mapping &mapping, Existing existing,
                 const std::function<void(const Verdict &)> &verdicts, const Progress &progress = {});

// Writes the accepted rows in one transaction; `checked` is what checkFile found. Throws
// FileError (also when the rows now read differently), sql::Failure, Cancelled; then nothing
// is written.
Counts importFile(const QSqlDatabase &db, const QString &path, const Mapping &mapping, Existing existing,
                  const Counts &checked, const Progress &progress = {});

}  // namespace staff_import
