#include "records/personnel_query.h"

#include "db/sql.h"

namespace records {

namespace {
const QString kColumns = QStringLiteral(
    "zghmc.职工编码, zghmc.职工姓名, dwdmb.单位名称, zwdmb.职务名称, gwjnlbb.类别名称, gwjndmb.档次名称, zcdmb.职称名称");
}

QString personnelRecordBase() { return "select " + kColumns + ' ' + query::currentRowsFromWhere(); }

windowed::Listing personnelRecordListing(const query::Condition &condition)
{
    return query::currentRowsListing(kColumns, condition);
}

const std::vector<query::ListColumn> &personnelRecordColumns()
{
    static const std::vector<query::ListColumn> columns = {
        {"职工编码", "职工编码"}, {"职工姓名", "职工姓名"},   {"单位名称", "单位名称"},
        {"职务名称", "现任职务"}, {"类别名称", "岗位类别"},   {"档次名称", "等级（职务）档次"},
        {"职称名称", "职称名称"},
    };
    return columns;
}

QSqlQuery personnelRecordQuery(const QSqlDatabase &db, const query::Condition &condition)
{
    return query::withCondition(db, personnelRecordBase(), condition);
}

std::optional<QString> employeeName(const QSqlDatabase &db, const QString &code)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select 职工姓名 from zghmc where 职工编码=:zgbm"));
    q.bindValue(":zgbm", code);
    sql::exec(q);
    if (!q.next())
        return std::nullopt;
    return q.value(0).toString();
}

}  // namespace records
