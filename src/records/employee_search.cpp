#include "records/employee_search.h"

#include "db/history.h"
#include "db/sql.h"
#include "query/condition.h"

#include <QStringList>

namespace records {

QSqlQuery searchEmployees(const QSqlDatabase &db, ListBase base, const EmployeeSearch &search)
{
    using history::Table;
    QStringList where;
    QString from;
    QString order = QStringLiteral("zghmc.职工编码");
    if (base != ListBase::AllEmployees) {
        // With a department, its index gives that department's rows in code order; without
        // one, the employees are walked in code order, each checked against his or her own
        // department rows. Either way the first rows come without reading the whole history.
        if (search.department.isEmpty()) {
            from = QStringLiteral("zghmc cross join dwdtb");
            where << QStringLiteral("dwdtb.职工编码=zghmc.职工编码");
        } else {
            from = QStringLiteral("dwdtb cross join zghmc");
            where << QStringLiteral("dwdtb.单位编码=:dw") << QStringLiteral("zghmc.职工编码=dwdtb.职工编码");
            order = QStringLiteral("dwdtb.单位编码, dwdtb.职工编码");
        }
        where << history::currentRowForRow(Table::Department, "zghmc.职工编码");
    }
    if (base == ListBase::TechnicalCadres) {
        where << QStringLiteral("exists (select 1 from zcdtb where zcdtb.职工编码=zghmc.职工编码 and zcdtb.类别编码<>'00' and %1)")
                     .arg(history::currentRowForRow(Table::Title, "zghmc.职工编码"))
              << QStringLiteral("exists (select 1 from zwdtb where zwdtb.职工编码=zghmc.职工编码 and %1)")
                     .arg(history::currentRowForRow(Table::Position, "zghmc.职工编码"));
    }
    if (base == ListBase::AllEmployees) {
        from = QStringLiteral("zghmc");
        if (!search.department.isEmpty())
            where << QStringLiteral("exists (select 1 from dwdtb where dwdtb.职工编码=zghmc.职工编码 and dwdtb.单位编码=:dw and %1)")
                         .arg(history::currentRowForRow(Table::Department, "zghmc.职工编码"));
    }
    if (!search.codePrefix.isEmpty())
        where << QStringLiteral("zghmc.职工编码 like :code escape '\\'");
    if (!search.namePrefix.isEmpty())
        where << QStringLiteral("zghmc.职工姓名 like :name escape '\\'");

    QSqlQuery q = sql::prepare(db, QStringLiteral("select zghmc.职工编码, zghmc.职工姓名 from %1%2 order by %3")
                                       .arg(from, where.isEmpty() ? QString() : " where " + where.join(" and "), order));
    if (!search.department.isEmpty())
        q.bindValue(":dw", search.department);
    if (!search.codePrefix.isEmpty())
        q.bindValue(":code", query::prefixPattern(search.codePrefix));
    if (!search.namePrefix.isEmpty())
        q.bindValue(":name", query::prefixPattern(search.namePrefix));
    sql::exec(q);
    return q;
}

}  // namespace records
