#include "app/edit_rows.h"

#include "db/rights.h"
#include "db/sql.h"
#include "db/transaction.h"

namespace edit {
namespace {

QString whereKey(const RowKey &key) { return QStringLiteral(" where %1=:key").arg(sql::quoteIdentifier(key.column)); }

}  // namespace

QVariantMap storedRow(const Fields &fields, const QString &table, const Values &values)
{
    QVariantMap row;
    for (const Field *f : fieldsOf(fields, table))
        row.insert(f->column, storedValue(*f, values.value(f->key())));
    return row;
}

Values shownRow(const Fields &fields, const QString &table, const QSqlRecord &record)
{
    Values values;
    for (const Field *f : fieldsOf(fields, table))
        if (record.contains(f->column))
            values.insert(f->key(), shownValue(*f, record.value(f->column)));
    return values;
}

QVariantMap asRead(const QSqlRecord &record)
{
    QVariantMap row;
    for (int i = 0; i < record.count(); ++i)
        row.insert(record.fieldName(i), record.value(i));
    return row;
}

std::optional<Values> readRow(const QSqlDatabase &db, const Fields &fields, const QString &table, const RowKey &key)
{
    QSqlQuery q = sql::prepare(db, "select * from " + sql::quoteIdentifier(table) + whereKey(key));
    q.setForwardOnly(true);
    q.bindValue(":key", key.value);
    sql::exec(q);
    if (!q.next())
        return std::nullopt;
    return shownRow(fields, table, q.record());
}

void writeRow(const QSqlDatabase &db, const QString &table, const QVariantMap &columns, const RowKey &key)
{
    RowWriter(db).write(table, columns, key);
}

void RowWriter::write(const QString &table, const QVariantMap &columns, const RowKey &key)
{
    if (columns.isEmpty() && !key.isNew())
        return;
    rights::requireWrite(table);
    WriteScope scope(db_);
    // Only the columns this save writes are held to what was read: another operator's change
    // to a column the screen does not write is no conflict.
    QStringList guarded;
    QVariantList guardedValues;
    for (auto it = key.asRead.cbegin(); it != key.asRead.cend(); ++it)
        if (columns.contains(it.key())) {
            guarded << it.key();
            guardedValues << it.value();
        }
    const QString statement = table + '|' + key.column + '|' + columns.keys().join('|') + '|' + guarded.join('|');
    auto q = prepared_.find(statement);
    if (q == prepared_.end())
        q = prepared_.insert(statement, key.isNew() ? sql::prepareInsert(db_, table, columns.keys())
                                                    : sql::prepareUpdate(db_, table, columns.keys(), key.column, guarded));
    sql::bindRow(*q, columns.values());
    if (!key.isNew()) {
        q->bindValue(":key", key.value);
        sql::bindAsRead(*q, guardedValues);
    }
    sql::exec(*q);
    if (!key.isNew() && q->numRowsAffected() != 1) {
        if (!key.asRead.isEmpty())
            throw sql::staleRow();
        throw sql::Failure(QStringLiteral("要修改的记录已被删除（%1）").arg(table), sql::Failure::Kind::Refused);
    }
    scope.commit();
}

int deleteRows(const QSqlDatabase &db, const QString &table, const RowKey &key)
{
    rights::requireWrite(table);
    WriteScope scope(db);
    QSqlQuery q = sql::prepare(db, "delete from " + sql::quoteIdentifier(table) + whereKey(key));
    q.bindValue(":key", key.value);
    sql::exec(q);
    scope.commit();
    return q.numRowsAffected();
}

void saveRow(const QSqlDatabase &db, const Fields &fields, const QString &table, const Values &values,
             const RowKey &key, const QVariantMap &extra)
{
    QVariantMap columns = storedRow(fields, table, values);
    columns.insert(extra);
    Transaction transaction(db);
    writeRow(db, table, columns, key);
    transaction.commit();
}

int removeRow(const QSqlDatabase &db, const QString &table, const RowKey &key)
{
    Transaction transaction(db);
    const int removed = deleteRows(db, table, key);
    transaction.commit();
    return removed;
}

}  // namespace edit
