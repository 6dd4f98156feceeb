#pragma once
// Small helpers around QSqlQuery: statements that throw on failure (so a Transaction
// unwinds and rolls back), and the conversions of dates and money at the database edge.

#include <QDate>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <stdexcept>

namespace sql {

// A statement the database refused, or a refusal of the program's own; what() carries the
// database's own message or the program's sentence. The kind, read by the connection's dialect
// from the engine's error code, says what the user is told: only a constraint (a duplicate,
// empty or still-used code, a value the column refuses) is the screen's own refusal text; a
// busy database, a full disk and a damaged file are said as such; the program's own refusal
// says its sentence, and so does a write the operator's role may not make; anything else is a database error whose own words are no sentence for
// the person.
class Failure : public std::runtime_error {
public:
    // Stale: the row changed or went since the screen read it (another operator saved first).
    // Lost: the server ended the connection or cannot be reached any more.
    enum class Kind { Constraint, Busy, FullOrReadOnly, Damaged, Refused, Denied, Stale, Lost, Other };

    explicit Failure(const QString &message, Kind kind = Kind::Other)
        : std::runtime_error(message.toStdString()), kind_(kind) {}
    QString message() const { return QString::fromStdString(what()); }
    Kind kind() const { return kind_; }
    // The Chinese sentence of the kind: `refusal` for a constraint, the program's own sentence
    // for a refusal, otherwise what happened; in every case nothing was written.
    QString explain(const QString &refusal) const;

private:
    Kind kind_;
};

inline const QString kBusyMessage = QStringLiteral("数据库正被另一程序使用，请稍后再试。");
inline const QString kFullMessage = QStringLiteral("磁盘已满或数据库只读，未保存。");
inline const QString kDamagedMessage = QStringLiteral("数据库文件已损坏，无法读写。请用“数据备份与恢复”从最近的备份恢复。");
inline const QString kDatabaseErrorMessage = QStringLiteral("数据库错误，未保存。");
// A write the operator's role may not make, refused by the program or by the server.
inline const QString kDeniedMessage = QStringLiteral("您没有此项操作的权限。");
// The connection to the server is gone; no statement on it can succeed again.
inline const QString kLostMessage = QStringLiteral("与数据库服务器的连接已断开，请重新启动程序。");
inline const QString kStaleMessage = QStringLiteral("该记录已被其他操作员修改，请重新读取后再改。");
// The failure of a save that found its row no longer as read: nothing was written.
Failure staleRow();

QSqlQuery prepare(const QSqlDatabase &db, const QString &statement);
void exec(QSqlQuery &query);                                       // throws Failure
void exec(const QSqlDatabase &db, const QString &statement);       // one unparameterised statement
QVariant scalar(const QSqlDatabase &db, const QString &statement);  // first column of first row

// A cell as the lists show it: an empty one is no value (a server's driver gives an empty
// number as a number, which would show and sort as 0).
QVariant cell(const QSqlQuery &query, int column);
// The names of the file's tables and triggers.
QSet<QString> tableAndTriggerNames(const QSqlDatabase &db);
// Those of `names` that are neither a table nor a trigger of the file.
QStringList missingTablesAndTriggers(const QSqlDatabase &db, const QStringList &names);

// A row written from parallel lists of columns and values: the statement binds value i as
// ":p<i>" (bindRow), so one prepared statement serves many rows.
QSqlQuery prepareInsert(const QSqlDatabase &db, const QString &table, const QStringList &columns);
// "update table set column=:p<i>, … where keyColumn=:key"; bind ":key" besides the row.
// With `asRead` columns the update also requires each of them to hold, null included, the
// value bound as ":o<i>" (bindAsRead): the row as the screen read it.
QSqlQuery prepareUpdate(const QSqlDatabase &db, const QString &table, const QStringList &columns,
                        const QString &keyColumn, const QStringList &asRead = {});
void bindAsRead(QSqlQuery &query, const QVariantList &values);
void bindRow(QSqlQuery &query, const QVariantList &values);

// Dates are stored as ISO text; an invalid date is stored as NULL.
QVariant dateValue(const QDate &date);
QDate toDate(const QVariant &value);

// Double-quotes an identifier built from data (a salary item, an attendance kind, a table or
// column name) for use in statement text: every such identifier goes through here. A name
// that cannot be quoted safely (empty, or holding NUL, which ends a statement's text) is
// refused with a Failure of kind Constraint.
QString quoteIdentifier(const QString &identifier);
// Whether quoteIdentifier takes the name.
bool quotableIdentifier(const QString &identifier);

}  // namespace sql
