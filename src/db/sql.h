#pragma once
// Small helpers around QSqlQuery: statements that throw on failure (so a Transaction
// unwinds and rolls back), and the conversions of dates and money at the database edge.

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <stdexcept>

namespace sql {

// A statement the database refused; what() carries the database's own message.
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

QSqlQuery prepare(const QSqlDatabase &db, const QString &statement);
void exec(QSqlQuery &query);                                       // throws Failure
void exec(const QSqlDatabase &db, const QString &statement);       // one unparameterised statement
QVariant scalar(const QSqlDatabase &db, const QString &statement);  // first column of first row

// A row written from parallel lists of columns and values: the statement binds value i as
// ":p<i>" (bindRow), so one prepared statement serves many rows.
QSqlQuery prepareInsert(const QSqlDatabase &db, const QString &table, const QStringList &columns);
// "update table set column=:p<i>, … where keyColumn=:key"; bind ":key" besides the row.
QSqlQuery prepareUpdate(const QSqlDatabase &db, const QString &table, const QStringList &columns,
                        const QString &keyColumn);
void bindRow(QSqlQuery &query, const QVariantList &values);

// Dates are stored as ISO text; an invalid date is stored as NULL.
QVariant dateValue(const QDate &date);
QDate toDate(const QVariant &value);

// Double-quotes an identifier for use in statement text.
QString quoteIdentifier(const QString &identifier);

}  // namespace sql
