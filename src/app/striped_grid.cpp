#include "app/striped_grid.h"

#include <QHeaderView>
#include <QStyledItemDelegate>

namespace {

// Stripes by record number on the cells only, so the grid's empty part stays plain.
class StripeDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        // Record numbers count from 1: odd records (even row indexes) are pale green.
        option->backgroundBrush = index.row() % 2 == 0 ? QColor(220, 243, 236) : QColor(255, 251, 240);
    }
};

}  // namespace

StripedGrid::StripedGrid(QWidget *parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new StripeDelegate(this));
    QPalette p = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Highlight, QColor(0, 0, 255));
        p.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    setPalette(p);
    horizontalHeader()->setStyleSheet(
        "QHeaderView::section { background: rgb(126, 211, 188); padding: 3px; border: 0;"
        " border-right: 1px solid #5a9c8a; border-bottom: 1px solid #5a9c8a; }");
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->hide();
}

RowsModel::RowsModel(QStringList titles, QObject *parent)
    : QAbstractTableModel(parent), titles_(std::move(titles))
{
}

void RowsModel::setRows(QList<QVariantList> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int RowsModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int RowsModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(titles_.size()); }

QVariant RowsModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return rows_.at(index.row()).value(index.column());
}

QVariant RowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal)
        return titles_.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}
