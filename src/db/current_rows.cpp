#include "db/current_rows.h"

#include "db/dialect.h"
#include "db/sql.h"
#include "db/transaction.h"

namespace current_rows {
namespace {

using history::Table;

const Table kHistories[] = {Table::Department, Table::Position, Table::Title, Table::SkillGrade, Table::GradeSalary};
const char *const kEvents[] = {"insert", "delete", "update"};

QString triggerName(Table table, const char *event)
{
    return QStringLiteral("dqdt_%1_%2").arg(history::tableName(table), QLatin1String(event));
}

// Sets the employee's current row of `table` from the history itself. The employee's row is
// locked by a first statement: where writers run side by side (a server), one writing a new
// history row of the employee holds it until he commits, and only a statement begun after the
// wait reads his row; counted by the waiting statement itself, the max would miss it.
QString recount(Table table, const QString &employee)
{
    const QString t = history::tableName(table);
    const QString c = sql::quoteIdentifier(t);
    return QStringLiteral("update %1 set %2=%2 where 职工编码=%4;"
                          "update %1 set %2=(select max(自动编号) from %3 where 职工编码=%4) where 职工编码=%4;")
        .arg(QLatin1String(kTable), c, t, employee);
}

QString dropIfEmpty(const QString &employee)
{
    QStringList empty;
    for (Table t : kHistories)
        empty << sql::quoteIdentifier(history::tableName(t)) + " is null";
    return QStringLiteral("delete from %1 where 职工编码=%2 and %3;").arg(QLatin1String(kTable), employee, empty.join(" and "));
}

QString addEmployee(const QString &employee)
{
    return QStringLiteral("insert into %1(职工编码) values (%2) on conflict(职工编码) do nothing;")
        .arg(QLatin1String(kTable), employee);
}

QStringList triggers(const sql::Dialect &dialect, Table table)
{
    const QString t = history::tableName(table);
    const QString c = sql::quoteIdentifier(t);
    const auto create = [&](const char *event, const QString &when, const QString &body) {
        return dialect.createTrigger(triggerName(table, event), when, t, body);
    };
    return
        // The row was the greatest before, so the greater of it and the new one is the greatest now
        // (an insert with an explicit smaller 自动编号 included).
        create("insert", "insert",
               QStringLiteral("insert into %1(职工编码, %2) values (new.职工编码, new.自动编号) "
                              "on conflict(职工编码) do update set %2=case when %1.%2>new.自动编号 then %1.%2 else new.自动编号 end;")
                   .arg(QLatin1String(kTable), c))
        + create("delete", "delete", recount(table, "old.职工编码") + dropIfEmpty("old.职工编码"))
        + create("update", "update of 职工编码, 自动编号",
                 addEmployee("new.职工编码") + recount(table, "new.职工编码") + recount(table, "old.职工编码")
                     + dropIfEmpty("old.职工编码"));
}

}  // namespace

QString column(Table table) { return sql::quoteIdentifier(history::tableName(table)); }

QString joinCondition(Table table)
{
    return history::tableName(table) + QStringLiteral(".自动编号=") + QLatin1String(kTable) + '.' + column(table);
}

QStringList createStatements(const sql::Dialect &dialect)
{
    QStringList columns, employees, fills;
    for (Table t : kHistories) {
        const QString name = history::tableName(t);
        columns << column(t) + " INTEGER";
        employees << "select 职工编码 from " + name;
        fills << QStringLiteral("(select max(自动编号) from %1 where 职工编码=e.职工编码)").arg(name);
    }
    QStringList statements = {
        QStringLiteral("create table if not exists %1 (职工编码 TEXT NOT NULL PRIMARY KEY, %2)%3")
            .arg(QLatin1String(kTable), columns.join(", "), dialect.keyedStorage()),
        QStringLiteral("insert into %1 select e.职工编码, %2 from (%3) e where true on conflict(职工编码) do nothing")
            .arg(QLatin1String(kTable), fills.join(", "), employees.join(" union "))};
    for (Table t : kHistories)
        statements << triggers(dialect, t);
    return statements;
}

void dropTriggers(const QSqlDatabase &db)
{
    const QStringList present = sql::dialect(db).triggerNames(db);
    for (Table t : kHistories)
        for (const char *event : kEvents)
            if (present.contains(triggerName(t, event)))
                sql::exec(db, sql::dialect(db).dropTrigger(triggerName(t, event), history::tableName(t)));
}

void ensure(const QSqlDatabase &db)
{
    QStringList names = {QLatin1String(kTable)};
    for (Table t : kHistories)
        for (const char *event : kEvents)
            names << triggerName(t, event);
    if (sql::missingTablesAndTriggers(db, names).isEmpty())
        return;
    // Without every trigger the table may have missed writes: it is filled afresh.
    Transaction transaction(db);
    sql::exec(db, QStringLiteral("drop table if exists %1").arg(QLatin1String(kTable)));
    for (const QString &statement : createStatements(sql::dialect(db)))
        sql::exec(db, statement);
    transaction.commit();
}

}  // namespace current_rows
