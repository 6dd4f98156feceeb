#pragma once
// A grid as an Excel workbook: the screen's title in the first row, the column titles in bold
// in the second, then the rows as shown. Numbers stay numbers (amounts in yuan with two
// decimals shown and all four kept: integer units in a money column, or text written as
// amounts are shown, "3600.00"), ISO dates become dates, other text stays text (codes keep
// their leading zeros), empty values leave the cell empty, and each column is as wide as its
// content.

#include <QAbstractItemModel>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace xlsx {

// The screen's name in the text of its title strip: what follows the last ">>"
// ("  职工花名册 >> 职工基本情况分析表" gives "职工基本情况分析表").
QString screenTitle(const QString &titleStrip);

// A model marks a money column (integer units of 1/10000 yuan) with true in this horizontal
// header role; grids show it as yuan and workbooks write it as an amount.
constexpr int kMoneyColumnRole = Qt::UserRole + 40;
// A model marks a column of stored measurements (hours, scores) with true in this role: grids
// and workbooks show each value as stored (0.125 stays 0.125, 90 stays 90), where computed
// reals (shares, averages) show two decimals.
constexpr int kMeasuredColumnRole = Qt::UserRole + 41;
// A real as grids, printouts and workbooks show it: a measurement as stored, without forced
// decimals; any other (a share, an average) with two decimals.
QString realText(double value, bool measured);

struct Table {
    QString title;
    QAbstractItemModel *model = nullptr;  // rows not fetched yet are fetched first
    std::vector<int> columns;  // model columns in the order shown; empty: all of them
    std::optional<std::vector<int>> rows;  // model rows shown; none given: all of them
    QVariantList totals;  // a last row in bold (the grid's "合计"), by model column; empty: none
};

// Told the rows written so far and the total now and then; false stops the export.
using Progress = std::function<bool(int done, int total)>;

// Writes the workbook to `file` whole or not at all (an earlier file stays when it fails or is
// stopped); false with a Chinese message.
bool write(const Table &table, const QString &file, QString *error = nullptr, const Progress &progress = {});
// Several tables, one sheet each, named by their titles.
bool write(const std::vector<Table> &tables, const QString &file, QString *error = nullptr, const Progress &progress = {});

}  // namespace xlsx
