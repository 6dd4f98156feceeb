#pragma once
// A query model whose rows a grid can sort by a column's values (value_order.h): sorting reads
// every row of the query and shows them in that order, the selection following its row; a
// new query is shown in the same order until another is chosen.

#include <QSqlQueryModel>
#include <QSqlRecord>
#include <vector>

class SortedQueryModel : public QSqlQueryModel {
    Q_OBJECT
public:
    explicit SortedQueryModel(QObject *parent = nullptr);

    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    QVariant data(const QModelIndex &item, int role = Qt::DisplayRole) const override;
    // The row as shown (QSqlQueryModel::record(row) reads the query's own order).
    QSqlRecord record(int row) const;
    QSqlRecord record() const { return QSqlQueryModel::record(); }

private:
    int queryRow(int row) const;

    std::vector<int> rows_;  // shown row → the query's row; empty: the query's order
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};
