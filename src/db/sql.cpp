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
