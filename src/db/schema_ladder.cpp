#include "db/schema_ladder.h"

#include "db/dialect.h"
#include "db/schema.h"
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

using Step = void (*)(const QSqlDatabase &);
// kSteps[i] climbs from version i + 1 to i + 2; a new version adds its step at the end.
constexpr Step kSteps[] = {upgradeToV2};
static_assert(std::size(kSteps) == schema::kSchemaVersion - 1, "one step for every version after the first");

}  // namespace

int version(const QSqlDatabase &db) { return sql::scalar(db, QStringLiteral("PRAGMA user_version")).toInt(); }

void climb(const QSqlDatabase &db)
{
    for (int to = 2; to <= schema::kSchemaVersion; ++to) {
        Transaction transaction(db);
        if (version(db) >= to)
            continue;
        kSteps[to - 2](db);
        sql::exec(db, QStringLiteral("PRAGMA user_version=%1").arg(to));
        transaction.commit();
    }
}

}  // namespace schema_ladder
