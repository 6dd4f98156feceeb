// 职工基本情况分析表: per department below "97" as of the cut-off, the head count and its
// breakdown by sex, nationality, education, political status and age, each with its share of
// the head count; then the organisation's total row.

#include "stats/basic_breakdown.h"
#include "stats/counting.h"

namespace stats::tables {

const TableDescription &zgjbqkfxb()
{
    static const TableDescription table = [] {
        TableDescription t = breakdown::departmentTable("zgjbqkfxb", "Tfrmzgjbqkfxb", "职工基本情况分析表", "分析表");
        t.values = breakdown::full(breakdown::Average::Without);
        t.shares = true;
        t.groups = breakdown::groups("学         历", "政治情况", {});
        t.charts = breakdown::charts("学历图示", "年龄情况图示");
        t.reports = {
            {"Trepzgjbqkfxb", "职工基本情况分析表1",
             {"dwmc", "zs", "nv", "nvzb", "ssmz", "ssmzzb", "bs", "bszb", "ss", "sszb", "bk", "bkzb", "dz", "dzzb",
              "zz", "zzzb", "dy", "dyzb", "ty", "tyzb", "mz", "mzzb", "qt", "qtzb"}},
            {"Trepzgjbqkfxb2", "职工基本情况分析表2",
             {"dwmc", "zs", "l25", "l25zb", "f25t30", "f25t30zb", "f30t35", "f30t35zb", "f35t40", "f35t40zb",
              "f40t45", "f40t45zb", "f45t50", "f45t50zb", "f50t55", "f50t55zb", "f55t60", "f55t60zb"}},
        };
        t.statements = [](const TableDescription &self, const sql::Dialect &dialect) {
            return counting::perDepartment(self, dialect) + counting::finishing(self);
        };
        return t;
    }();
    return table;
}

}  // namespace stats::tables
