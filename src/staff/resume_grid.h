#pragma once
// A list of the cadre résumé edited in place: while editing, a blank row at the end takes a
// new row; a changed row is written when the cursor leaves it (or when the editing ends);
// "删除本行" (context menu, Ctrl+Del) deletes the current row after a confirmation. A column
// with offered values edits in a drop-down that also takes typed text.

#include "staff/cadre_resume.h"

#include <QAbstractTableModel>
#include <QSet>
#include <QTableView>
#include <optional>

namespace staff::resume {
// What the résumé's editors say when the database refuses a row as typed; any other failure
// is told as the database's own (sql::Failure::explain).
inline const QString kErrorTitle = QStringLiteral("错误提示");
inline const QString kWrongInput = QStringLiteral("您输入的数据存在错误！");
}  // namespace staff::resume

class ResumeGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ResumeGridModel(const staff::resume::Grid &grid, QObject *parent = nullptr);

    const staff::resume::Grid &grid() const { return grid_; }
    void setRows(const QList<staff::resume::GridRow> &rows);
    // Editable: the cells take input and a blank row stands at the end.
    // Changes not yet written are the caller's to write (writeChanges) before locking.
    void setEditable(bool editable);
    bool isEditable() const { return editable_; }

    const QList<staff::resume::GridRow> &rows() const { return rows_; }
    bool isChanged(int row) const { return changed_.contains(row); }
    void markWritten(int row, qint64 rowId);
    void removeStoredRow(int row);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const staff::resume::Grid &grid_;
    QList<staff::resume::GridRow> rows_;  // stored rows, then rows typed but not yet written
    QSet<int> changed_;
    bool editable_ = false;
};

class ResumeGrid : public QTableView {
    Q_OBJECT
public:
    ResumeGrid(const QSqlDatabase &db, const staff::resume::Grid &grid, QWidget *parent = nullptr);

    ResumeGridModel *rows() const { return model_; }
    void showCadre(const QString &code, const QList<staff::resume::GridRow> &rows);
    // Changes not yet written are the caller's to write (writeChanges) before locking.
    void setEditable(bool editable);

    // Writes every changed row; false (after telling the person) when one could not be written.
    bool writeChanges();
    // Asks, then deletes the current row.
    void removeCurrentRow();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool writeRow(int row);

    QSqlDatabase db_;
    QString code_;
    ResumeGridModel *model_;
    // The row last refused, as it was: refused again unchanged (on "忽略"), it is not told twice.
    std::optional<staff::resume::GridRow> refused_;
};
