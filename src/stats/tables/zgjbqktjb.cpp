// 职工基本情况统计表: the breakdown of the basic analysis per department below "97" as of the
// cut-off, without shares but with the average age; the organisation's total row; then the
// women of the whole organisation ("其中：女") and the employees at each position level
// ("其中：" + the level's name) as of the cut-off.

#include "stats/basic_breakdown.h"
#include "stats/counting.h"

namespace stats::tables {
namespace {

QStringList statements(const TableDescription &t)
{
    using namespace counting;
    const QString values = valueList(t.values);
    return perDepartment(t)
           + QStringList{
               // One row over all women: a column nobody matched is 0, not empty.
               QStringLiteral("insert into %1 (bz,dwbm,dwmc,%2) select '4','00','其中：女',%3 from %4 e "
                              "where e.职工性别='女' and e.dwbm<'97'")
                   .arg(t.name, values, aggregates(t.values, Empty::Zero), departmentRows()),
               // The head count of a level counts history rows, the others employees; no age sum.
               QStringLiteral("insert into %1 (bz,dwbm,dwmc,%2) select '5', e.zwjb, '其中：'||zwjbdmb.级别名称, %3 "
                              "from %4 e left join zwjbdmb on zwjbdmb.级别编码=e.zwjb where e.dwbm<'97' "
                              "group by e.zwjb, zwjbdmb.级别名称 order by e.zwjb nulls first")
                   .arg(t.name, valueList(t.values, Averages::Left),
                        aggregates(t.values, Empty::WhenNone, Averages::Left), positionedRows()),
           }
           + finishing(t);
}

}  // namespace

const TableDescription &zgjbqktjb()
{
    static const TableDescription table = [] {
        TableDescription t = breakdown::departmentTable("zgjbqktjb", "Tfrmzgjbqktjb", "职工基本情况统计表", "统计表");
        t.values = breakdown::full(breakdown::Average::With);
        t.groups = breakdown::groups("学历", "政治情况", "年龄情况");
        t.charts = breakdown::charts("学历图示", "年龄情况图示");
        t.reports = {{"Trepzgjbqktjb", "职工基本情况统计表", {}, true, 3}};
        t.statements = statements;
        return t;
    }();
    return table;
}

}  // namespace stats::tables
