#pragma once
// The rows a document is laid out from, read a window at a time: a layout asks only for the
// rows of the page it produces, so a long printed list need not hold all of its rows.

#include "reports/report.h"

#include <QSqlQuery>
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

// The rows of a statement, read as they are needed. `open` runs the statement afresh, forward
// only (a window before the last one read starts it again); `row` turns the current result row
// into a row; `count` counts the rows (a count(*) of the statement), or without it the rows are
// counted by one pass of the statement. All throw sql::Failure as the statement does.
std::shared_ptr<RowSource> queryRows(std::function<QSqlQuery()> open, std::function<Row(const QSqlQuery &)> row,
                                     std::function<int()> count = {});

}  // namespace report
