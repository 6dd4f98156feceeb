#include "records/employee_search.h"

#include "db/current_rows.h"
#include "db/dialect.h"
#include "db/history.h"
#include "db/sql.h"
#include "query/condition.h"

#include <QStringList>

namespace records {

windowed::Listing searchListing(const QSqlDatabase &db, ListBase base, const EmployeeSearch &search)
{
    using history::Table;
    using current_rows::joinCondition;
    const QString kept = QLatin1String(current_rows::kTable);
    QStringList where;
    windowed::Listing l;
    l.columns = QStringLiteral("zghmc.职工编码, zghmc.职工姓名");
    l.order = {QStringLiteral("zghmc.职工编码")};
    if (base != ListBase::AllEmployees) {
        // Each employee's current department row joined through his kept current rows, a lookup
        // by key rather than a subquery per row. With a department, its index gives that
        // department's rows in code order; without one, the employees are walked in code order.
        // Either way a window of rows is read without reading the whole history.
        if (search.department.isEmpty()) {
            l.from = "from " + sql::dialect(db).joinedInOrder({"zghmc", kept, "dwdtb"});
            where << kept + QStringLiteral(".职工编码=zghmc.职工编码");
        } else {
            l.from = "from " + sql::dialect(db).joinedInOrder({"dwdtb", kept, "zghmc"});
            where << QStringLiteral("dwdtb.单位编码=:dw") << kept + QStringLiteral(".职工编码=dwdtb.职工编码")
                  << QStringLiteral("zghmc.职工编码=dwdtb.职工编码");
            l.order = {QStringLiteral("dwdtb.职工编码")};
        }
        where << joinCondition(Table::Department);
    }
    if (base == ListBase::TechnicalCadres) {
        where << QStringLiteral("exists (select 1 from zcdtb where %1 and zcdtb.类别编码<>'00')").arg(joinCondition(Table::Title))
              << QStringLiteral("exists (select 1 from zwdtb where %1)").arg(joinCondition(Table::Position));
    }
    if (base == ListBase::AllEmployees) {
        l.from = QStringLiteral("from zghmc");
        if (!search.department.isEmpty())
            where << QStringLiteral("exists (select 1 from %1 join dwdtb on %2 where %1.职工编码=zghmc.职工编码 and dwdtb.单位编码=:dw)")
                         .arg(kept, joinCondition(Table::Department));
    }
    if (!search.codePrefix.isEmpty())
        where << QStringLiteral("zghmc.职工编码 like :code escape '\\'");
    if (!search.namePrefix.isEmpty())
        where << QStringLiteral("zghmc.职工姓名 like :name escape '\\'");
    l.where = where.join(" and ");
    if (!search.department.isEmpty())
        l.values.insert(":dw", search.department);
    if (!search.codePrefix.isEmpty())
        l.values.insert(":code", query::prefixPattern(search.codePrefix));
    if (!search.namePrefix.isEmpty())
        l.values.insert(":name", query::prefixPattern(search.namePrefix));
    return l;
}

QSqlQuery searchEmployees(const QSqlDatabase &db, ListBase base, const EmployeeSearch &search)
{
    return windowed::execute(db, searchListing(db, base, search));
}

}  // namespace records
