#include "stats/statistics_screens.h"

#include "app/screen_registry.h"
#include "stats/statistics_screen.h"

namespace {

using Slices = std::vector<std::pair<QString, QString>>;

const Slices kEducationSlices = {{"bs", "博士生"}, {"ss", "硕士生"}, {"bk", "本科生"}, {"dz", "大专生"}, {"zz", "中专以下"}};
const Slices kPoliticsSlices = {{"dy", "共产党员"}, {"ty", "共青团员"}, {"mz", "民主党派"}, {"qt", "其他"}};
const Slices kAgeSlices = {{"l25", "25岁以下"},   {"f25t30", "25岁-30岁"}, {"f30t35", "30岁-35岁"},
                           {"f35t40", "35岁-40岁"}, {"f40t45", "40岁-45岁"}, {"f45t50", "45岁-50岁"},
                           {"f50t55", "50岁-55岁"}, {"f55t60", "55岁-60岁"}};

StatisticsDescription basicSituationAnalysis()
{
    StatisticsDescription d;
    d.className = "Tfrmzgjbqkfxb";
    d.titleBar = "  职工花名册 >> 职工基本情况分析表";
    d.workTable = "zgjbqkfxb";
    d.gridLabel = "分析表";
    d.nameColumn = "dwmc";
    d.columns = {{"dwmc", "单位名称"}, {"zs", "总数"}};
    for (const GridColumn &c : stats::withShares({{"nv", "女"}, {"ssmz", "少数民族"}, {"bs", "博士生"}, {"ss", "硕士生"},
                                           {"bk", "大学本科"}, {"dz", "大学专科"}, {"zz", "中专以下"},
                                           {"dy", "共产党员"}, {"ty", "共青团员"}, {"mz", "民主党派"}, {"qt", "其他"},
                                           {"l25", "25岁以下"}, {"f25t30", "25-30"}, {"f30t35", "30-35"},
                                           {"f35t40", "35-40"}, {"f40t45", "40-45"}, {"f45t50", "45-50"},
                                           {"f50t55", "50-55"}, {"f55t60", "55-60"}},
                                          QStringLiteral("占比")))
        d.columns.push_back(c);
    d.groups = {{"学         历", "bs", "zzzb"}, {"政  治  情  况", "dy", "qtzb"}, {"年   龄   情   况", "l25", "f55t60zb"}};
    d.charts = {{"学历图示", "->学历图示", kEducationSlices},
                {"政治情况图示", "->政治情况图示", kPoliticsSlices},
                {"年龄情况图示", "->年龄图示", kAgeSlices}};
    return d;
}

const std::vector<StatisticsDescription> &descriptions()
{
    static const std::vector<StatisticsDescription> all = {basicSituationAnalysis()};
    return all;
}

}  // namespace

void registerStatisticsScreens(ScreenRegistry &registry)
{
    for (const StatisticsDescription &d : descriptions())
        registry.add(d.className, {Placement::Stored, [&d](ScreenHost &host) { return new StatisticsScreen(host, d); }});
}
