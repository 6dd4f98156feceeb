#include "db/code_items.h"

#include "db/schema.h"
#include "db/sql.h"

namespace code_items {
namespace {

// The statement of the offered rows, with `extra` (already quoted) as a further condition.
QSqlQuery prepared(const QSqlDatabase &db, const QString &table, const Filter &filter, const QString &extra)
{
    const Columns c = columnsOf(table);
    const QString code = sql::quoteIdentifier(c.code);
    QStringList where;
    if (!filter.column.isEmpty())
        where << sql::quoteIdentifier(filter.column) + "=:filter";
    for (int i = 0; i < filter.except.size(); ++i)
        where << QStringLiteral("%1<>:except%2").arg(code).arg(i);
    if (!filter.before.isEmpty())
        where << code + "<:before";
    if (!extra.isEmpty())
        where << extra;
    QSqlQuery q = sql::prepare(db, QStringLiteral("select %1, %2 from %3%4 order by %5")
                                       .arg(code, sql::quoteIdentifier(c.name), sql::quoteIdentifier(table),
                                            where.isEmpty() ? QString() : " where " + where.join(" and "),
                                            filter.storedOrder ? QStringLiteral("rowid") : code));
    q.setForwardOnly(true);
    if (!filter.column.isEmpty())
        q.bindValue(":filter", filter.value);
    for (int i = 0; i < filter.except.size(); ++i)
        q.bindValue(QStringLiteral(":except%1").arg(i), filter.except[i]);
    if (!filter.before.isEmpty())
        q.bindValue(":before", filter.before);
    return q;
}

}  // namespace

Columns columnsOf(const QString &table)
{
    const schema::Table *t = schema::findTable(table);
    if (!t || t->columns.size() < 2)
        throw sql::Failure(QStringLiteral("不是代码表：%1").arg(table));
    return {t->columns[0].name, t->columns[1].name};
}

QList<Item> codeItems(const QSqlDatabase &db, const QString &table, const Filter &filter)
{
    QSqlQuery q = prepared(db, table, filter, {});
    sql::exec(q);
    QList<Item> items;
    while (q.next())
        items.append({q.value(0).toString(), q.value(1).toString()});
    return items;
}

bool offers(const QSqlDatabase &db, const QString &table, const QString &code, const Filter &filter)
{
    if (code.isEmpty())
        return false;
    QSqlQuery q = prepared(db, table, filter, sql::quoteIdentifier(columnsOf(table).code) + "=:code");
    q.bindValue(":code", code);
    sql::exec(q);
    return q.next();
}

QString referencedTable(const QString &table, const QString &column)
{
    if (const schema::Table *t = schema::findTable(table))
        for (const schema::Column &c : t->columns)
            if (c.name == column && !c.references.isEmpty())
                return c.references.left(c.references.indexOf('('));
    return {};
}

}  // namespace code_items
