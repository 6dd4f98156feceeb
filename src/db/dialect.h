#pragma once
// What differs between database engines, in one place: the feature folders write portable SQL
// and ask the connection's dialect for the rest. A connection's dialect follows its driver,
// so it is fixed when the connection opens; SQLite is the engine today.
//
// Portable means: named parameters, joins with "join … on", coalesce, window functions,
// "insert … on conflict (…) do update", the history rules of db/history.h, and the helper
// functions year(d), month(d), datediff(unit, a, b), val(text) and date() (db/sql_functions.h),
// which every dialect provides with the same meaning.

#include "db/history.h"
#include "db/schema.h"
#include "db/sql.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>

class QSqlDriver;

namespace sql {

class Dialect {
public:
    virtual ~Dialect() = default;

    // Data definition, generated from the schema description (db/schema.h).
    virtual QString columnDefinition(const schema::Column &column) const = 0;
    QString createTable(const schema::Table &table) const;
    // Made only when missing, so it may run on every open.
    QString createIndex(const QString &table, const schema::Index &index) const;
    // "alter table … add column …" with every row given `defaultValue` (SQL text; empty: none).
    QString addColumn(const QString &table, const schema::Column &column, const QString &defaultValue = {}) const;
    // A trigger, made only when missing, that runs `body` (statements each ending in ';'; new.
    // and old. name the row) after each `event` ("insert", "delete", "update of a, b") on
    // `table`, row by row. Some engines need more than one statement for it.
    virtual QStringList createTrigger(const QString &name, const QString &event, const QString &table,
                                      const QString &body) const = 0;

    // Writes a row or, when a row with the same `keyColumns` exists, sets its other columns:
    // binds value i of `columns` as ":p<i>" (sql::bindRow).
    QString upsert(const QString &table, const QStringList &columns, const QStringList &keyColumns) const;

    // The catalogue: the names of the tables and triggers, the columns of a table in order.
    virtual QStringList tableNames(const QSqlDatabase &db) const = 0;   // throw Failure
    virtual QStringList triggerNames(const QSqlDatabase &db) const = 0;
    virtual QStringList columnNames(const QSqlDatabase &db, const QString &table) const = 0;

    // The statement starting a transaction that writes: it takes the write lock at once, so a
    // concurrent writer makes it wait on the busy timeout instead of failing half-way.
    virtual QString beginWrite() const = 0;
    // The statement starting a transaction that only reads and sees one picture of the data
    // throughout (read_transaction.h), without keeping writers waiting.
    virtual QString beginRead() const;
    // Statements that make new rows of `table` number their `column` (an automatic number) after
    // the greatest one there, once rows were written with their numbers given (office_copy.h).
    virtual QStringList continueAutoIds(const QString &table, const QString &column) const;
    // Within a transaction: references are checked at commit, not statement by statement.
    virtual QString deferReferenceChecks() const = 0;

    // The condition that two values are the same, two nulls included.
    virtual QString sameValue(const QString &a, const QString &b) const;

    // What a refused statement means for the user.
    virtual Failure::Kind kindOf(const QSqlError &error) const = 0;

    // Joins the tables in the order given, with the join conditions in the where clause: the
    // first table drives. Only for statements whose speed rests on that order.
    virtual QString joinedInOrder(const QStringList &tables) const = 0;
    // The ISO date text (yyyy-MM-dd) of `month`/`day` in the year of an integer expression.
    virtual QString dayInYear(const QString &yearExpression, int month, int day) const = 0;
    // The value of `column` in the employee's row of `table` in force on the date (history rule
    // 2: of the rows dated on or before it, the greatest 自动编号), NULL when there is none.
    // Both arguments are expressions of the outer row, so each row is judged by its own date.
    virtual QString valueInForceOn(history::Table table, const QString &column, const QString &employeeExpression,
                                 const QString &dateExpression) const;
};

// The dialect of a connection or of a query's driver; throws Failure for an engine without one.
const Dialect &dialect(const QSqlDatabase &db);
const Dialect &dialect(const QSqlDriver *driver);

// The engines' own dialects.
const Dialect &sqliteDialect();

}  // namespace sql
