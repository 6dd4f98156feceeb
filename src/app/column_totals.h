#pragma once
// The "合计" row of a list: every column of amounts (a money column's units, or amounts shown
// as yuan text) summed exactly in 1/10000 yuan, every column of whole numbers summed as whole
// numbers; other columns (codes, names, months, hours) get no total.

#include <QAbstractItemModel>
#include <QString>
#include <QVariant>
#include <vector>

namespace column_totals {

extern const QString kCaption;  // "合计"

struct Total {
    enum Kind { None, Whole, Amount } kind = None;
    qint64 value = 0;       // whole numbers, or 1/10000 yuan
    bool overflow = false;  // too large to hold: shown as such, never wrapped round

    QString shown() const;    // as a list and a printout show it (amounts with two decimals)
    QVariant exact() const;   // for a workbook: the number, exact (amounts as yuan text)
};

// One total per model column, over `rows` (all rows when empty).
std::vector<Total> totals(const QAbstractItemModel &model, const std::vector<int> &rows = {});

// Whether any column has a total.
bool any(const std::vector<Total> &totals);

// The row as printed: "合计" in the first column, each total as shown.
QStringList printed(const std::vector<Total> &totals);

}  // namespace column_totals
