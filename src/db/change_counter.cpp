#include "db/change_counter.h"

#include "db/dialect.h"
#include "db/schema.h"
#include "db/sql.h"
#include "db/transaction.h"

#include <QHash>
#include <QSet>

namespace change_counter {
namespace {

const QString kCountsTable = QStringLiteral("bgjsb");
const char *const kEvents[] = {"insert", "update", "delete"};

QString triggerName(const QString &table, const char *event)
{
    return QStringLiteral("bgjs_%1_%2").arg(table, QLatin1String(event));
}

QString textLiteral(const QString &text) { return '\'' + QString(text).replace('\'', "''") + '\''; }

QHash<QString, qint64> allCounts(const QSqlDatabase &db)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select 表名, 计数 from %1").arg(kCountsTable));
    q.setForwardOnly(true);
    sql::exec(q);
    QHash<QString, qint64> counts;
    while (q.next())
        counts.insert(q.value(0).toString(), q.value(1).toLongLong());
    return counts;
}

}  // namespace

QStringList countedTables()
{
    QSet<QString> read;
    for (const schema::WorkTable &w : schema::workTables())
        for (const QString &table : w.reads)
            read << table;
    QStringList counted;
    for (const schema::Table &t : schema::tables())
        if (read.contains(t.name))
            counted << t.name;
    return counted;
}

QStringList createStatements(const sql::Dialect &dialect)
{
    QStringList statements = {
        QStringLiteral("create table if not exists %1 (表名 TEXT PRIMARY KEY, 计数 INTEGER NOT NULL)").arg(kCountsTable)};
    for (const QString &table : countedTables()) {
        const QString name = textLiteral(table);
        statements << QStringLiteral("insert into %1 (表名, 计数) select %2, 0 where not exists (select 1 from %1 where 表名=%2)")
                          .arg(kCountsTable, name);
        for (const char *event : kEvents)
            // Once per statement: many writes of one row in a transaction pile up versions of
            // it on a server, each update slower than the last.
            statements << dialect.createStatementTrigger(triggerName(table, event), QLatin1String(event), table,
                                                QStringLiteral("update %1 set 计数=计数+1 where 表名=%2;").arg(kCountsTable, name));
    }
    return statements;
}

void ensure(const QSqlDatabase &db)
{
    const QStringList counted = countedTables();
    QStringList names = {kCountsTable};
    for (const QString &table : counted)
        for (const char *event : kEvents)
            names << triggerName(table, event);
    const QStringList missing = sql::missingTablesAndTriggers(db, names);
    const bool countsMissing = missing.contains(kCountsTable);
    bool rowMissing = false;
    if (!countsMissing) {
        const QHash<QString, qint64> present = allCounts(db);
        for (const QString &table : counted)
            rowMissing = rowMissing || !present.contains(table);
    }
    if (missing.isEmpty() && !rowMissing)
        return;
    // Several programs may open an older file at once: each makes what is still missing once it
    // holds the write lock.
    Transaction transaction(db);
    for (const QString &statement : createStatements(sql::dialect(db)))
        sql::exec(db, statement);
    // Writes made while a trigger of a table was missing were not counted: a work table stamped
    // meanwhile must not pass for current. Counts made just now start from nothing.
    if (!countsMissing)
        for (const QString &table : counted)
            for (const char *event : kEvents)
                if (missing.contains(triggerName(table, event))) {
                    sql::exec(db, QStringLiteral("update %1 set 计数=计数+1 where 表名=%2").arg(kCountsTable, textLiteral(table)));
                    break;
                }
    transaction.commit();
}

QString counts(const QSqlDatabase &db, const QStringList &tables)
{
    const QHash<QString, qint64> present = allCounts(db);
    QStringList counts;
    for (const QString &table : tables)
        counts << QStringLiteral("%1=%2").arg(table).arg(present.value(table));
    return counts.join(',');
}

}  // namespace change_counter
