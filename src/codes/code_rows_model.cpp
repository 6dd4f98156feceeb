#include "codes/code_rows_model.h"

#include "db/sql.h"

namespace codes {

CodeRowsModel::CodeRowsModel(const Member &member, QObject *parent)
    : QAbstractTableModel(parent), member_(member)
{
}

void CodeRowsModel::load(const QSqlDatabase &db)
{
    QSqlQuery query = sql::prepare(db, member_.rowsStatement);
    query.setForwardOnly(true);
    sql::exec(query);
    QList<QSqlRecord> rows;
    while (query.next())
        rows << query.record();
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int CodeRowsModel::rowOf(const QString &code) const
{
    for (int row = 0; row < rows_.size(); ++row)
        if (rows_[row].value(member_.codeColumn).toString() == code)
            return row;
    return -1;
}

int CodeRowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int CodeRowsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(member_.grid.size());
}

QVariant CodeRowsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return rows_[index.row()].value(member_.grid[size_t(index.column())].column);
    return {};
}

QVariant CodeRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < columnCount())
        return member_.grid[size_t(section)].title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace codes
