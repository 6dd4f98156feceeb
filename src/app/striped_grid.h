#pragma once
// The read-only list grid of the program: whole rows selected, the selected row on pure blue,
// the others alternately pale green (odd record numbers) and cream, the title row sea green.

#include "app/column_totals.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QMap>
#include <QTableView>
#include <vector>

// Paints the stripes on the cells only (the grid's empty part stays plain); numbers right,
// text left, reals with two decimals, amounts of a money column (xlsx::kMoneyColumnRole) in
// yuan, empty values blank.
class StripedDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant &value, const QLocale &locale) const override;
    static QColor stripe(int row);  // 0-based row; record numbers count from 1

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};

class GridFooter;

// Every striped grid offers "导出Excel…" in its context menu and, on a screen with a button
// whose caption begins with "打印", as a button right after it (grid_export.h).
// A click on a column title sorts the rows by that column's values (value_order.h), a second
// click sorts them descending; the model does the sorting (RowsModel in memory, WindowedRows in
// the database), so the selected row stays the model's row. Under the rows the grid shows
// "共 N 条" and, where asked, the "合计" row (column_totals.h), which stays last however the
// rows are sorted.
class StripedGrid : public QTableView {
    Q_OBJECT
public:
    explicit StripedGrid(QWidget *parent = nullptr);
    // Columns follow their contents each time the model is filled anew (the rows in view
    // decide, so a long list costs no more than its first screen).
    void setModel(QAbstractItemModel *model) override;
    int sizeHintForColumn(int column) const override;

    // Statistics tables keep their fixed order: no sorting by the titles.
    void setSortable(bool sortable);
    bool isSortable() const { return sortable_; }
    // The "合计" row under the rows: every column of amounts or whole numbers summed.
    void setTotalsShown(bool shown);
    bool totalsShown() const { return totalsShown_; }
    // For a list read as it is scrolled: the totals of all its rows, summed by the database
    // (by model column), shown while rows remain unread; once every row is read (by scrolling,
    // a search or a sort) the rows shown are summed as usual.
    void setTotalsOfAll(std::vector<column_totals::Total> totals);
    const std::vector<column_totals::Total> &totalsOfAll() const { return totalsOfAll_; }
    std::vector<int> shownRows() const;  // model rows not hidden, in the order shown
    QString countText() const;            // "共 N 条"
    // Back to the model's own order (a screen that orders its rows itself).
    void clearSort();

    // Only the rows whose code or name (the columns titled with 编码, 编号 or 姓名) holds `text`,
    // taken literally; empty: every row. A WindowedRows list is narrowed by the database (may
    // throw sql::Failure), a list in memory hides the other rows; rows read later are narrowed
    // too.
    void search(const QString &text);
    void refreshFooter();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void updateGeometries() override;

private:
    void sortBy(int column, Qt::SortOrder order);
    void hideUnmatched();  // a list in memory: hides the rows the search does not match

    GridFooter *footer_ = nullptr;
    bool sortable_ = true;
    bool totalsShown_ = false;
    std::vector<column_totals::Total> totalsOfAll_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    QString search_;
};

// Marks the columns titled as one of `titles` as stored measurements (hours, scores: shown as
// stored, xlsx::kMeasuredColumnRole), for a model that keeps header data (a query model);
// call after each new query.
void markMeasuredColumns(QAbstractItemModel &model, const QStringList &titles);

// Rows read once into memory, shown under fixed titles.
class RowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RowsModel(QStringList titles, QObject *parent = nullptr);

    // Sorted by a column's values; rows set later keep that order until another is chosen.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    void setRows(QList<QVariantList> rows);
    // For grids whose column titles follow their input (a year's columns).
    void setRows(QStringList titles, QList<QVariantList> rows);
    const QList<QVariantList> &rows() const { return rows_; }
    // Columns of stored measurements (hours, scores), shown as stored (xlsx::kMeasuredColumnRole).
    void setMeasuredColumns(const QList<int> &columns);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Column roles besides the title (a money column's mark), kept across new rows.
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role = Qt::EditRole) override;

private:
    std::vector<int> applySort();  // the rows in the chosen order; returns rows[new] = old

    QStringList titles_;
    QList<QVariantList> rows_;
    QMap<QPair<int, int>, QVariant> columnRoles_;  // (section, role) → value
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};
