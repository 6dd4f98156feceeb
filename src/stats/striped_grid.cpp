#include "stats/striped_grid.h"

#include <QHeaderView>
#include <QPainter>

QColor StripedDelegate::background(int row, bool selected)
{
    if (selected)
        return QColor(0, 0, 255);
    // Record numbers count from 1: the first row is odd.
    return (row + 1) % 2 == 1 ? QColor(220, 243, 236) : QColor(255, 251, 240);
}

void StripedDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(option.rect, background(index.row(), selected));
    QStyleOptionViewItem plain(option);
    plain.state &= ~QStyle::State_Selected;
    plain.state &= ~QStyle::State_HasFocus;
    plain.palette.setColor(QPalette::Text, selected ? Qt::white : Qt::black);
    QStyledItemDelegate::paint(painter, plain, index);
}

QString StripedDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'f', 2);
    return QStyledItemDelegate::displayText(value, locale);
}

void StripedDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // Text left, numbers right.
    const int type = index.data().typeId();
    if (type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::Double)
        option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
}

StripedGrid::StripedGrid(QWidget *parent) : QTableView(parent)
{
    setItemDelegate(new StripedDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setDefaultSectionSize(22);
    verticalHeader()->hide();
    horizontalHeader()->setStyleSheet(
        "QHeaderView::section { background: rgb(126,211,188); border: 1px solid #6aa; padding: 2px; }");
}
