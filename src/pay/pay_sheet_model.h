#pragma once
// One pay sheet of a department's month as an editable table: code and name read-only, the
// typed amounts editable as exact yuan, the gross and net columns computed as the amounts
// change. A changed row is written when commitRow is called (when the cursor leaves it).

#include "db/sql.h"
#include "pay/pay_month.h"

#include <QAbstractTableModel>
#include <QSet>
#include <QSqlDatabase>
#include <optional>

class PaySheetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    PaySheetModel(const pay::Sheet &sheet, QObject *parent = nullptr);

    const pay::Sheet &sheet() const { return sheet_; }
    // The rows shown, with the further amount columns they carry (salary items).
    void setRows(QList<pay::SheetRow> rows, const QStringList &extraColumns);
    const QList<pay::SheetRow> &rows() const { return rows_; }
    QString columnName(int column) const { return columns_.value(column); }

    // Writes the row if it changed; the failure when the database refused it (the row then
    // shows what is stored again).
    std::optional<sql::Failure> commitRow(const QSqlDatabase &db, int row);
    bool hasChanges() const { return !changed_.isEmpty(); }

    // Sorted by a column's values (rows not yet written move with their changes).
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Takes yuan text; refuses anything but an exact amount (see refused()).
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

signals:
    // A typed value was not an amount; the message names the column.
    void refused(const QString &message);

private:
    bool editable(const QString &column) const;

    pay::Sheet sheet_;
    QStringList columns_;  // 职工编码, 职工姓名, then the amounts
    QList<pay::SheetRow> rows_;
    QList<pay::SheetRow> stored_;
    QSet<int> changed_;
};
