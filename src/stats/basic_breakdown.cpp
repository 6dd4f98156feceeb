#include "stats/basic_breakdown.h"

#include "stats/counting.h"

namespace stats::breakdown {

using counting::yearsAtMost;
using counting::yearsOver;

ValueColumn headCount() { return {"zs", "总数", "总数", {}}; }

ValueColumn averageAge() { return {"pjnl", "平均年龄", "平均年龄", {}, {}, ValueColumn::Kind::Average}; }

std::vector<ValueColumn> basic()
{
    std::vector<ValueColumn> c = {
        {"nv", "女", "女", "职工性别='女'"},
        {"ssmz", "少数民族", "少 数 民 族", "民族编码<>'00'"},
        {"bs", "博士生", "博 士 生", "文化程度='01'", "博士生"},
        {"ss", "硕士生", "硕 士 生", "文化程度='02'", "硕士生"},
        {"bk", "大学本科", "大 学 本 科", "文化程度='03'", "本科生"},
        {"dz", "大学专科", "大 学 专 科", "文化程度='04'", "大专生"},
        {"zz", "中专以下", "中 专 以 下", "文化程度>'04'", "中专以下"},
        {"dy", "共产党员", "共 产 党 员", "政治面貌='01'", "共产党员"},
        {"ty", "共青团员", "共 青 团 员", "政治面貌='02'", "共青团员"},
        {"mz", "民主党派", "民 主 党 派", "政治面貌='03'", "民主党派"},
        {"qt", "其他", "其 他", "政治面貌='00'", "其他"},
        {"l25", "25岁以下", "25 岁 以 下", yearsAtMost("出生年月", 25), "25岁以下"},
    };
    // Five-year bands above 25 up to 60, the lower bound excluded.
    for (int low = 25; low < 60; low += 5)
        c.push_back({QString("f%1t%2").arg(low).arg(low + 5), QString("%1-%2").arg(low).arg(low + 5),
                     QString("%1 岁 至 %2 岁").arg(low).arg(low + 5), yearsOver("出生年月", low, low + 5),
                     QString("%1岁-%2岁").arg(low).arg(low + 5)});
    return c;
}

std::vector<ValueColumn> full(Average average)
{
    std::vector<ValueColumn> values = basic();
    values.insert(values.begin(), headCount());
    if (average == Average::With)
        values.push_back(averageAge());
    return values;
}

std::vector<ValueColumn> pick(const QStringList &keys)
{
    const std::vector<ValueColumn> all = basic();
    std::vector<ValueColumn> picked;
    for (const QString &key : keys)
        picked.push_back(*std::find_if(all.begin(), all.end(), [&](const ValueColumn &v) { return v.key == key; }));
    return picked;
}

TableDescription departmentTable(const QString &name, const QString &screenClass, const QString &screen,
                                 const QString &gridLabel)
{
    TableDescription t;
    t.name = name;
    t.screenClass = screenClass;
    t.titleBar = "  职工花名册 >> " + screen;
    t.gridLabel = gridLabel;
    t.keys = {"dwbm", "dwmc"};
    t.nameColumn = "dwmc";
    t.nameTitle = "单位名称";
    t.nameHeading = "部门";
    t.gridOrder = "bz, rowid";
    return t;
}

std::vector<Chart> charts(const QString &educationCaption, const QString &ageCaption)
{
    return {{educationCaption, "->学历图示", {"bs", "ss", "bk", "dz", "zz"}},
            {"政治情况图示", "->政治情况图示", {"dy", "ty", "mz", "qt"}},
            {ageCaption, "->年龄图示", {"l25", "f25t30", "f30t35", "f35t40", "f40t45", "f45t50", "f50t55", "f55t60"}}};
}

std::vector<GroupCaption> groups(const QString &printedEducation, const QString &printedPolitics,
                                 const QString &printedAge)
{
    return {{"学         历", printedEducation, "bs", "zz"},
            {"政  治  情  况", printedPolitics, "dy", "qt"},
            {"年   龄   情   况", printedAge, "l25", "f55t60"}};
}

}  // namespace stats::breakdown
