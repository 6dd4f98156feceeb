// 专业技术干部基本情况统计表: the employees holding a technical title (not "00") as of the
// cut-off, in departments below "97", per title, per technical category, per title level, the
// senior titles (levels "01" and "02") together and all titles together; and the
// division-level cadres (position level "07") whatever their title. Each row has the breakdown
// of the basic analysis and the average age.

#include "stats/basic_breakdown.h"
#include "stats/counting.h"

namespace stats::tables {
namespace {

QStringList statements(const TableDescription &t)
{
    using namespace counting;
    const QString table = t.name;
    const QString values = valueList(t.values);
    const QString sumsOfValues = sums(t.values);
    // Everyone counted joins zghmc, the head count included.
    const QString titled = departmentRows("h.职称编码 as zcbm", "join " + inForceSnapshot("zcdtb", {"职称编码"})
                                                                     + " h on h.职工编码=s.职工编码");
    return QStringList{
               "delete from " + table,
               // Titles (bz "6"), named, with their level and category.
               QStringLiteral("insert into %1 (bz,zcbm,zcmc,zcjb,zclb,%2) "
                              "select '6', e.zcbm, zcdmb.职称名称, zcdmb.职称级别, zcdmb.技术分类, %3 "
                              "from %4 e left join zcdmb on zcdmb.职称编码=e.zcbm "
                              "where e.zcbm<>'00' and e.dwbm<'97' and e.zgbm is not null "
                              "group by e.zcbm, zcdmb.职称名称, zcdmb.职称级别, zcdmb.技术分类 order by e.zcbm")
                   .arg(table, values, aggregates(t.values, Empty::WhenNone), titled),
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
               // One row over everyone: a column nobody matched is 0, not empty.
               QStringLiteral("insert into %1 (bz,zcmc,%2) select '2','处级干部',%3 from %4 e "
                              "where e.zwjb='07' and e.dwbm<'97' and e.zgbm is not null")
                   .arg(table, values, aggregates(t.values, Empty::Zero), positionedRows()),
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
