#include "pay/pay_sheet_model.h"

#include "db/money.h"
#include "db/schema.h"
#include "db/sql.h"
#include "db/value_order.h"
#include "export/xlsx_export.h"

namespace {
const QString kCode = QStringLiteral("职工编码");
const QString kName = QStringLiteral("职工姓名");
}  // namespace

PaySheetModel::PaySheetModel(const pay::Sheet &sheet, QObject *parent)
    : QAbstractTableModel(parent), sheet_(sheet), columns_(QStringList{kCode, kName} + sheet.amountColumns())
{
}

void PaySheetModel::setRows(QList<pay::SheetRow> rows, const QStringList &extraColumns)
{
    beginResetModel();
    columns_ = QStringList{kCode, kName} + sheet_.amountColumns() + extraColumns;
    rows_ = std::move(rows);
    stored_ = rows_;
    changed_.clear();
    endResetModel();
}

bool PaySheetModel::editable(const QString &column) const
{
    return column != kCode && column != kName && column != sheet_.gross && column != sheet_.net;
}

int PaySheetModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int PaySheetModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(columns_.size()); }

QVariant PaySheetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::TextAlignmentRole))
        return {};
    const QString &column = columns_.at(index.column());
    if (role == Qt::TextAlignmentRole)
        return column == kCode || column == kName ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    const pay::SheetRow &row = rows_.at(index.row());
    if (column == kCode)
        return row.code;
    if (column == kName)
        return row.name;
    const std::optional<qint64> amount = row.amounts.value(column);
    if (!amount)
        return QString();
    // Whole yuan as a number, so a grid and an export treat it as one.
    return pay::isWholeYuan(column) ? QVariant(qlonglong(*amount / schema::kMoneyScale)) : QVariant(money::formatYuan(*amount));
}

QVariant PaySheetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal)
        return columns_.value(section);
    if (role == xlsx::kMoneyColumnRole && orientation == Qt::Horizontal) {
        const QString column = columns_.value(section);
        return column != kCode && column != kName && !pay::isWholeYuan(column);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

void PaySheetModel::sort(int column, Qt::SortOrder order)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    const std::vector<int> sorted =
        value_order::sortedRows(int(rows_.size()), [&](int r) { return data(index(r, column), Qt::DisplayRole); }, order);
    QList<pay::SheetRow> rows, stored;
    QSet<int> changed;
    for (int r : sorted) {
        if (changed_.contains(r))
            changed.insert(int(rows.size()));
        rows << rows_.at(r);
        stored << stored_.at(r);
    }
    rows_ = std::move(rows);
    stored_ = std::move(stored);
    changed_ = std::move(changed);
    changePersistentIndexList(before, value_order::movedIndexes(before, sorted));
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

Qt::ItemFlags PaySheetModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && editable(columns_.at(index.column())))
        f |= Qt::ItemIsEditable;
    return f;
}

bool PaySheetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !editable(columns_.at(index.column())))
        return false;
    const QString &column = columns_.at(index.column());
    const QString text = value.toString().trimmed();
    std::optional<qint64> amount;
    if (!text.isEmpty()) {
        amount = money::parseEntry(text);
        if (!amount || (pay::isWholeYuan(column) && *amount % schema::kMoneyScale != 0)) {
            emit refused(money::parseYuan(text) && !amount
                             ? QStringLiteral("%1金额不能超过%2位整数，请重新输入！").arg(column).arg(money::kEntryWholeDigits)
                         : pay::isWholeYuan(column) ? QStringLiteral("%1只能是整数，请重新输入！").arg(column)
                                                    : QStringLiteral("%1金额格式错误，请重新输入！").arg(column));
            return false;
        }
    }
    pay::SheetRow &row = rows_[index.row()];
    if (row.amounts.value(column) == amount)
        return true;
    row.amounts[column] = amount;
    pay::computeTotals(sheet_, row.amounts);
    changed_.insert(index.row());
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
}

std::optional<sql::Failure> PaySheetModel::commitRow(const QSqlDatabase &db, int row)
{
    if (!changed_.contains(row))
        return std::nullopt;
    changed_.remove(row);
    try {
        pay::storeRow(db, sheet_, rows_[row]);
        stored_[row] = rows_[row];
        return std::nullopt;
    } catch (const sql::Failure &e) {
        rows_[row] = stored_[row];
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        return e;
    }
}
