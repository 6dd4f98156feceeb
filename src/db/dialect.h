#pragma once
// What differs between database engines, in one place: the feature folders write portable SQL
// and ask the connection's dialect for the rest. A connection's dialect follows its driver,
// so it is fixed when the connection opens: SQLite for a file, PostgreSQL for a server.
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
#include <vector>

class QSqlDriver;

namespace sql {

class Dialect {
public:
    virtual ~Dialect() = default;

    // Data definition, generated from the schema description (db/schema.h).
    virtual QString columnDefinition(const schema::Column &column) const = 0;
    QString createTable(const schema::Table &table) const;
    // A column numbering the rows in insertion order under the name "rowid", for an engine
    // without one of its own; empty where the engine has it.
    virtual QString rowIdColumn(const schema::Table &) const { return {}; }
    // What follows "create table … (…)" for a table stored in the order of its primary key.
    virtual QString keyedStorage() const { return {}; }
    // A registered work table (schema::WorkTable) or another table a feature fills from the
    // register for one reader: `definitions` are column definitions. Where several clerks share
    // the database each connection has its own (a temporary table), so two rebuilds for
    // different dates never mix; `replace` drops the table first.
    virtual QStringList createWorkTable(const QString &name, const QStringList &definitions, bool replace) const;
    // Whether the registered work tables are made per connection (createWorkTable) rather than
    // once with the schema.
    virtual bool workTablesPerConnection() const { return false; }
    // Made only when missing, so it may run on every open.
    QString createIndex(const QString &table, const schema::Index &index) const;
    // "alter table … add column …" with every row given `defaultValue` (SQL text; empty: none).
    QString addColumn(const QString &table, const schema::Column &column, const QString &defaultValue = {}) const;
    // A trigger, made only when missing, that runs `body` (statements each ending in ';'; new.
    // and old. name the row) after each `event` ("insert", "delete", "update of a, b") on
    // `table`, row by row. Some engines need more than one statement for it.
    virtual QStringList createTrigger(const QString &name, const QString &event, const QString &table,
                                      const QString &body) const = 0;
    // The same for a `body` that reads no row: run once per statement where the engine can,
    // so a statement writing many rows runs it once (an engine without it: row by row).
    virtual QStringList createStatementTrigger(const QString &name, const QString &event, const QString &table,
                                               const QString &body) const
    {
        return createTrigger(name, event, table, body);
    }
    // Drops the trigger `name` of `table` when there is one.
    virtual QString dropTrigger(const QString &name, const QString &table) const;

    // Writes a row or, when a row with the same `keyColumns` exists, sets its other columns:
    // binds value i of `columns` as ":p<i>" (sql::bindRow).
    QString upsert(const QString &table, const QStringList &columns, const QStringList &keyColumns) const;

    // The catalogue: the names of the tables and triggers, the columns of a table in order.
    virtual QStringList tableNames(const QSqlDatabase &db) const = 0;   // throw Failure
    virtual QStringList triggerNames(const QSqlDatabase &db) const = 0;
    virtual QStringList columnNames(const QSqlDatabase &db, const QString &table) const = 0;

    // The statements starting a transaction that writes: they take the write lock at once, so a
    // concurrent writer makes it wait on the busy timeout instead of failing half-way.
    virtual QStringList beginWrite() const = 0;
    // The local time now as text "yyyy-MM-dd HH:mm:ss", for a trigger's entry (the change log):
    // the database's clock, as the writer may be any program.
    virtual QString localTimestamp() const { return QStringLiteral("to_char(localtimestamp, 'YYYY-MM-DD HH24:MI:SS')"); }

    // Who writes, for the change log's triggers (change_log.h): the statement marking a write
    // transaction with its writer (binds ":w"), the one ending the mark before its commit (empty
    // where the mark ends with the transaction), the one keeping the transaction's writes out
    // of the log, and the expressions a trigger reads them by. A file keeps the mark in a row;
    // a server in settings local to the transaction, and names the server user beside it.
    virtual QString markWriter() const;
    virtual QString clearWriter() const;
    virtual QString silenceWriter() const;
    virtual QString writerNow() const;
    virtual QString silenced() const;
    // Whether each operator connects as a user of the server whose rights are his role's
    // (server_roles.h).
    virtual bool serverUsers() const { return false; }

    // Within a transaction: references are checked at commit, not statement by statement.
    virtual QString deferReferenceChecks() const = 0;

    // The helper functions (year, month, datediff, val, date) made in the database itself, for an
    // engine whose connections cannot register them; empty otherwise. Made again (replaced) by
    // every init and upgrade.
    virtual QStringList createServerFunctions() const { return {}; }
    // What a new connection sets before use (timeouts, today's date for date()).
    virtual QStringList connectionSettings() const { return {}; }
    // Whether every row read is sent over a connection, which costs more than the engine's own
    // work for a row: a long list then asks the database for few rows where it can.
    virtual bool sendsRows() const { return false; }

    // The identity of the database: this program's mark and the schema version it is at.
    virtual QStringList markAsOurs(int version) const = 0;
    virtual QString setVersion(int version) const = 0;
    virtual bool markedAsOurs(const QSqlDatabase &db) const = 0;  // throw Failure
    virtual int version(const QSqlDatabase &db) const = 0;  // throw Failure

    // The statement starting a transaction that only reads and sees one picture of the data
    // throughout (read_transaction.h), without keeping writers waiting.
    virtual QString beginRead() const;
    // Statements that make new rows of `table` number their `column` (an automatic number) after
    // the greatest one there, once rows were written with their numbers given (office_copy.h).
    virtual QStringList continueAutoIds(const QString &table, const QString &column) const;

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
    // History rule 2 as a table: one row per employee with a row in force on the date, giving
    // 职工编码, that row's 自动编号 and the named `columns` of that row, the snapshot every
    // statistic counts from. `dateExpression` is a bound parameter or an expression of no row.
    virtual QString snapshotOn(history::Table table, const QString &dateExpression, const QStringList &columns) const;
};

// The dialect of a connection or of a query's driver; throws Failure for an engine without one.
const Dialect &dialect(const QSqlDatabase &db);
const Dialect &dialect(const QSqlDriver *driver);

// The engines' own dialects.
const Dialect &sqliteDialect();
const Dialect &postgresDialect();
// Every engine's, for what must hold whichever a database is on.
const std::vector<const Dialect *> &dialects();

}  // namespace sql
