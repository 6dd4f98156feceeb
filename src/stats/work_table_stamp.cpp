#include "stats/work_table_stamp.h"

#include "db/change_counter.h"
#include "db/sql.h"

#include <QCryptographicHash>

namespace stats {
namespace {

const QString kStampTable = QStringLiteral("tjbztb");

}  // namespace

QString WorkTableStamp::fingerprintOf(const QStringList &statements)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(statements.join('\n').toUtf8(), QCryptographicHash::Sha256).toHex());
}

bool WorkTableStamp::isCurrent(const QSqlDatabase &db) const
{
    if (!sql::tableAndTriggerNames(db).contains(kStampTable))
        return false;
    QSqlQuery q = sql::prepare(db, QStringLiteral("select 条件, 计数, 语句 from %1 where 表名=:t").arg(kStampTable));
    q.bindValue(":t", table);
    sql::exec(q);
    return q.next() && q.value(0).toString() == inputs && q.value(1).toLongLong() == change_counter::current(db)
           && q.value(2).toString() == fingerprint;
}

void WorkTableStamp::record(const QSqlDatabase &db) const
{
    sql::exec(db, QStringLiteral("create table if not exists %1 (表名 TEXT PRIMARY KEY, 条件 TEXT, 计数 INTEGER, 语句 TEXT)")
                      .arg(kStampTable));
    QSqlQuery q = sql::prepare(db, QStringLiteral("insert or replace into %1 values (:t, :i, :c, :f)").arg(kStampTable));
    q.bindValue(":t", table);
    q.bindValue(":i", inputs);
    q.bindValue(":c", change_counter::current(db));
    q.bindValue(":f", fingerprint);
    sql::exec(q);
}

}  // namespace stats
