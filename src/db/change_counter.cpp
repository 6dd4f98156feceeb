#include "db/change_counter.h"

#include "db/schema.h"
#include "db/sql.h"
#include "db/transaction.h"
#include "stats/work_table_schemas.h"

#include <QSet>

namespace change_counter {
namespace {

const QString kCounterTable = QStringLiteral("bgjsb");

QSet<QString> untrackedTables()
{
    // Written in bulk or often, and counted by no statistics table (a test holds the statistics
    // to that): the pay sheets, rewards, attendance, appraisals, the operators and settings.
    QSet<QString> untracked = {"gzb", "jjb", "btb", "jcjlb", "kqjlb", "ndkhb", "czydmb", "gzzd", "xtztb",
                               "gzdtjlb"};
    for (const schema::Table &t : stats::workTableSchemas())
        untracked << t.name;
    return untracked;
}

QString triggerName(const QString &table, const char *event)
{
    return QStringLiteral("bgjs_%1_%2").arg(table, QLatin1String(event));
}

}  // namespace

QStringList trackedTables()
{
    const QSet<QString> untracked = untrackedTables();
    QStringList tracked;
    for (const schema::Table &t : schema::tables())
        if (!untracked.contains(t.name))
            tracked << t.name;
    return tracked;
}

QStringList createStatements()
{
    QStringList statements = {
        QStringLiteral("create table if not exists %1 (计数 INTEGER NOT NULL)").arg(kCounterTable),
        QStringLiteral("insert into %1 select 0 where not exists (select 1 from %1)").arg(kCounterTable)};
    for (const QString &table : trackedTables())
        for (const char *event : {"insert", "update", "delete"})
            statements << QStringLiteral("create trigger if not exists %1 after %2 on %3 begin update %4 set 计数=计数+1; end")
                              .arg(sql::quoteIdentifier(triggerName(table, event)), QLatin1String(event),
                                   sql::quoteIdentifier(table), kCounterTable);
    return statements;
}

void ensure(const QSqlDatabase &db)
{
    QStringList names = {kCounterTable};
    for (const QString &table : trackedTables())
        for (const char *event : {"insert", "update", "delete"})
            names << triggerName(table, event);
    const QStringList missing = sql::missingTablesAndTriggers(db, names);
    if (missing.isEmpty())
        return;
    // Several programs may open an older file at once: each makes what is still missing once it
    // holds the write lock.
    Transaction transaction(db);
    for (const QString &statement : createStatements())
        sql::exec(db, statement);
    // Writes made while a trigger was missing were not counted: a work table stamped meanwhile
    // must not pass for current. A counter made just now starts from nothing.
    if (!missing.contains(kCounterTable))
        sql::exec(db, QStringLiteral("update %1 set 计数=计数+1").arg(kCounterTable));
    transaction.commit();
}

qint64 current(const QSqlDatabase &db)
{
    return sql::scalar(db, QStringLiteral("select 计数 from %1").arg(kCounterTable)).toLongLong();
}

}  // namespace change_counter
