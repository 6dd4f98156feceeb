#include "db/delivered_data.h"

#include "db/password.h"
#include "db/rights.h"
#include "db/schema.h"
#include "db/sql.h"

#include <QStringList>
#include <vector>

namespace delivered {
namespace {

using Row = QVariantList;

void insertRows(const QSqlDatabase &db, const QString &table, const QStringList &columns,
                const std::vector<Row> &rows)
{
    QSqlQuery query = sql::prepareInsert(db, table, columns);
    for (const Row &row : rows) {
        sql::bindRow(query, row);
        sql::exec(query);
    }
}

// Two-digit code and name pairs, numbered from `first`.
std::vector<Row> numbered(const QStringList &names, int first = 1)
{
    std::vector<Row> rows;
    for (int i = 0; i < names.size(); ++i)
        rows.push_back({QString("%1").arg(first + i, 2, 10, QChar('0')), names[i]});
    return rows;
}

QVariant yuan(qint64 whole) { return QVariant(qlonglong(whole * schema::kMoneyScale)); }

}  // namespace

void insertData(const QSqlDatabase &db)
{
    // "00" is the majority nationality; the others follow in the customary order.
    insertRows(db, "mzdmb", {"民族编码", "民族名称"},
               numbered({"汉族", "蒙古族", "回族", "藏族", "维吾尔族", "苗族", "彝族", "壮族",
                         "布依族", "朝鲜族", "满族", "侗族", "瑶族", "白族", "土家族", "哈尼族",
                         "哈萨克族", "傣族", "黎族", "傈僳族", "佤族", "畲族", "高山族", "拉祜族",
                         "水族", "东乡族", "纳西族", "景颇族", "柯尔克孜族", "土族", "达斡尔族",
                         "仫佬族", "羌族", "布朗族", "撒拉族", "毛南族", "仡佬族", "锡伯族", "阿昌族",
                         "普米族", "塔吉克族", "怒族", "乌孜别克族", "俄罗斯族", "鄂温克族", "德昂族",
                         "保安族", "裕固族", "京族", "塔塔尔族", "独龙族", "鄂伦春族", "赫哲族",
                         "门巴族", "珞巴族", "基诺族"},
                        0));

    std::vector<Row> education = numbered(
        {"博士生", "硕士生", "大学本科", "大学专科", "中专", "高中", "初中", "小学"});
    for (Row &r : education)
        r << r[0];  // 程度级别 follows the code
    insertRows(db, "whcddmb", {"文化程度编码", "文化程度", "程度级别"}, education);

    insertRows(db, "dpdmb", {"党派编码", "党派名称"},
               {{"01", "共产党员"}, {"02", "共青团员"}, {"03", "民主党派"}, {"00", "其他"}});

    // "97" and above hold the staff who are not on duty.
    std::vector<Row> departments = numbered({"经理办公室", "人事科", "财务科", "生产技术科",
                                             "安全监察科", "物资供应科", "第一车间", "第二车间",
                                             "第三车间", "机修车间"});
    departments.push_back({"97", "退休人员"});
    departments.push_back({"98", "内退人员"});
    departments.push_back({"99", "调离人员"});
    insertRows(db, "dwdmb", {"单位编码", "单位名称"}, departments);

    // A smaller level code is a higher level; "07" is division level.
    std::vector<Row> positionLevels = numbered({"正部级", "副部级", "正厅级", "副厅级", "巡视员",
                                                "助理巡视员", "处级", "副处级", "科级", "副科级",
                                                "科员", "办事员"});
    positionLevels.push_back({"99", "无级别"});
    insertRows(db, "zwjbdmb", {"级别编码", "级别名称"}, positionLevels);
    insertRows(db, "zwdmb", {"职务编码", "职务名称", "职务级别"},
               {{"00", "无", "99"}, {"01", "总经理", "07"}, {"02", "副总经理", "08"},
                {"03", "总工程师", "08"}, {"04", "科长", "09"}, {"05", "副科长", "10"},
                {"06", "车间主任", "09"}, {"07", "车间副主任", "10"}, {"08", "班组长", "11"},
                {"09", "科员", "11"}, {"10", "工人", "12"}});

    // "99" is the level of "no title", so joins through the title level keep those employees.
    std::vector<Row> titleLevels = numbered({"正高级", "副高级", "中级", "初级", "员级"});
    titleLevels.push_back({"99", "无级别"});
    insertRows(db, "zcjbdmb", {"级别编码", "级别名称"}, titleLevels);
    insertRows(db, "jslbdmb", {"类别编码", "类别名称"},
               numbered({"无", "工程技术", "会计", "经济", "统计", "卫生技术", "政工"}, 0));
    insertRows(db, "zcdmb", {"职称编码", "职称名称", "职称级别", "技术分类"},
               {{"00", "无", "99", "00"},
                {"01", "教授级高级工程师", "01", "01"}, {"02", "高级工程师", "02", "01"},
                {"03", "工程师", "03", "01"}, {"04", "助理工程师", "04", "01"},
                {"05", "技术员", "05", "01"}, {"06", "高级会计师", "02", "02"},
                {"07", "会计师", "03", "02"}, {"08", "助理会计师", "04", "02"},
                {"09", "会计员", "05", "02"}, {"10", "高级经济师", "02", "03"},
                {"11", "经济师", "03", "03"}, {"12", "助理经济师", "04", "03"},
                {"13", "统计师", "03", "04"}, {"14", "主治医师", "03", "05"},
                {"15", "医师", "04", "05"}, {"16", "高级政工师", "02", "06"},
                {"17", "政工师", "03", "06"}});

    insertRows(db, "gwjnlbb", {"类别编码", "类别名称"},
               numbered({"管理岗位", "技术岗位", "技能岗位", "服务岗位"}));
    insertRows(db, "gwjndmb", {"档次编码", "档次名称"},
               numbered({"一档", "二档", "三档", "四档", "五档", "六档", "七档", "八档"}));

    std::vector<Row> gradeSalaries;
    const QStringList gradeNames = {"一级", "二级", "三级", "四级", "五级", "六级",
                                    "七级", "八级", "九级", "十级", "十一级", "十二级"};
    for (int i = 0; i < gradeNames.size(); ++i)
        gradeSalaries.push_back({QString("%1").arg(i + 1, 2, 10, QChar('0')), gradeNames[i],
                                 yuan(3600 - 240 * i)});
    insertRows(db, "zwdjdmb", {"等级编码", "等级名称", "等级工资"}, gradeSalaries);

    // Attendance kind names become column names: short, distinct, plain words.
    insertRows(db, "kqfsb", {"方式编码", "方式名称"},
               numbered({"事假", "病假", "旷工", "迟到", "早退", "婚假", "丧假", "产假", "年休假",
                         "探亲假"}));

    insertRows(db, "czydmb", {"czybh", "czyxm", "czymm", "czyqx", "角色"},
               {{"01", kOperatorName, password::hash(kOperatorPassword), "系统管理员", rights::kAdministrator}});
    insertRows(db, "xtztb", {"状态"}, {{"1"}});
}

const QStringList &filledTables()
{
    static const QStringList tables = {"mzdmb", "whcddmb", "dpdmb", "dwdmb", "zwjbdmb", "zwdmb", "zcjbdmb", "jslbdmb",
                                       "zcdmb", "gwjnlbb", "gwjndmb", "zwdjdmb", "kqfsb", "czydmb", "xtztb"};
    return tables;
}

}  // namespace delivered
