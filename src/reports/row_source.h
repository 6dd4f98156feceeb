#pragma once
// The rows a document is laid out from, read a window at a time: a layout asks only for the
// rows of the page it produces, so a long printed list need not hold all of its rows.

#include "db/windowed_rows.h"
#include "reports/report.h"

#include <QSqlDatabase>
#include <functional>
#include <memory>

namespace report {

class RowSource {
public:
    virtual ~RowSource() = default;
    virtual int count() = 0;
    // Rows first .. first + count - 1 in order; fewer when the source ends earlier.
    virtual QList<Row> rows(int first, int count) = 0;
};

// Rows already in memory (shared, not copied).
std::shared_ptr<RowSource> listRows(QList<Row> rows);

// The rows of a list read as WindowedRows reads them: the keys once (when first counted), then
// each page's rows by a key range, so a page far on costs no more than the first and only a few
// windows are held. From the key pass until the source is destroyed it reads in one read
// transaction on a connection of its own to `db`'s database, so every page shows the same
// moment while others (`db` included) write. `row` makes a printed row from a listed row's values and the result column
// names. The key pass and the windows throw sql::Failure.
using ListedRow = std::function<Row(const QVariantList &values, const QStringList &fields)>;
std::shared_ptr<RowSource> windowedRows(const QSqlDatabase &db, windowed::Listing listing, ListedRow row);

}  // namespace report
