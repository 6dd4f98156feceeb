#include "app/striped_grid.h"

#include "app/grid_export.h"
#include "app/grid_footer.h"
#include "app/remembered_columns.h"
#include "db/money.h"
#include "db/value_order.h"
#include "db/windowed_rows.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>

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
    if (type == QMetaType::Double
        && index.model()->headerData(index.column(), Qt::Horizontal, xlsx::kMeasuredColumnRole).toBool())
        option->text = xlsx::realText(value.toDouble(), true);
    if (!index.model()->headerData(index.column(), Qt::Horizontal, xlsx::kMoneyColumnRole).toBool())
        return;
    // Amounts show two decimals; the value stays exact (an edit box gets all of it).
    option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
    if (type == QMetaType::Int || type == QMetaType::LongLong)
        option->text = money::formatShown(value.toLongLong());
    else if (const auto units = money::parseYuan(value.toString()); units && !value.toString().isEmpty())
        option->text = money::formatShown(*units);
}

QString StripedDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::Double)
        return xlsx::realText(value.toDouble(), false);
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
    footer_ = new GridFooter(this);
    setSortable(true);
    connect(horizontalHeader(), &QHeaderView::sectionResized, footer_, [this] { footer_->update(); });
    connect(horizontalHeader(), &QHeaderView::sectionMoved, footer_, [this] { footer_->update(); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, footer_, [this] { footer_->update(); });
    remembered_columns::attach(*this);
}

void StripedGrid::setSortable(bool sortable)
{
    sortable_ = sortable;
    QHeaderView *header = horizontalHeader();
    header->setSectionsClickable(sortable);
    header->setSortIndicatorShown(sortable);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    sortColumn_ = -1;
    disconnect(header, &QHeaderView::sectionClicked, this, nullptr);
    if (sortable)
        connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
            // A new column sorts ascending first; the same column again turns the order round.
            const Qt::SortOrder order = column == sortColumn_ && sortOrder_ == Qt::AscendingOrder
                                            ? Qt::DescendingOrder
                                            : Qt::AscendingOrder;
            sortBy(column, order);
        });
}

void StripedGrid::sortBy(int column, Qt::SortOrder order)
{
    sortColumn_ = column;
    sortOrder_ = order;
    {
        const QSignalBlocker quiet(horizontalHeader());
        horizontalHeader()->setSortIndicator(column, order);
    }
    horizontalHeader()->viewport()->update();
    const bool hadCurrent = currentIndex().isValid();
    if (model())
        model()->sort(column, order);
    // A list sorted by the database is read anew: its first row is then the one selected.
    if (hadCurrent && !currentIndex().isValid() && model() && model()->rowCount() > 0)
        selectRow(0);
    if (currentIndex().isValid())
        scrollTo(currentIndex());
}

void StripedGrid::setTotalsShown(bool shown)
{
    totalsShown_ = shown;
    updateGeometries();
    refreshFooter();
}

void StripedGrid::setTotalsOfAll(std::vector<column_totals::Total> totals)
{
    totalsOfAll_ = std::move(totals);
    refreshFooter();
}

std::vector<int> StripedGrid::shownRows() const
{
    std::vector<int> rows;
    for (int r = 0; model() && r < model()->rowCount(); ++r)
        if (!isRowHidden(r))
            rows.push_back(r);
    return rows;
}

QString StripedGrid::countText() const
{
    if (!model())
        return {};
    int shown = model()->rowCount();
    for (int r = 0; r < model()->rowCount(); ++r)
        shown -= isRowHidden(r) ? 1 : 0;
    // A list read as it is scrolled says how far it has been read.
    return model()->canFetchMore({}) ? QStringLiteral("已列出 %1 条（向下滚动列出更多）").arg(shown)
                                     : QStringLiteral("共 %1 条").arg(shown);
}

void StripedGrid::refreshFooter()
{
    if (footer_)
        footer_->refresh();
}

void StripedGrid::clearSort()
{
    sortBy(-1, Qt::AscendingOrder);
}

void StripedGrid::search(const QString &text)
{
    if (auto *windowed = qobject_cast<WindowedRows *>(model())) {
        windowed->setSearch(text);
        search_ = text;
        if (windowed->rowCount() > 0 && !currentIndex().isValid())
            selectRow(0);
        return;
    }
    search_ = text;
    hideUnmatched();
}

