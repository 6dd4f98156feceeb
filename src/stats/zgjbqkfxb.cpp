#include "stats/zgjbqkfxb.h"

#include "db/history.h"
#include "db/sql.h"
#include "db/transaction.h"
#include "stats/count_columns.h"

#include <QStringList>

namespace stats {

namespace {
const QString kOrganisation = QStringLiteral("汀岚分公司");
}

void rebuildZgjbqkfxb(const QSqlDatabase &db, const QDate &cutoff)
{
    // One snapshot (each employee's department row in force on the cut-off, once, with the
    // employee's columns), counted in one grouped statement. The head count counts
    // history rows; the other columns count employees found in zghmc, and a column nobody
    // matched stays empty rather than 0.
    QStringList columns{"zs"}, counts{"count(*)"}, sums{"sum(zs)"}, shares;
    for (const CountColumn &c : basicSituationColumns(cutoff)) {
        columns << c.name;
        // A missing employee makes the condition NULL: not counted. The filter skips the
        // aggregate step for the rows that do not match, most rows for most columns.
        counts << QString("nullif(count(*) filter (where %1),0)").arg(c.condition);
        sums << QString("sum(%1)").arg(c.name);
        shares << QString("%1zb=100.0*%1/zs").arg(c.name);
    }
    const QString departments = QString(
        "with s as (select 职工编码, 单位编码 from (%1) where 单位编码<'97'), "
        "e as (select s.单位编码, z.职工编码 as zgbm, z.职工性别, z.民族编码, z.文化程度, z.政治面貌, z.出生年月 "
        "      from s left join zghmc z on z.职工编码=s.职工编码) "
        "insert into zgjbqkfxb (bz,dwbm,dwmc,%2) "
        "select '2', e.单位编码, dwdmb.单位名称, %3 from e left join dwdmb on dwdmb.单位编码=e.单位编码 "
        "group by e.单位编码 order by e.单位编码")
        .arg(history::snapshotOn(history::Table::Department, ":d", {"单位编码"}), columns.join(','),
             counts.join(','));

    Transaction transaction(db);
    sql::exec(db, "delete from zgjbqkfxb");
    QSqlQuery insert = sql::prepare(db, departments);
    insert.bindValue(":d", sql::dateValue(cutoff));
    sql::exec(insert);
    QSqlQuery total = sql::prepare(db, QString("insert into zgjbqkfxb (bz,dwmc,%1) select '3',:name,%2 "
                                               "from zgjbqkfxb where bz='2'")
                                           .arg(columns.join(','), sums.join(',')));
    total.bindValue(":name", kOrganisation);
    sql::exec(total);
    sql::exec(db, QString("update zgjbqkfxb set %1 where zs<>0").arg(shares.join(',')));
    transaction.commit();
}

}  // namespace stats
