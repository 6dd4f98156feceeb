#pragma once
// czrzb, the change log: every insert, update and delete of the register, the histories, the
// résumé, the records, pay and the code tables is written there by triggers in the file
// itself, with its time, its writer, the table, the row's key and the old and new values, so
// every writer is covered, this program's or not.
//
// Who wrote: a trigger cannot ask the program (no session variables, no function another
// program lacks), so the program marks its own write transactions: the one row of czbjb holds
// the operator from the start of each transaction until just before its commit, so no other
// connection ever sees it set (SQLite writers take turns). A write without the mark is
// another program's, logged as "外部程序". On a server the mark is a setting local to the
// transaction (the dialect's), and the log names the server user beside any writer that is not
// that user's operator, so another client is known by whom it connected as.

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <vector>

namespace change_log {

inline const QString kTable = QStringLiteral("czrzb");
inline const QString kMarkTable = QStringLiteral("czbjb");
inline const QString kOutsider = QStringLiteral("外部程序");

// A logged table: the column that names its row, and the employee the row belongs to (none
// for code tables). Columns not in the schema description (salary items) are amounts.
struct Logged {
    QString table;
    QString key;
    QString employee;
    QStringList hidden = {};  // logged as changed, never with their value (password hashes)
};
const std::vector<Logged> &loggedTables();

// Makes the mark row and the log triggers that are missing, on a file whose tables exist,
// inside the caller's transaction. Throws sql::Failure.
void create(const QSqlDatabase &db);
// create() in a transaction of its own, when anything is missing; writes nothing otherwise.
void ensure(const QSqlDatabase &db);
// A table's log triggers name its columns: they go before a column is dropped and are made
// again, from the table's columns then, after one is added or dropped. In the caller's transaction.
void dropTriggers(const QSqlDatabase &db, const QString &table);
void createTriggers(const QSqlDatabase &db, const QString &table);

// Connections opened by the program on a file with the log: their transactions are marked.
void attach(const QString &connectionName);
void detach(const QString &connectionName);
bool attached(const QSqlDatabase &db);
// Set at the start of a write transaction and cleared before its commit (Transaction does both).
void mark(const QSqlDatabase &db, const QString &writer);
void clearMark(const QSqlDatabase &db);

// Within a transaction: its writes are not logged row by row (a generated organisation, a
// restored file); the caller writes one summary entry instead.
void silence(const QSqlDatabase &db);
// One entry written by the program itself: `action` (生成, 恢复, 清除), what it concerns.
void writeSummary(const QSqlDatabase &db, const QString &table, const QString &action, const QString &text);

// The one entry of a restore, written into the restored file once it is opened afresh (a
// backup of an older version climbs first), in a transaction of its own. Throws sql::Failure.
void noteRestore(const QSqlDatabase &db, const QString &backupFile);

// Deletes the entries dated before `date`, which only a role with the upkeep right may do;
// the clearing is itself an entry. Returns how many went. Throws sql::Failure.
int clearBefore(const QSqlDatabase &db, const QDate &date);

// The entries a listing shows, newest first. Empty fields do not filter; the dates bound the
// entries' days, both included. Entries of tables the role may not read are never listed.
struct Filter {
    QString employee;
    QString writer;
    QString table;
    QDate from;
    QDate to;
};
inline const QStringList kColumns = {QStringLiteral("时间"), QStringLiteral("操作员"), QStringLiteral("表名"),
                                     QStringLiteral("主键"), QStringLiteral("职工编码"), QStringLiteral("操作"),
                                     QStringLiteral("旧值"), QStringLiteral("新值")};
// The statement with its values bound, ready to exec(). Throws sql::Failure.
QSqlQuery entries(const QSqlDatabase &db, const Filter &filter, const QString &role);
// The tables that have entries (those the role may read), and the writers, for a filter's choice.
QStringList tablesLogged(const QSqlDatabase &db, const QString &role);
QStringList writersLogged(const QSqlDatabase &db);

}  // namespace change_log
