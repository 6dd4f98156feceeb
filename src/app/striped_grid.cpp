#include "app/striped_grid.h"

#include "app/grid_export.h"
#include "app/remembered_columns.h"
#include "db/money.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>

QColor StripedDelegate::stripe(int row)
{
    // Odd record numbers (even row indexes) are pale green, even ones cream.
    return row % 2 == 0 ? QColor(220, 243, 236) : QColor(255, 251, 240);
}

void StripedDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->backgroundBrush = stripe(index.row());
    const QVariant value = index.data();
    const int type = value.typeId();
    if (type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::Double)
        option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
    if ((type == QMetaType::Int || type == QMetaType::LongLong)
        && index.model()->headerData(index.column(), Qt::Horizontal, xlsx::kMoneyColumnRole).toBool())
        option->text = money::formatYuan(value.toLongLong());
}

QString StripedDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'f', 2);
    return QStyledItemDelegate::displayText(value, locale);
}

StripedGrid::StripedGrid(QWidget *parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new StripedDelegate(this));
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
    horizontalHeader()->setMaximumSectionSize(480);  // one very long text does not push the rest away
    remembered_columns::attach(*this);
}

void StripedGrid::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(grid_export::kCaption, this, [this] { grid_export::exportGrid(*this); });
    menu.exec(event->globalPos());
}

void StripedGrid::setModel(QAbstractItemModel *model)
{
    if (model == this->model())
        return;
    if (QAbstractItemModel *old = this->model()) {
        disconnect(old, &QAbstractItemModel::modelReset, this, nullptr);
        disconnect(old, &QAbstractItemModel::layoutChanged, this, nullptr);
    }
    QTableView::setModel(model);
    if (!model)
        return;
    // After the model has settled (a query model fetches its first rows on reset).
    const auto fit = [this] { QMetaObject::invokeMethod(this, &QTableView::resizeColumnsToContents, Qt::QueuedConnection); };
    connect(model, &QAbstractItemModel::modelReset, this, fit);
    connect(model, &QAbstractItemModel::layoutChanged, this, fit);
    fit();
}

int StripedGrid::sizeHintForColumn(int column) const
{
    if (!model())
        return -1;
    // The rows in view, or a screenful when the grid is not laid out yet; Qt's own fit would
    // read a thousand rows of a long list.
    const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
    const int first = std::max(0, rowAt(0));
    const int last = std::min(model()->rowCount() - 1, first + std::max(viewport()->height(), 600) / rowHeight);
    int hint = 0;
    for (int row = first; row <= last; ++row)
        if (!isRowHidden(row))
            hint = std::max(hint, sizeHintForIndex(model()->index(row, column)).width());
    return hint + (showGrid() ? 1 : 0);
}

void StripedGrid::showEvent(QShowEvent *event)
{
    QTableView::showEvent(event);
    // The screen's buttons exist by the time it is shown.
    grid_export::addButtonAfterPrint(*this);
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

void RowsModel::setRows(QStringList titles, QList<QVariantList> rows)
{
    beginResetModel();
    titles_ = std::move(titles);
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
