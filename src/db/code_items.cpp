#include "db/code_items.h"

#include "db/sql.h"

namespace code_items {

QStringList read(const QSqlDatabase &db, const QString &statement, const QString &separator)
{
    QSqlQuery q = sql::prepare(db, statement);
    q.setForwardOnly(true);
    sql::exec(q);
    QStringList items;
    while (q.next())
        items << q.value(0).toString() + separator + q.value(1).toString();
    return items;
}

}  // namespace code_items
