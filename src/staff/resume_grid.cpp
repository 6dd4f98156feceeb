#include "staff/resume_grid.h"

#include "app/failure_message.h"
#include "app/prompt.h"
#include "db/sql.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QStyledItemDelegate>

using staff::resume::GridRow;
using staff::resume::kErrorTitle;
using staff::resume::kWrongInput;

namespace {

// Offered values in a drop-down that takes typed text too; other columns as plain text.
class OfferedValuesDelegate : public QStyledItemDelegate {
public:
    OfferedValuesDelegate(const staff::resume::Grid &grid, QObject *parent) : QStyledItemDelegate(parent), grid_(grid) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QStringList offered = grid_.columns[size_t(index.column())].offered;
        if (offered.isEmpty())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto *box = new QComboBox(parent);
        box->setEditable(true);
        box->addItems(offered);
        return box;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *box = qobject_cast<QComboBox *>(editor))
            box->setCurrentText(index.data(Qt::EditRole).toString());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *box = qobject_cast<QComboBox *>(editor))
            model->setData(index, box->currentText(), Qt::EditRole);
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    const staff::resume::Grid &grid_;
};

}  // namespace

ResumeGridModel::ResumeGridModel(const staff::resume::Grid &grid, QObject *parent)
    : QAbstractTableModel(parent), grid_(grid)
{
}

void ResumeGridModel::setRows(const QList<GridRow> &rows)
{
    beginResetModel();
    rows_ = rows;
    changed_.clear();
    endResetModel();
}

void ResumeGridModel::setEditable(bool editable)
{
    if (editable == editable_)
        return;
    beginResetModel();
    editable_ = editable;
    endResetModel();
}

void ResumeGridModel::markWritten(int row, qint64 rowId)
{
    rows_[row].rowId = rowId;
    changed_.remove(row);
}

void ResumeGridModel::removeStoredRow(int row)
{
    beginRemoveRows({}, row, row);
    rows_.removeAt(row);
    QSet<int> shifted;
    for (int r : std::as_const(changed_))
        if (r != row)
            shifted.insert(r > row ? r - 1 : r);
    changed_ = shifted;
    endRemoveRows();
}

int ResumeGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.size()) + (editable_ ? 1 : 0);
}

int ResumeGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(grid_.columns.size());
}

QVariant ResumeGridModel::data(const QModelIndex &index, int role) const
{
    if ((role != Qt::DisplayRole && role != Qt::EditRole) || index.row() >= rows_.size())
        return {};
    return rows_[index.row()].values.value(index.column());
}

bool ResumeGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !editable_ || !index.isValid())
        return false;
    const int row = index.row();
    if (row == rows_.size()) {
        // Typing in the blank row makes it a row of its own, with a new blank row below.
        beginInsertRows({}, row + 1, row + 1);
        rows_.append(GridRow{0, QStringList(QList<QString>(qsizetype(grid_.columns.size())))});
        endInsertRows();
    }
    if (rows_[row].values[index.column()] == value.toString())
        return true;
    rows_[row].values[index.column()] = value.toString();
    changed_.insert(row);
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags ResumeGridModel::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags base = QAbstractTableModel::flags(index);
    return editable_ ? base | Qt::ItemIsEditable : base;
}

QVariant ResumeGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return grid_.columns[size_t(section)].heading;
    return section < rows_.size() ? QVariant(section + 1) : QVariant(QStringLiteral("*"));
}

ResumeGrid::ResumeGrid(const QSqlDatabase &db, const staff::resume::Grid &grid, QWidget *parent)
    : QTableView(parent), db_(db), model_(new ResumeGridModel(grid, this))
{
    setObjectName(grid.table);
    setModel(model_);
    setItemDelegate(new OfferedValuesDelegate(grid, this));
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    verticalHeader()->setDefaultSectionSize(24);
    // A changed row is written as soon as the cursor leaves it.
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current, const QModelIndex &previous) {
                if (previous.isValid() && previous.row() != current.row() && model_->isChanged(previous.row()))
                    writeRow(previous.row());
            });
}

void ResumeGrid::showCadre(const QString &code, const QList<GridRow> &rows)
{
    code_ = code;
    model_->setRows(rows);
}

void ResumeGrid::setEditable(bool editable)
{
    model_->setEditable(editable && !code_.isEmpty());
    setEditTriggers(model_->isEditable() ? QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                                               | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
                                         : QAbstractItemView::NoEditTriggers);
}

bool ResumeGrid::writeChanges()
{
    // What a cell editor still holds belongs to its row.
    if (state() == QAbstractItemView::EditingState) {
        QWidget *editor = QApplication::focusWidget();
        while (editor && editor->parentWidget() != viewport())
            editor = editor->parentWidget();
        if (editor)
            commitData(editor);
    }
    for (int row = int(model_->rows().size()) - 1; row >= 0; --row)
        if (model_->isChanged(row) && !writeRow(row))
            return false;
    return true;
}

bool ResumeGrid::writeRow(int row)
{
    const GridRow &r = model_->rows()[row];
    if (r.rowId == 0 && r.isBlank()) {  // a new row left empty is no row
        model_->removeStoredRow(row);
        return true;
    }
    try {
        model_->markWritten(row, staff::resume::writeGridRow(db_, model_->grid(), code_, r));
        return true;
    } catch (const sql::Failure &e) {
        const bool toldAlready = refused_ && refused_->rowId == r.rowId && refused_->values == r.values;
        refused_ = r;
        if (!toldAlready)
            failure_message::show(this, e, {.title = kErrorTitle, .refusal = kWrongInput});
        return false;
    }
}

void ResumeGrid::removeCurrentRow()
{
    const int row = currentIndex().row();
    if (!model_->isEditable() || row < 0 || row >= model_->rows().size())
        return;
    if (prompt::ask(QStringLiteral("删除提示"), QStringLiteral("确定要删除这条记录吗？"), true, this) != prompt::Ok)
        return;
    const qint64 rowId = model_->rows()[row].rowId;
    try {
        if (rowId != 0)
            staff::resume::deleteGridRow(db_, model_->grid(), code_, rowId);
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.refusal = QStringLiteral("这条记录无法删除！")});
        return;
    }
    model_->removeStoredRow(row);
}

void ResumeGrid::contextMenuEvent(QContextMenuEvent *event)
{
    if (!model_->isEditable())
        return;
    QMenu menu(this);
    QAction *remove = menu.addAction(QStringLiteral("删除本行"));
    remove->setEnabled(currentIndex().isValid() && currentIndex().row() < model_->rows().size());
    if (menu.exec(event->globalPos()) == remove)
        removeCurrentRow();
}

void ResumeGrid::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::ControlModifier) {
        removeCurrentRow();
        return;
    }
    QTableView::keyPressEvent(event);
}
