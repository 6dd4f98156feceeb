#pragma once
// The read-only list grid of the program: whole rows selected, the selected row on pure blue,
// the others alternately pale green (odd record numbers) and cream, the title row sea green.

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

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

// Every striped grid offers "导出Excel…" in its context menu and, on a screen with a button
// whose caption begins with "打印", as a button right after it (grid_export.h).
class StripedGrid : public QTableView {
    Q_OBJECT
public:
    explicit StripedGrid(QWidget *parent = nullptr);
    // Columns follow their contents each time the model is filled anew (the rows in view
    // decide, so a long list costs no more than its first screen).
    void setModel(QAbstractItemModel *model) override;
    int sizeHintForColumn(int column) const override;

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void showEvent(QShowEvent *event) override;
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

    void setRows(QList<QVariantList> rows);
    // For grids whose column titles follow their input (a year's columns).
    void setRows(QStringList titles, QList<QVariantList> rows);
    const QList<QVariantList> &rows() const { return rows_; }
    // Columns of stored measurements (hours, scores), shown as stored (xlsx::kMeasuredColumnRole).
    void setMeasuredColumns(QList<int> columns) { measured_ = std::move(columns); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList titles_;
    QList<QVariantList> rows_;
    QList<int> measured_;
};
