// 专业技术干部基本情况统计表: the employees holding a technical title (not "00") as of the
// cut-off, in departments below "97", per title, per technical category, per title level, the
// senior titles (levels "01" and "02") together and all titles together; and the
// division-level cadres (position level "07") whatever their title. Each row has the breakdown
// of the basic analysis and the average age.

#include "stats/basic_breakdown.h"
#include "stats/counting.h"

namespace stats::tables {
namespace {

QStringList statements(const TableDescription &t, const sql::Dialect &dialect)
{
    using namespace counting;
    const QString table = t.name;
    const QString values = valueList(t.values);
    const QString sumsOfValues = sums(t.values);
    // One pass over the snapshot of everyone counted (in a department below "97" and in
    // zghmc, the head count included), grouped by the title in force and by whether the
    // position in force is of level "07".
    const QString rows = departmentRows(dialect, "h.职称编码 as zcbm, case when w.职务级别='07' then 1 else 0 end as division",
                                        "left join t h on h.职工编码=s.职工编码 left join p on p.职工编码=s.职工编码 "
                                        "left join zwdmb w on w.职务编码=p.职务编码");
    const QString groups = QStringLiteral("with %3, %4, g as (select e.zcbm, e.division, %1 from %2 e "
                                          "where e.dwbm<'97' and e.zgbm is not null group by e.zcbm, e.division) ")
                               .arg(partialCounts(t.values), rows, snapshotTable(dialect, "t", "zcdtb", {"职称编码"}),
                                    snapshotTable(dialect, "p", "zwdtb", {"职务编码"}));
    return QStringList{
               "delete from " + table,
               groups
                   + QStringLiteral("insert into %1 (bz,zcbm,zcmc,zcjb,zclb,%2) "
                                    // Titles (bz "6"), named, with their level and category.
                                    "select '6', g.zcbm, zcdmb.职称名称, zcdmb.职称级别, zcdmb.技术分类, %3 "
                                    "from g left join zcdmb on zcdmb.职称编码=g.zcbm where g.zcbm<>'00' "
                                    "group by g.zcbm, zcdmb.职称名称, zcdmb.职称级别, zcdmb.技术分类 "
                                    // The division-level cadres whatever their title: one row,
                                    // a column nobody matched is 0, not empty.
                                    "union all select '2', null, '处级干部', null, null, %4 from g where g.division=1 "
                                    "order by 1, 2 nulls first")
                         .arg(table, values, rolledUp(t.values, Empty::WhenNone), rolledUp(t.values, Empty::Zero)),
               // Categories (bz "5") "01、工程技术" and levels (bz "4") from the title rows.
               QStringLiteral("insert into %1 (bz,zclb,zcmc,%2) "
                              "select '5', r.zclb, jslbdmb.类别编码||'、'||jslbdmb.类别名称, %3 "
                              "from %1 r left join jslbdmb on jslbdmb.类别编码=r.zclb where r.bz='6' "
                              "group by r.zclb, jslbdmb.类别编码, jslbdmb.类别名称 order by r.zclb nulls first")
                   .arg(table, values, sumsOfValues),
               QStringLiteral("insert into %1 (bz,zcjb,zcmc,%2) "
                              "select '4', r.zcjb, zcjbdmb.级别名称, %3 "
                              "from %1 r left join zcjbdmb on zcjbdmb.级别编码=r.zcjb where r.bz='6' "
                              "group by r.zcjb, zcjbdmb.级别名称 order by r.zcjb nulls first")
                   .arg(table, values, sumsOfValues),
               QStringLiteral("insert into %1 (bz,zcjb,zcmc,%2) select '3','00','高级职务',%3 "
                              "from %1 where bz='4' and (zcjb='01' or zcjb='02')")
                   .arg(table, values, sumsOfValues),
               QStringLiteral("insert into %1 (bz,zcjb,zcmc,%2) select '1','0','总计',%3 from %1 where bz='6'")
                   .arg(table, values, sumsOfValues),
           }
           + finishing(t);
}

}  // namespace

const TableDescription &zyjsgbqktjb()
{
    static const TableDescription table = [] {
        TableDescription t;
        t.name = "zyjsgbqktjb";
        t.screenClass = "Tfrmzyjsgbqktjb";
        t.titleBar = "  职工花名册 >>专业技术干部基本情况统计表";
        t.gridLabel = "分析表";
        t.keys = {"zcbm", "zcmc", "zcjb", "zclb"};
        t.nameColumn = "zcmc";
        t.nameTitle = "技术职称";
        t.nameHeading = "技术职务";
        t.values = breakdown::full(breakdown::Average::With);
        // 总计, 处级干部, 高级职务, the levels, then each category followed by its titles.
        t.gridOrder = "zclb nulls first, bz, zcjb nulls first, rowid";
        t.groups = breakdown::groups("学历", "政治情况", "年龄情况");
        t.charts = breakdown::charts("学历情况图示", "年龄图示");
        t.reports = {{"Trepzyjsgbqktjb", "专业技术干部基本情况统计表", {}, true, 3}};
        t.statements = statements;
        return t;
    }();
    return table;
}

}  // namespace stats::tables
