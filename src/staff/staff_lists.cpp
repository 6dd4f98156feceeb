#include "staff/staff_lists.h"

#include "db/history.h"
#include "db/sql.h"

namespace staff {
namespace {

QSqlQuery lookupQuery(const QSqlDatabase &db, const Lookup &lookup, const QString &extraCondition,
                      const QString &filterValue)
{
    QStringList conditions;
    if (!lookup.filterColumn.isEmpty())
        conditions << sql::quoteIdentifier(lookup.filterColumn) + "=:filter";
    if (!extraCondition.isEmpty())
        conditions << extraCondition;
    QSqlQuery q = sql::prepare(db, QStringLiteral("select %1, %2 from %3%4 order by %1")
                                       .arg(sql::quoteIdentifier(lookup.key), sql::quoteIdentifier(lookup.shown),
                                            sql::quoteIdentifier(lookup.table),
                                            conditions.isEmpty() ? QString() : " where " + conditions.join(" and ")));
    q.setForwardOnly(true);
    if (!lookup.filterColumn.isEmpty())
        q.bindValue(":filter", filterValue);
    return q;
}

}  // namespace

QList<CodeItem> lookupItems(const QSqlDatabase &db, const Lookup &lookup, const QString &filterValue)
{
    QSqlQuery q = lookupQuery(db, lookup, {}, filterValue);
    sql::exec(q);
    QList<CodeItem> items;
    while (q.next())
        items.append({q.value(0).toString(), q.value(1).toString()});
    return items;
}

bool lookupOffers(const QSqlDatabase &db, const Lookup &lookup, const QString &code, const QString &filterValue)
{
    if (code.isEmpty())
        return false;
    QSqlQuery q = lookupQuery(db, lookup, sql::quoteIdentifier(lookup.key) + "=:code", filterValue);
    q.bindValue(":code", code);
    sql::exec(q);
    return q.next();
}

QSqlQuery departments(const QSqlDatabase &db)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select 单位编码, 单位名称 from dwdmb order by 单位编码"));
    sql::exec(q);
    return q;
}

QSqlQuery departmentEmployees(const QSqlDatabase &db, const QString &department)
{
    QSqlQuery q = sql::prepare(
        db, "select zghmc.职工编码, zghmc.职工姓名 from dwdtb join zghmc on zghmc.职工编码=dwdtb.职工编码 "
            "where dwdtb.单位编码=:dw and "
            + history::currentRowForRow(history::Table::Department, "dwdtb.职工编码")
            + " order by dwdtb.单位编码, dwdtb.职工编码");
    q.bindValue(":dw", department);
    sql::exec(q);
    return q;
}

}  // namespace staff
