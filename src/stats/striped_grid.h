#pragma once
// The read-only list grid of the statistics and list screens: whole-row selection, the selected
// row on pure blue, other rows alternately pale green and cream by record number, the title row
// in sea green; real numbers shown with two decimals, empty values as blank cells.

#include <QStyledItemDelegate>
#include <QTableView>

class StripedDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QString displayText(const QVariant &value, const QLocale &locale) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

public:
    static QColor background(int row, bool selected);  // row is 0-based
};

class StripedGrid : public QTableView {
    Q_OBJECT
public:
    explicit StripedGrid(QWidget *parent = nullptr);
};
