#pragma once
// What tests ask of either engine where the engines' own SQL differs: a write refused by a
// trigger, and a column's values read as one text (SQLite's group_concat).

#include "db/dialect.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QtGlobal>

inline bool onPostgres(const QSqlDatabase &db) { return db.driver()->dbmsType() == QSqlDriver::PostgreSQL; }

inline void execOrDie(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery q(db);
    if (!q.exec(statement))
        qFatal("%s: %s", qPrintable(statement), qPrintable(q.lastError().text()));
}

// From now on every insert into `table` for which `condition` (on the new row, "new.") holds
// fails with `message`, until stopFailingInserts: a refused constraint, as SQLite's raise(abort)
// is. A work table is this connection's own.
inline void failInserts(const QSqlDatabase &db, const QString &table, const QString &message,
                        const QString &condition = QStringLiteral("true"))
{
    if (onPostgres(db)) {
        execOrDie(db, QString("create or replace function refuse_%1() returns trigger language plpgsql as $$ begin "
                              "if %2 then raise exception using errcode = 'check_violation', message = '%3'; end if; "
                              "return new; end $$").arg(table, condition, message));
        execOrDie(db, QString("create trigger refuse before insert on %1 for each row execute function refuse_%1()").arg(table));
    } else {
        execOrDie(db, QString("create temp trigger refuse before insert on %1 when %2 begin select raise(abort,'%3'); end")
                          .arg(table, condition, message));
    }
}

inline void stopFailingInserts(const QSqlDatabase &db, const QString &table)
{
    execOrDie(db, sql::dialect(db).dropTrigger("refuse", table));
}

// The first column of every row of `statement`, joined by `separator`.
inline QString joinedColumn(const QSqlDatabase &db, const QString &statement, const QString &separator = QStringLiteral(","))
{
    QSqlQuery q(db);
    if (!q.exec(statement))
        qFatal("%s: %s", qPrintable(statement), qPrintable(q.lastError().text()));
    QStringList values;
    while (q.next())
        values << q.value(0).toString();
    return values.join(separator);
}
