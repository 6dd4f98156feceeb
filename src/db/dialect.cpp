#include "db/dialect.h"

#include "db/change_log.h"

#include <QSqlDriver>

namespace sql {

QString Dialect::createTable(const schema::Table &table) const
{
    QStringList columns;
    for (const schema::Column &c : table.columns)
        columns << columnDefinition(c);
    if (const QString rowId = rowIdColumn(table); !rowId.isEmpty())
        columns << rowId;
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(quoteIdentifier(table.name), columns.join(", "));
}

QStringList Dialect::createWorkTable(const QString &name, const QStringList &definitions, bool replace) const
{
    QStringList statements;
    if (replace)
        statements << QStringLiteral("DROP TABLE IF EXISTS %1").arg(quoteIdentifier(name));
    statements << QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)").arg(quoteIdentifier(name), definitions.join(", "));
    return statements;
}

QString Dialect::createIndex(const QString &table, const schema::Index &index) const
{
    QStringList columns;
    for (const QString &c : index.columns.split(','))
        columns << quoteIdentifier(c);
    return QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3 (%4)")
        .arg(index.unique ? "UNIQUE " : "", quoteIdentifier(index.name), quoteIdentifier(table), columns.join(", "));
}

QString Dialect::addColumn(const QString &table, const schema::Column &column, const QString &defaultValue) const
{
    return QStringLiteral("ALTER TABLE %1 ADD COLUMN %2%3")
        .arg(quoteIdentifier(table), columnDefinition(column),
             defaultValue.isEmpty() ? QString() : QStringLiteral(" DEFAULT ") + defaultValue);
}

QString Dialect::dropTrigger(const QString &name, const QString &) const
{
    return QStringLiteral("drop trigger if exists %1").arg(quoteIdentifier(name));
}

QStringList Dialect::continueAutoIds(const QString &, const QString &) const
{
    // An engine whose automatic numbers always follow the greatest present needs nothing.
    return {};
}

QString Dialect::beginRead() const
{
    return QStringLiteral("start transaction isolation level repeatable read, read only");
}

QString Dialect::markWriter() const { return QStringLiteral("update %1 set 操作员=:w, 静默=0").arg(change_log::kMarkTable); }

QString Dialect::clearWriter() const { return QStringLiteral("update %1 set 操作员=null, 静默=0").arg(change_log::kMarkTable); }

QString Dialect::silenceWriter() const { return QStringLiteral("update %1 set 静默=1").arg(change_log::kMarkTable); }

QString Dialect::writerNow() const
{
    return QStringLiteral("coalesce((select 操作员 from %1), '%2')").arg(change_log::kMarkTable, change_log::kOutsider);
}

QString Dialect::silenced() const { return QStringLiteral("coalesce((select 静默 from %1), 0)<>0").arg(change_log::kMarkTable); }

QString Dialect::sameValue(const QString &a, const QString &b) const
{
    return QStringLiteral("%1 is not distinct from %2").arg(a, b);
}

QString Dialect::upsert(const QString &table, const QStringList &columns, const QStringList &keyColumns) const
{
    QStringList quoted, parameters, keys, updates;
    for (int i = 0; i < columns.size(); ++i) {
        quoted << quoteIdentifier(columns[i]);
        parameters << QStringLiteral(":p%1").arg(i);
        if (!keyColumns.contains(columns[i]))
            updates << QStringLiteral("%1=excluded.%1").arg(quoteIdentifier(columns[i]));
    }
    for (const QString &k : keyColumns)
        keys << quoteIdentifier(k);
    return QStringLiteral("insert into %1 (%2) values (%3) on conflict (%4) do %5")
        .arg(quoteIdentifier(table), quoted.join(','), parameters.join(','), keys.join(','),
             updates.isEmpty() ? QStringLiteral("nothing") : QStringLiteral("update set ") + updates.join(','));
}

QString Dialect::valueInForceOn(history::Table table, const QString &column, const QString &employeeExpression,
                              const QString &dateExpression) const
{
    // The employee's rows newest first through the (职工编码, 自动编号) index, until one is dated
    // on or before the date.
    return QStringLiteral("(select vif.%1 from %2 vif where vif.职工编码=%3 and vif.变动时间<=%4 "
                          "order by vif.自动编号 desc limit 1)")
        .arg(quoteIdentifier(column), history::tableName(table), employeeExpression, dateExpression);
}

QString Dialect::snapshotOn(history::Table table, const QString &dateExpression, const QStringList &columns) const
{
    // The greatest 自动编号 per employee in one pass over the dated index, then each row by it.
    const QString t = history::tableName(table);
    return QStringLiteral("select 职工编码, 自动编号%1 from %2 where %3")
        .arg(columns.isEmpty() ? QString() : ", " + columns.join(", "), t, history::inForceOn(table, dateExpression));
}

const Dialect &dialect(const QSqlDriver *driver)
{
    if (driver && driver->dbmsType() == QSqlDriver::SQLite)
        return sqliteDialect();
    if (driver && driver->dbmsType() == QSqlDriver::PostgreSQL)
        return postgresDialect();
    throw Failure(QStringLiteral("不支持这种数据库"));
}

const Dialect &dialect(const QSqlDatabase &db) { return dialect(db.driver()); }

const std::vector<const Dialect *> &dialects()
{
    static const std::vector<const Dialect *> all = {&sqliteDialect(), &postgresDialect()};
    return all;
}

}  // namespace sql
