#include "stats/work_table_stamp.h"

#include "db/change_counter.h"
#include "db/dialect.h"
#include "db/schema.h"
#include "db/sql.h"

#include <QCryptographicHash>
#include <stdexcept>

namespace stats {
namespace {

const QString kStampTable = QStringLiteral("tjbztb");

// The counts of the tables the work table reads, as registered with the schema.
QString countsRead(const QSqlDatabase &db, const QString &table)
{
    for (const schema::WorkTable &w : schema::workTables())
        if (w.table.name == table)
            return change_counter::counts(db, w.reads);
    throw std::logic_error(("work table not registered: " + table).toStdString());
}

}  // namespace

QString WorkTableStamp::fingerprintOf(const QStringList &statements)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(statements.join('\n').toUtf8(), QCryptographicHash::Sha256).toHex());
}

bool WorkTableStamp::isCurrent(const QSqlDatabase &db) const
{
    if (!sql::dialect(db).tableNames(db).contains(kStampTable))
        return false;
    QSqlQuery q = sql::prepare(db, QStringLiteral("select 条件, 计数, 语句 from %1 where 表名=:t").arg(kStampTable));
    q.bindValue(":t", table);
    sql::exec(q);
    return q.next() && q.value(0).toString() == inputs && q.value(1).toString() == countsRead(db, table)
           && q.value(2).toString() == fingerprint;
}

void WorkTableStamp::record(const QSqlDatabase &db) const
{
    sql::exec(db, QStringLiteral("create table if not exists %1 (表名 TEXT PRIMARY KEY, 条件 TEXT, 计数 TEXT, 语句 TEXT)")
                      .arg(kStampTable));
    QSqlQuery q = sql::prepare(db, sql::dialect(db).upsert(kStampTable, {"表名", "条件", "计数", "语句"}, {"表名"}));
    sql::bindRow(q, {table, inputs, countsRead(db, table), fingerprint});
    sql::exec(q);
}

}  // namespace stats
