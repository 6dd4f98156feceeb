#pragma once
// The order a list is sorted in when a column title is clicked: by what a value is, not by how
// it reads. Numbers (counts, ages, hours, amounts in units) compare as numbers, amounts shown
// as yuan text ("1200.00") as amounts, dates as dates; other text (names, codes with their
// leading zeros) by character. An empty cell is the smallest value of all, as the database
// sorts a list by a column (windowed::sortedBy): ascending, empty cells come first, then
// numbers, then text.

#include <QAbstractItemModel>
#include <QVariant>
#include <functional>
#include <vector>

namespace value_order {

// Negative, zero or positive as `a` sorts before, with or after `b` (ascending).
int compare(const QVariant &a, const QVariant &b);

// The rows 0 .. count-1 in sorted order (rows[new] = old), equal values keeping their order.
std::vector<int> sortedRows(int count, const std::function<QVariant(int row)> &valueAt, Qt::SortOrder order);

// Where a model's persistent indexes go when its rows take that order (for
// changePersistentIndexList, so the selection follows its row).
QModelIndexList movedIndexes(const QModelIndexList &persistent, const std::vector<int> &rows);

}  // namespace value_order
