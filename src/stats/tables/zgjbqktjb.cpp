// 职工基本情况统计表: the breakdown of the basic analysis per department below "97" as of the
// cut-off, without shares but with the average age; the organisation's total row; then the
// women of the whole organisation ("其中：女") and the employees at each position level
// ("其中：" + the level's name) as of the cut-off.

#include "stats/basic_breakdown.h"
#include "stats/counting.h"

namespace stats::tables {
namespace {

QStringList statements(const TableDescription &t, const sql::Dialect &dialect)
{
    using namespace counting;
    // One pass over the snapshot, grouped finely enough for all three kinds of rows: by
    // department, by whether the employee is a woman, and by the level of the position in force
    // (placed: a position row in force whose code zwdmb knows).
    const QString rows = departmentRows(dialect, "case when w.职务编码 is null then 0 else 1 end as placed, w.职务级别 as zwjb",
                                        "left join p h on h.职工编码=s.职工编码 left join zwdmb w on w.职务编码=h.职务编码");
    const QString groups = QStringLiteral("with %3, g as (select e.dwbm, e.placed, e.zwjb, "
                                          "case when e.职工性别='女' then 1 else 0 end as woman, %1 "
                                          "from %2 e where e.dwbm<'97' group by e.dwbm, e.placed, e.zwjb, 4) ")
                               .arg(partialCounts(t.values), rows, snapshotTable(dialect, "p", "zwdtb", {"职务编码"}));
    return QStringList{
               "delete from " + t.name,
               groups
                   + QStringLiteral("insert into %1 (bz,dwbm,dwmc,%2) "
                                    // Departments (bz "2"), named.
                                    "select '2', g.dwbm, dwdmb.单位名称, %3 from g left join dwdmb on dwdmb.单位编码=g.dwbm "
                                    "group by g.dwbm, dwdmb.单位名称 "
                                    // All women: one row, a column nobody matched is 0, not empty.
                                    "union all select '4', '00', '其中：女', %4 from g where g.woman=1 "
                                    // Each position level: its head count counts history rows,
                                    // the others employees; no age sum.
                                    "union all select '5', g.zwjb, '其中：'||zwjbdmb.级别名称, %5 from g "
                                    "left join zwjbdmb on zwjbdmb.级别编码=g.zwjb where g.placed=1 "
                                    "group by g.zwjb, zwjbdmb.级别名称 "
                                    "order by 1, 2 nulls first")
                         .arg(t.name, valueList(t.values), rolledUp(t.values, Empty::WhenNone),
                              rolledUp(t.values, Empty::Zero), rolledUp(t.values, Empty::WhenNone, Averages::Left)),
               totalRow(t, QStringLiteral("dwmc")),
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
