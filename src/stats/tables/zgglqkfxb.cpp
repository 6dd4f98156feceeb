// 职工工龄情况统计分析表: per department below "97" as of the cut-off, the head count and how
// many have served how many years (the cut-off's year minus the year work started) in five-year
// bands up to 40, each with its share; then the organisation's total row. Work that starts on
// or after the cut-off day is in no band.

#include "stats/basic_breakdown.h"
#include "stats/counting.h"

namespace stats::tables {

const TableDescription &zgglqkfxb()
{
    static const TableDescription table = [] {
        using counting::yearsAtMost;
        using counting::yearsOver;
        const QString start = "工作时间";
        TableDescription t = breakdown::departmentTable("zgglqkfxb", "Tfrmzgglqkfxb", "职工工龄情况统计分析表", "分析表");
        t.values = {breakdown::headCount(),
                    {"l5", "5年及以下", "5 年 及 以 下", start + "<:d and " + yearsAtMost(start, 5), "5年以下"}};
        for (int low = 5; low < 40; low += 5)
            t.values.push_back({QString("f%1t%2").arg(low + 1).arg(low + 5), QString("%1年至%2年").arg(low + 1).arg(low + 5),
                                QString("%1 年 至 %2 年").arg(low + 1).arg(low + 5), yearsOver(start, low, low + 5),
                                QString("%1-%2年").arg(low + 1).arg(low + 5)});
        t.shares = true;
        QStringList bands;
        for (const ValueColumn &v : t.values)
            if (v.key != "zs")
                bands << v.key;
        t.charts = {{"图示占比", "->工龄图示", bands}};
        t.reports = {{"Trepzgglqktjfxb", "职工工龄情况统计分析表", {}, false}};
        t.statements = [](const TableDescription &self, const sql::Dialect &dialect) {
            return counting::perDepartment(self, dialect) + counting::finishing(self);
        };
        return t;
    }();
    return table;
}

}  // namespace stats::tables