void StripedGrid::hideUnmatched()
{
    if (!model() || qobject_cast<WindowedRows *>(model()))
        return;
    // A list read as it is scrolled is read whole, so the search covers every row.
    while (!search_.isEmpty() && model()->canFetchMore({}))
        model()->fetchMore({});
    std::vector<int> columns;
    for (int c = 0; c < model()->columnCount(); ++c) {
        const QString title = model()->headerData(c, Qt::Horizontal).toString();
        if (title.contains(QStringLiteral("编码")) || title.contains(QStringLiteral("编号")) || title.contains(QStringLiteral("姓名")))
            columns.push_back(c);
    }
    for (int r = 0; r < model()->rowCount(); ++r) {
        bool shown = search_.isEmpty() || columns.empty();
        for (size_t i = 0; i < columns.size() && !shown; ++i)
            shown = model()->index(r, columns[i]).data().toString().contains(search_, Qt::CaseInsensitive);
        setRowHidden(r, !shown);
    }
    refreshFooter();
}

void StripedGrid::updateGeometries()
{
    QTableView::updateGeometries();
    if (!footer_)
        return;  // still being built
    const int height = footer_->wanted();
    const QRect area = viewport()->rect();
    footer_->setGeometry(0, area.height() - height, area.width(), height);
    footer_->raise();
    // The rows scroll far enough up for the last one to clear the footer.
    QScrollBar *bar = verticalScrollBar();
    const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
    const int extra = verticalScrollMode() == ScrollPerItem ? (height + rowHeight - 1) / rowHeight : height;
    if (model() && model()->rowCount() > 0 && (bar->maximum() > 0 || rowHeight * model()->rowCount() > area.height() - height))
        bar->setRange(0, bar->maximum() + extra);
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
        disconnect(old, nullptr, footer_, nullptr);
    }
    QTableView::setModel(model);
    if (!model)
        return;
    // After the model has settled (a query model fetches its first rows on reset).
    const auto fit = [this] { QMetaObject::invokeMethod(this, &QTableView::resizeColumnsToContents, Qt::QueuedConnection); };
    connect(model, &QAbstractItemModel::modelReset, this, fit);
    connect(model, &QAbstractItemModel::layoutChanged, this, fit);
    fit();
    // Counts and totals follow the rows; a model filled anew keeps the order chosen.
    const auto follow = [this] {
        if (search_.isEmpty())
            refreshFooter();
        else
            hideUnmatched();
    };
    connect(model, &QAbstractItemModel::modelReset, footer_, follow);
    connect(model, &QAbstractItemModel::layoutChanged, footer_, follow);
    connect(model, &QAbstractItemModel::rowsInserted, footer_, follow);
    connect(model, &QAbstractItemModel::rowsRemoved, footer_, follow);
    connect(model, &QAbstractItemModel::dataChanged, footer_, [this] { refreshFooter(); });
    refreshFooter();
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

void markMeasuredColumns(QAbstractItemModel &model, const QStringList &titles)
{
    for (int c = 0; c < model.columnCount(); ++c)
        if (titles.contains(model.headerData(c, Qt::Horizontal).toString()))
            model.setHeaderData(c, Qt::Horizontal, true, xlsx::kMeasuredColumnRole);
}

RowsModel::RowsModel(QStringList titles, QObject *parent)
    : QAbstractTableModel(parent), titles_(std::move(titles))
{
}

void RowsModel::setRows(QList<QVariantList> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    applySort();
    endResetModel();
}

void RowsModel::setRows(QStringList titles, QList<QVariantList> rows)
{
    beginResetModel();
    titles_ = std::move(titles);
    rows_ = std::move(rows);
    applySort();
    endResetModel();
}

std::vector<int> RowsModel::applySort()
{
    if (sortColumn_ < 0)
        return {};
    const std::vector<int> order =
        value_order::sortedRows(int(rows_.size()), [this](int r) { return rows_.at(r).value(sortColumn_); }, sortOrder_);
    QList<QVariantList> sorted;
    sorted.reserve(rows_.size());
    for (int r : order)
        sorted << rows_.at(r);
    rows_ = std::move(sorted);
    return order;
}

void RowsModel::sort(int column, Qt::SortOrder order)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    sortColumn_ = column;
    sortOrder_ = order;
    changePersistentIndexList(before, value_order::movedIndexes(before, applySort()));
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
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
    if (orientation == Qt::Horizontal && columnRoles_.contains({section, role}))
        return columnRoles_.value({section, role});
    return QAbstractTableModel::headerData(section, orientation, role);
}

void RowsModel::setMeasuredColumns(const QList<int> &columns)
{
    // Kept as a column role like a money column's mark, so the grid, printouts and workbooks
    // read both the same way.
    for (auto i = columnRoles_.begin(); i != columnRoles_.end();)
        i = i.key().second == xlsx::kMeasuredColumnRole ? columnRoles_.erase(i) : std::next(i);
    for (const int c : columns)
        columnRoles_[{c, xlsx::kMeasuredColumnRole}] = true;
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

bool RowsModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || role == Qt::DisplayRole)
        return false;
    columnRoles_[{section, role}] = value;
    emit headerDataChanged(orientation, section, section);
    return true;
}
