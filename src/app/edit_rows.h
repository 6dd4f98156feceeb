#pragma once
// The edit-screen kit: reading and writing the rows of a field list. Callers that write more
// than one row open one Transaction around the writes; saveRow and removeRow open their own,
// and so does a single write outside one. Every write is refused (rights.h) when the
// session's role may not write the table.

#include "app/edit_fields.h"

#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariantMap>
#include <optional>

namespace edit {

// The row a read or write addresses: the one whose column equals the value. No column: a
// new row. `asRead` holds the row's stored columns as the screen read them (asRead()); an
// update then writes only while the columns it writes still hold those values, so a second
// operator's save never overwrites the first's unseen.
struct RowKey {
    QString column = {};
    QVariant value = {};
    QVariantMap asRead = {};
    bool isNew() const { return column.isEmpty(); }
};

// Column → stored value of every column of the record, for RowKey::asRead.
QVariantMap asRead(const QSqlRecord &record);

// A recorded row (its 自动编号) being modified, with its columns as the screen read them.
struct RecordedRow {
    qint64 id = 0;
    QVariantMap asRead = {};
    RowKey key() const { return {QStringLiteral("自动编号"), id, asRead}; }
};

// Column → stored value for the fields of `table`.
QVariantMap storedRow(const Fields &fields, const QString &table, const Values &values);
// Field key → shown value for the fields of `table` found in the record.
Values shownRow(const Fields &fields, const QString &table, const QSqlRecord &record);

// The fields of `table` from the row with the key; nullopt when there is none.
// Throws sql::Failure.
std::optional<Values> readRow(const QSqlDatabase &db, const Fields &fields, const QString &table, const RowKey &key);

// Inserts the row (new key) or updates the one row with the key. An update that finds no row
// throws: the row was deleted meanwhile, or (with asRead) changed since it was read, which is
// a failure of kind Stale; nothing may be reported as saved. Throws sql::Failure.
void writeRow(const QSqlDatabase &db, const QString &table, const QVariantMap &columns, const RowKey &key = {});

// writeRow for many rows: each statement (table, columns, insert or update) is prepared once
// and kept, which matters where the table's triggers make preparing dear (a bulk import).
class RowWriter {
public:
    explicit RowWriter(const QSqlDatabase &db) : db_(db) {}
    void write(const QString &table, const QVariantMap &columns, const RowKey &key = {});  // as writeRow

private:
    QSqlDatabase db_;
    QHash<QString, QSqlQuery> prepared_;
};

// Deletes the rows with the key; returns how many. Throws sql::Failure.
int deleteRows(const QSqlDatabase &db, const QString &table, const RowKey &key);

// One row of the fields of `table` (plus `extra` columns) written in its own transaction.
void saveRow(const QSqlDatabase &db, const Fields &fields, const QString &table, const Values &values,
             const RowKey &key = {}, const QVariantMap &extra = {});
// The rows with the key deleted in their own transaction; returns how many.
int removeRow(const QSqlDatabase &db, const QString &table, const RowKey &key);

}  // namespace edit
