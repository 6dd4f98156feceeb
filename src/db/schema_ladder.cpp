#include "db/schema_ladder.h"

#include "db/change_log.h"
#include "db/current_rows.h"
#include "db/dialect.h"
#include "db/pay_departments.h"
#include "db/schema.h"
#include "db/server_roles.h"
#include "db/sql.h"
#include "db/transaction.h"

#include <iterator>

namespace schema_ladder {
namespace {

// Version 2: writes are counted per table (a row each) instead of all in one row, so a write
// touches only its own table's count. Version 1's triggers and its one-row table go; the new
// counts start from nothing (so every statistics table is built again once), and their rows
// and triggers are made as on every opening (change_counter::ensure).
void upgradeToV2(const QSqlDatabase &db)
{
    for (const QString &name : sql::dialect(db).triggerNames(db))
        if (name.startsWith(QStringLiteral("bgjs_")))
            sql::exec(db, QStringLiteral("drop trigger %1").arg(sql::quoteIdentifier(name)));
    sql::exec(db, QStringLiteral("drop table if exists bgjsb"));
    sql::exec(db, QStringLiteral("create table bgjsb (表名 TEXT PRIMARY KEY, 计数 INTEGER NOT NULL)"));
}

// Version 3: every operator has a role, the ones there are 系统管理员 (they could do
// everything before); the change log and its writer's mark start empty, and its triggers are
// made as on every opening (change_log::ensure).
void upgradeToV3(const QSqlDatabase &db)
{
    const sql::Dialect &dialect = sql::dialect(db);
    sql::exec(db, dialect.addColumn(QStringLiteral("czydmb"), schema::kOperatorRole, QStringLiteral("'系统管理员'")));
    for (const QString name : {"czrzb", "czbjb"}) {
        const schema::Table &table = *schema::findTable(name);
        sql::exec(db, dialect.createTable(table));
        for (const schema::Index &index : table.indexes)
            sql::exec(db, dialect.createIndex(table.name, index));
    }
}

// Version 4: each pay row carries the department in force on its month's first day; the
// column is filled, and its triggers made, as on every opening (pay_departments::ensure).
void upgradeToV4(const QSqlDatabase &db)
{
    const schema::Table *wages = schema::findTable(QStringLiteral("gzb"));
    const schema::Column *department = nullptr;
    for (const schema::Column &c : wages->columns)
        if (c.name == pay_departments::kColumn)
            department = &c;
    for (const QString &t : pay_departments::tables())
        if (!sql::dialect(db).columnNames(db, t).contains(pay_departments::kColumn))
            sql::exec(db, sql::dialect(db).addColumn(t, *department));
}

// Version 5: on a server, the roles are groups of the server with their grants and every
// operator a user there (server_roles.h), and the log's triggers name the writer from the
// transaction's setting; a file has nothing to change.
void upgradeToV5(const QSqlDatabase &db)
{
    if (!server_roles::kept(db))
        return;
    for (const change_log::Logged &logged : change_log::loggedTables()) {
        change_log::dropTriggers(db, logged.table);
        change_log::createTriggers(db, logged.table);
    }
    server_roles::create(db);
}

// Version 6: the current rows' triggers lock the employee's row before they count his history
// again, so that two writers side by side (a server) do not lose a row; the old triggers go and
// are made anew, the table filled afresh, as on every opening (current_rows::ensure).
void upgradeToV6(const QSqlDatabase &db) { current_rows::dropTriggers(db); }

using Step = void (*)(const QSqlDatabase &);
// kSteps[i] climbs from version i + 1 to i + 2; a new version adds its step at the end.
constexpr Step kSteps[] = {upgradeToV2, upgradeToV3, upgradeToV4, upgradeToV5, upgradeToV6};
static_assert(std::size(kSteps) == schema::kSchemaVersion - 1, "one step for every version after the first");

}  // namespace

int version(const QSqlDatabase &db) { return sql::dialect(db).version(db); }

void climb(const QSqlDatabase &db)
{
    for (int to = 2; to <= schema::kSchemaVersion; ++to) {
        Transaction transaction(db);
        if (version(db) >= to)
            continue;
        kSteps[to - 2](db);
        sql::exec(db, sql::dialect(db).setVersion(to));
        transaction.commit();
    }
}

}  // namespace schema_ladder
