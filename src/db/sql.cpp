#include "db/sql.h"

#include <QSqlError>

namespace sql {

static QString describe(const QSqlQuery &query)
{
    const QSqlError e = query.lastError();
    QString text = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    return text.isEmpty() ? QStringLiteral("未知的数据库错误") : text;
}

QSqlQuery prepare(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery query(db);
    if (!query.prepare(statement))
        throw Failure(describe(query));
    return query;
}

void exec(QSqlQuery &query)
{
    if (!query.exec())
        throw Failure(describe(query));
}

void exec(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery query(db);
    if (!query.exec(statement))
        throw Failure(describe(query));
}

QVariant scalar(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(statement))
        throw Failure(describe(query));
    return query.next() ? query.value(0) : QVariant();
}

static QString parameter(int i) { return QStringLiteral(":p%1").arg(i); }

QSqlQuery prepareInsert(const QSqlDatabase &db, const QString &table, const QStringList &columns)
{
    QStringList quoted, params;
    for (int i = 0; i < columns.size(); ++i) {
        quoted << quoteIdentifier(columns[i]);
        params << parameter(i);
    }
    return prepare(db, QStringLiteral("insert into %1 (%2) values (%3)")
                           .arg(quoteIdentifier(table), quoted.join(','), params.join(',')));
}

QSqlQuery prepareUpdate(const QSqlDatabase &db, const QString &table, const QStringList &columns,
                        const QString &keyColumn)
{
    QStringList assignments;
    for (int i = 0; i < columns.size(); ++i)
        assignments << quoteIdentifier(columns[i]) + '=' + parameter(i);
    return prepare(db, QStringLiteral("update %1 set %2 where %3=:key")
                           .arg(quoteIdentifier(table), assignments.join(','), quoteIdentifier(keyColumn)));
}

void bindRow(QSqlQuery &query, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(parameter(i), values[i]);
}

QVariant dateValue(const QDate &date)
{
    return date.isValid() ? QVariant(date.toString(Qt::ISODate)) : QVariant();
}

QDate toDate(const QVariant &value)
{
    return value.isNull() ? QDate() : QDate::fromString(value.toString().left(10), Qt::ISODate);
}

QString quoteIdentifier(const QString &identifier)
{
    return '"' + QString(identifier).replace('"', QStringLiteral("\"\"")) + '"';
}

}  // namespace sql
