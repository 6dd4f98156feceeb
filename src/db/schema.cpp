#include "db/schema.h"

#include "db/dialect.h"

namespace schema {
namespace {

using K = Kind;

// The indexes that make the history reading rules fast; the dated one carries the codes too,
// so an as-of snapshot is read from the index alone.
std::vector<Index> historyIndexes(const QString &table, const QString &codes)
{
    return {{table + "_by_employee_id", "职工编码,自动编号"},
            {table + "_by_employee_date", "职工编码,变动时间," + codes}};
}

std::vector<Table> buildTables()
{
    const QString employee = "zghmc(职工编码)";
    std::vector<Table> t;

    // Code tables, parents first so references resolve in creation order.
    t.push_back({"dwdmb", {{"单位编码", K::Code, 2}, {"单位名称", K::Text, 20}}});
    t.push_back({"zwjbdmb", {{"级别编码", K::Code, 2}, {"级别名称", K::Text, 20}}});
    t.push_back({"zwdmb", {{"职务编码", K::Code, 2}, {"职务名称", K::Text, 40},
                           {"职务级别", K::Text, 2, "zwjbdmb(级别编码)"}}});
    t.push_back({"zcjbdmb", {{"级别编码", K::Code, 2}, {"级别名称", K::Text, 20}}});
    t.push_back({"jslbdmb", {{"类别编码", K::Code, 2}, {"类别名称", K::Text, 20}}});
    t.push_back({"zcdmb", {{"职称编码", K::Code, 2}, {"职称名称", K::Text, 40},
                           {"职称级别", K::Text, 2, "zcjbdmb(级别编码)"},
                           {"技术分类", K::Text, 2, "jslbdmb(类别编码)"}}});
    t.push_back({"mzdmb", {{"民族编码", K::Code, 2}, {"民族名称", K::Text, 12}}});
    t.push_back({"whcddmb", {{"文化程度编码", K::Code, 2}, {"文化程度", K::Text, 50},
                             {"程度级别", K::Text, 2}}});
    t.push_back({"dpdmb", {{"党派编码", K::Code, 2}, {"党派名称", K::Text, 10}}});
    t.push_back({"gwjnlbb", {{"类别编码", K::Code, 2}, {"类别名称", K::Text, 50}}});
    t.push_back({"gwjndmb", {{"档次编码", K::Code, 2}, {"档次名称", K::Text, 50}}});
    t.push_back({"zwdjdmb", {{"等级编码", K::Code, 2}, {"等级名称", K::Text, 50},
                             {"等级工资", K::Money}}});
    // Kind names become column names of the attendance work tables: at most 10 characters,
    // and distinct, or two kinds would make one column.
    t.push_back({"kqfsb", {{"方式编码", K::Code, 2}, {"方式名称", K::Text, 10}}, {{"kqfsb_by_name", "方式名称", true}}});
    t.push_back({"czydmb", {{"czybh", K::Code, 10}, {"czyxm", K::Text, 20, nullptr, true},
                            {"czymm", K::Text, 255}, {"czyqx", K::Text, 50}}});
    t.push_back({"gzzd", {{"字段", K::Code, 50}, {"公式", K::Text, 255}}});
    t.push_back({"xtztb", {{"状态", K::Text, 10}}});

    t.push_back({"zghmc", {
        {"职工编码", K::Code, 6}, {"职工姓名", K::Text, 8}, {"曾用名", K::Text, 8},
        {"职工性别", K::Text, 2}, {"出生年月", K::Date}, {"籍贯", K::Text, 20},
        {"民族编码", K::Text, 2, "mzdmb(民族编码)"}, {"文化程度", K::Text, 2, "whcddmb(文化程度编码)"},
        {"获得学位", K::Text, 10}, {"毕业学校", K::Text, 50}, {"毕业时间", K::Date},
        {"所学专业", K::Text, 50}, {"身份证号", K::Text, 18}, {"工作时间", K::Date},
        {"工作单位", K::Text, 50}, {"入司时间", K::Date}, {"工作类别", K::Text, 2},
        {"健康状况", K::Text, 40}, {"政治面貌", K::Text, 10, "dpdmb(党派编码)"},
        {"入党时间", K::Date}, {"出生地", K::Text, 20}, {"联系电话", K::Text, 20},
        // 邮政编码 holds the mobile number (the editor's "移动电话"): as wide as a phone number.
        {"家庭住址", K::Text, 30}, {"邮政编码", K::Text, 20}, {"联系地址", K::Text, 30},
        {"照片", K::Text, 255}, {"备注", K::Text, 50}, {"职工简介", K::LongText}},
                 // What the statistics count, readable without touching the wide rows.
                 {{"zghmc_statistics", "职工编码,职工性别,民族编码,文化程度,政治面貌,出生年月,工作时间,入党时间"},
                  // The party roster reads one party's members, in code order.
                  {"zghmc_by_party", "政治面貌,职工编码"}}});

    // Dated histories.
    // Also by department, so one department's employees are found, in code order, without
    // reading the whole history.
    std::vector<Index> departmentIndexes = historyIndexes("dwdtb", "单位编码");
    departmentIndexes.push_back({"dwdtb_by_department", "单位编码,职工编码"});
    t.push_back({"dwdtb", {{"自动编号", K::AutoId}, {"职工编码", K::Text, 6, employee, true},
                           {"变动时间", K::Date}, {"单位编码", K::Text, 2, "dwdmb(单位编码)"}},
                 departmentIndexes});
    // The rosters read the rows of a level's positions or titles, in code order.
    std::vector<Index> positionIndexes = historyIndexes("zwdtb", "职务编码");
    positionIndexes.push_back({"zwdtb_by_position", "职务编码,职工编码"});
    t.push_back({"zwdtb", {{"自动编号", K::AutoId}, {"职工编码", K::Text, 6, employee, true},
                           {"变动时间", K::Date}, {"职务编码", K::Text, 2, "zwdmb(职务编码)"}},
                 positionIndexes});
    std::vector<Index> titleIndexes = historyIndexes("zcdtb", "职称编码,类别编码");
    titleIndexes.push_back({"zcdtb_by_title", "职称编码,职工编码"});
    t.push_back({"zcdtb", {{"自动编号", K::AutoId}, {"职工编码", K::Text, 6, employee, true},
                           {"变动时间", K::Date}, {"职称编码", K::Text, 2, "zcdmb(职称编码)"},
                           {"类别编码", K::Text, 2, "jslbdmb(类别编码)"}},
                 titleIndexes});
    t.push_back({"gwjndtb", {{"自动编号", K::AutoId}, {"职工编码", K::Text, 6, employee, true},
                             {"变动时间", K::Date}, {"档次编码", K::Text, 2, "gwjndmb(档次编码)"},
                             {"类别编码", K::Text, 2, "gwjnlbb(类别编码)"}, {"变动理由", K::Text, 50}},
                 historyIndexes("gwjndtb", "档次编码,类别编码")});
    // The change date is a real date here too, so the reading rules compare it like the others.
    t.push_back({"zwdjdtb", {{"自动编号", K::AutoId}, {"变动时间", K::Date},
                             {"职工编码", K::Text, 6, employee, true},
                             {"等级编码", K::Text, 2, "zwdjdmb(等级编码)"}, {"等级工资", K::Money},
                             {"变动理由", K::Text, 50}},
                 historyIndexes("zwdjdtb", "等级编码")});

    // Events.
    t.push_back({"jcjlb", {{"自动编号", K::AutoId}, {"职工编码", K::Text, 6, employee, true},
                           {"奖惩日期", K::Date}, {"奖惩", K::Integer}, {"奖惩方式", K::Text, 50},
                           {"奖惩金额", K::Money}, {"事由", K::Text, 255}},
                 {{"jcjlb_by_employee", "职工编码,奖惩日期"}}});
    t.push_back({"kqjlb", {{"自动编号", K::AutoId}, {"职工编码", K::Text, 6, employee, true},
                           {"方式编码", K::Text, 2, "kqfsb(方式编码)"}, {"考勤时间", K::Date},
                           {"时数", K::Number}, {"事由", K::Text, 255}, {"罚金", K::Money}},
                 {{"kqjlb_by_employee", "职工编码,考勤时间"}}});
    t.push_back({"pxnrb", {{"培训编码", K::Code, 20}, {"培训日期", K::Date},
                           {"训练内容", K::Text, 255}, {"累计时数", K::Number}}});
    t.push_back({"pxjlb", {{"自动编号", K::AutoId}, {"职工编码", K::Text, 6, employee, true},
                           {"培训编码", K::Text, 20, "pxnrb(培训编码)", true}, {"成绩", K::Number},
                           {"技能评定", K::Text, 2}},
                 {{"pxjlb_by_course", "培训编码"}, {"pxjlb_by_employee", "职工编码"}}});
    t.push_back({"ndkhb", {{"自动编号", K::AutoId}, {"年度", K::Integer},
                           {"职工编码", K::Text, 6, employee, true}, {"考核成绩", K::Text, 8}},
                 {{"ndkhb_by_year", "年度,职工编码"}, {"ndkhb_by_employee", "职工编码,自动编号"}}});

    // Monthly pay.
    t.push_back({"gzb", {{"自动编号", K::AutoId}, {"年月", K::Date},
                         {"职工编码", K::Text, 6, employee, true}, {"基本工资", K::Money},
                         {"岗位工资", K::Money}, {"工龄", K::Integer}, {"边远津贴", K::Money},
                         {"应发工资", K::Money}, {"扣除税金", K::Money}, {"实发工资", K::Money}},
                 {{"gzb_by_month", "年月,职工编码"}, {"gzb_by_employee", "职工编码,年月"}}});
    t.push_back({"jjb", {{"自动编号", K::AutoId}, {"职工编码", K::Text, 6, employee, true},
                         {"年月", K::Date}, {"单位系数工资", K::Money}, {"岗位系数", K::Money},
                         {"应发工资", K::Money}, {"扣发", K::Money}, {"税金", K::Money},
                         {"实发", K::Money}},
                 {{"jjb_by_month", "年月,职工编码"}, {"jjb_by_employee", "职工编码,年月"}}});
    t.push_back({"btb", {{"自动编号", K::AutoId}, {"职工编码", K::Text, 6, employee, true},
                         {"年月", K::Date}, {"生活补贴", K::Money}, {"食品补贴", K::Money},
                         {"艰难补贴", K::Money}, {"液化气补贴", K::Money}, {"误餐补贴", K::Money},
                         {"医药补贴", K::Money}, {"应发工资", K::Money}, {"扣发公积金", K::Money},
                         {"扣发养老金", K::Money}, {"实发工资", K::Money}},
                 {{"btb_by_month", "年月,职工编码"}, {"btb_by_employee", "职工编码,年月"}}});

    // Cadre résumé: one sections row per cadre, the other tables are lists of text rows.
    Table sections{"gbllb", {{"职工编码", K::Code, 6, employee}}};
    for (const char *c : {"入党", "入团", "入民主党派", "技术职务", "军衔", "培训", "技术专长", "社会团体",
                          "宗教信仰", "出国活动", "外语", "奖励", "处罚", "反动组织", "文革错误", "其他说明"})
        sections.columns.push_back({c, K::LongText});
    t.push_back(sections);
    const auto resumeList = [&](const QString &name, std::initializer_list<const char *> texts) {
        Table table{name, {{"职工编码", K::Text, 6, employee, true}},
                    {{name + "_by_employee", "职工编码"}}};
        for (const char *c : texts)
            table.columns.push_back({c, K::Text, 255});
        t.push_back(table);
    };
    resumeList("pojlb", {"姓名", "出生日期", "籍贯", "学历", "政治面貌", "工作时间", "毕业学校",
                         "工作单位", "技术职务", "工作情况1", "工作情况2"});
    resumeList("jtcyb", {"关系", "姓名", "出生日期", "政治面貌", "工作单位"});
    resumeList("gwgxb", {"关系", "姓名", "出生日期", "政治面貌", "工作单位"});
    resumeList("hyjlb", {"何年何月", "会议名称", "身份职务"});
    resumeList("gzjlb", {"起止日期", "单位职务", "证明人"});
    resumeList("xxjlb", {"起止年月", "学校", "毕业", "证明人"});

    // One employee's merged timeline, refilled at each build.
    t.push_back({"gzdtjlb", {{"职工编码", K::Text, 6}, {"变动时间", K::Date}, {"职务编码", K::Text, 2},
                             {"类别编码", K::Text, 2}, {"档次编码", K::Text, 2},
                             {"职称编码", K::Text, 2}, {"单位编码", K::Text, 2},
                             {"时数", K::Integer}}});
    return t;
}

}  // namespace
}  // namespace schema

namespace schema {
namespace {

std::vector<Table> &allTables()
{
    static std::vector<Table> all = buildTables();
    return all;
}

std::vector<WorkTable> &registeredWorkTables()
{
    static std::vector<WorkTable> registered;
    return registered;
}

}  // namespace

void registerWorkTable(const WorkTable &table)
{
    if (findTable(table.table.name))
        return;
    registeredWorkTables().push_back(table);
    allTables().push_back(table.table);
}

const std::vector<WorkTable> &workTables() { return registeredWorkTables(); }

const std::vector<Table> &tables() { return allTables(); }

const Table *findTable(const QString &name)
{
    for (const Table &t : tables())
        if (t.name == name)
            return &t;
    return nullptr;
}

QStringList createStatements(const sql::Dialect &dialect)
{
    QStringList statements;
    for (const Table &t : tables())
        statements << dialect.createTable(t);
    return statements + indexStatements(dialect);
}

QStringList indexStatements(const sql::Dialect &dialect)
{
    QStringList statements;
    for (const Table &t : tables())
        for (const Index &i : t.indexes)
            statements << dialect.createIndex(t.name, i);
    return statements;
}

}  // namespace schema
