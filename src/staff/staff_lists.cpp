#include "staff/staff_lists.h"

#include "db/history.h"
#include "db/sql.h"

namespace staff {

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
