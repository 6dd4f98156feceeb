#pragma once
// The rows of one code table screen, read at once (code tables are short) so no statement
// stays open while the screen writes. Shows the member's grid columns under their titles.

#include "codes/code_members.h"

#include <QAbstractTableModel>
#include <QList>
#include <QSqlDatabase>
#include <QSqlRecord>

namespace codes {

class CodeRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CodeRowsModel(const Member &member, QObject *parent = nullptr);

    void load(const QSqlDatabase &db);  // runs the member's rows statement; throws sql::Failure
    QSqlRecord record(int row) const { return rows_.value(row); }
    int rowOf(const QString &code) const;  // -1 when the code is not listed

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const Member &member_;
    QList<QSqlRecord> rows_;
};

}  // namespace codes
