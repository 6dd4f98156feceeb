// 党员基本情况统计表: the party members (political status "01") per department as of the
// cut-off, leaving out only department "99": women, minorities, those on duty (department
// below "97"), when they joined the party, education in eight levels, age in eight bands (two
// of them overlapping the others) and the average age; then the organisation's total row.

#include "stats/basic_breakdown.h"
#include "stats/counting.h"

namespace stats::tables {

const TableDescription &dyjbqktjb()
{
    static const TableDescription table = [] {
        using counting::yearsAtLeast;
        using counting::yearsAtMost;
        using counting::yearsOver;
        const QString age = "出生年月";
        TableDescription t = breakdown::departmentTable("dyjbqktjb", "Tfrmdyjbqktjb", "党员基本情况统计表", "统计表");
        const auto add = [&t](const std::vector<ValueColumn> &values) {
            t.values.insert(t.values.end(), values.begin(), values.end());
        };
        add({breakdown::headCount()});
        add(breakdown::pick({"nv", "ssmz"}));
        add({
            {"zg", "在岗", "在 岗", "dwbm<'97'"},
            {"d1", "1966.5-1976.10", "1966年 5月至 1976年  10月", "入党时间<'1976-11-01' and 入党时间>='1966-05-01'",
             "1966年5月-1976年10月"},
            {"d2", "1976.11-1992.9", "1976年 11月至 1992年  9月", "入党时间>='1976-11-01' and 入党时间<'1992-10-01'",
             "1976年11月-1992年9月"},
            {"d3", "1992.10以后", "1992年 10月 以 后", "入党时间>='1992-10-01'", "1992年以后"},
        });
        add(breakdown::pick({"bs", "ss", "bk", "dz"}));
        add({
            {"zz", "中专", "中 专", "文化程度='05'", "中专"},
            {"gz", "高中", "高 中", "文化程度='06'", "高中"},
            {"cz", "初中", "初 中", "文化程度='07'", "初中"},
            {"xx", "小学", "小 学", "文化程度='08'", "小学"},
        });
        add(breakdown::pick({"l25"}));
        // The six consecutive bands are charted with their grid titles; 35-40 and 50-55 overlap them.
        add({
            {"f26t35", "26-35", "26 岁 至 35 岁", yearsOver(age, 25, 35), "26-35"},
            {"f36t45", "36-45", "36 岁 至 45 岁", yearsOver(age, 35, 45), "36-45"},
            {"f35t40", "35-40", "35 岁 至 40 岁", yearsAtLeast(age, 35) + " and " + yearsAtMost(age, 40)},
            {"f46t54", "46-54", "46 岁 至 54 岁", yearsOver(age, 45, 54), "46-54"},
            {"f55t59", "55-59", "55 岁 至 59 岁", yearsAtLeast(age, 55) + " and " + yearsAtMost(age, 59), "55-59"},
            {"f50t55", "50-55", "50 岁 至 55 岁", yearsAtLeast(age, 50) + " and " + yearsAtMost(age, 55)},
            {"u60", "60岁以上", "60 岁 及 以 上", yearsAtLeast(age, 60), "60岁以上"},
            breakdown::averageAge(),
        });
        t.groups = {{"入 党 时 间", "入党时间", "d1", "d3"},
                    {"学         历", "学历", "bs", "xx"},
                    {"年   龄   情   况", "年龄", "l25", "u60"}};
        t.charts = {{"入党时间图示", "->入党时间图示", {"d1", "d2", "d3"}},
                    {"学历图示", "->学历图示", {"bs", "ss", "bk", "dz", "zz", "gz", "cz", "xx"}},
                    {"年龄情况图示", "->年龄图示", {"l25", "f26t35", "f36t45", "f46t54", "f55t59", "u60"}}};
        // Twenty-five columns across the page: the long headings take four lines.
        t.reports = {{"Trepdyjbqktjb", "党员基本情况统计表", {}, true, 4}};
        t.statements = [](const TableDescription &self, const sql::Dialect &dialect) {
            return counting::perDepartment(self, dialect, "政治面貌='01' and dwbm<>'99'") + counting::finishing(self);
        };
        return t;
    }();
    return table;
}

}  // namespace stats::tables
