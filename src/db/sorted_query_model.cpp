#include "db/sorted_query_model.h"

#include "db/value_order.h"

SortedQueryModel::SortedQueryModel(QObject *parent) : QSqlQueryModel(parent)
{
    connect(this, &QAbstractItemModel::modelAboutToBeReset, this, [this] { rows_.clear(); });
    connect(this, &QAbstractItemModel::modelReset, this, [this] {
        if (sortColumn_ >= 0)
            sort(sortColumn_, sortOrder_);
    });
}

int SortedQueryModel::queryRow(int row) const
{
    return rows_.empty() || row < 0 || size_t(row) >= rows_.size() ? row : rows_[size_t(row)];
}

void SortedQueryModel::sort(int column, Qt::SortOrder order)
{
    sortColumn_ = column;
    sortOrder_ = order;
    if (column < 0 || column >= columnCount())
        return;
    // Every row takes part in the order, not only those read so far.
    while (canFetchMore())
        fetchMore();
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    const int count = rowCount();
    const std::vector<int> sorted = value_order::sortedRows(
        count, [&](int r) { return QSqlQueryModel::data(QSqlQueryModel::index(r, column), Qt::DisplayRole); }, order);
    // In shown rows: where each shown row was before.
    std::vector<int> shownBefore(static_cast<size_t>(count));
    for (int s = 0; s < count; ++s)
        shownBefore[size_t(queryRow(s))] = s;
    std::vector<int> moved(static_cast<size_t>(count));
    for (int n = 0; n < count; ++n)
        moved[size_t(n)] = shownBefore[size_t(sorted[size_t(n)])];
    rows_ = sorted;
    changePersistentIndexList(before, value_order::movedIndexes(before, moved));
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QVariant SortedQueryModel::data(const QModelIndex &item, int role) const
{
    if (!item.isValid() || rows_.empty())
        return QSqlQueryModel::data(item, role);
    return QSqlQueryModel::data(QSqlQueryModel::index(queryRow(item.row()), item.column()), role);
}

QSqlRecord SortedQueryModel::record(int row) const { return QSqlQueryModel::record(queryRow(row)); }
