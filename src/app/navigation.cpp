#include "app/navigation.h"

namespace navigation_texts {
const QString kProductTitle = QStringLiteral("人事管理信息系统");
const QString kHideNavigator = QStringLiteral("隐藏导航");
const QString kShowNavigator = QStringLiteral("显示导航");
}  // namespace navigation_texts

namespace {

NavAction open(const char *screenClass) { return {NavAction::Open, screenClass}; }
NavAction info(const QString &text) { return {NavAction::Information, text}; }
const NavAction inert = {NavAction::Inert, {}};
const NavAction guide = {NavAction::Help, {}};

const QString kAbout = QStringLiteral("人事管理信息系统\n澄禾汀岚分公司人事管理用\n版本 1.0");
const QString kUpdates = QStringLiteral("当前已是最新版本。\n如需更新，请与系统管理员联系。");
const QString kContact = QStringLiteral("如有问题，请与公司人事科系统管理员联系。");

}  // namespace

const std::vector<NavGroup> &navigatorGroups()
{
    static const std::vector<NavGroup> groups = {
        {"职工花名册",
         {{"职工基本情况编辑", open("Tfrmzglr")},
          {"专业技术干部花名册", open("Tfrmgbxx")},
          {"科级以上干部花名册", open("Tfrmkjgbxx")},
          {"党员花名册", open("Tfrmdyxx")},
          {"党员基本情况统计表", open("Tfrmdyjbqktjb")},
          {"职工基本情况分析表", open("Tfrmzgjbqkfxb")},
          {"职工工龄统计表", open("Tfrmzgglqkfxb")},
          {"员工基本情况查询", open("Tfrmzgjbqkcx")},
          {"技术干部情况统计表", open("Tfrmzyjsgbqktjb")},
          {"职工基本情况统计表", open("Tfrmzgjbqktjb")}}},
        {"员工人事资料记录卡",
         {{"工作动态编辑", open("Tfrmgzdtbj")},
          {"奖惩情况编辑", open("Tfrmjcjlbj")},
          {"考勤情况编辑", open("Tfrmkqjlbj")},
          {"个人工作动态统计", open("Tfrmgzdttj")},
          {"个人出勤情况统计", open("Tfrmkqqktj")},
          {"个人奖惩情况统计", open("Tfrmjcqktj")},
          {"员工人事资料记录卡", open("Tfrmygrsjlk")},
          {"公司奖惩情况统计", open("Tfrmgsjctjb")},
          {"公司考勤情况统计", open("Tfrmgskqtjb")},
          {"公司员工出勤率统计分析", inert},
          {"人事记录综合查询", open("Tfrmzggzdtcx")}}},
        {"等级工资及年度考核",
         {{"等级(职务)工资编辑", open("Tfrmzwdjbj")},
          {"年度考核编辑", open("Tfrmndkhbj")},
          {"员工等级(职务)工资\n变动及年度考核览表", open("Tfrmndkhcx")},
          {"员工考核情况统计分析", open("Tfrmndkhtj")},
          {"考核结果的占比情况", open("Tfrmndkhzb")}}},
        {"干部履历表", {}, open("Tfrmgbllbj")},
        {"职工工资表",
         {{"职工工资编辑", open("Tfrmgzlr")},
          {"职工工资查询", open("Tfrmzggzcx")},
          {"公司年工资统计", open("TFrmgsngztj")},
          {"公司X年月工资统计", open("TFrmgsygztj")},
          {"年工资统计对照表", open("TFrmgsngzdz")},
          {"月工资统计对照表", open("TFrmgsygzdz")},
          {"职工工资综合查询", open("Tfrmzggzzhcx")}}},
        {"员工培训纪录",
         {{"员工培训情况编辑", open("Tfrmpxjlbj")},
          {"个人培训情况统计", open("Tfrmgrpxjltj")},
          {"公司培训情况统计", open("Tfrmgspxqktj")},
          {"培训成绩占比统计", open("Tfrmpxcjzbtjb")},
          {"培训技能等次占比统计", open("Tfrmpxjnzbtjb")}}},
        {"基础数据维护",
         {{"部门代码表", open("Tfrmdwdm")},
          {"职称代码表", open("Tfrmzcdm")},
          {"职称级别代码表", open("Tfrmzcjbdm"), true},
          {"专业技术分类代码表", open("Tfrmjsfl")},
          {"职务代码表", open("Tfrmzwdm")},
          {"职务级别代码表", open("Tfrmzwjbdm"), true},
          {"民族代码表", open("Tfrmmzdm")},
          {"文化程度代码表", open("Tfrmwhcddm")},
          {"出勤方式代码表", open("Tfrmcqfs")},
          {"操作员代码表", open("Tfrmczydm")},
          {"数据备份与恢复", open("Tfrmsjbf")},
          {"工资表内容编辑", open("Tfrmgzgs")},  // a payroll clerk adds salary items here
          {"岗位技能档次代码表", open("Tfrmdcdmb")},
          {"等级(职务)档次代码表", open("Tfrmdjzwdcdmb")},
          {"岗位技能类别代码表", open("Tfrmdclbdmb")}}},
        {"帮助",
         {{"使用说明", guide},
          {"关于本系统", info(kAbout)}, {"软件更新", info(kUpdates)}, {"联系我们", info(kContact)}}},
        {"退出系统", {}, {NavAction::Quit, {}}},
    };
    return groups;
}

const std::vector<QuickLaunchButton> &quickLaunchButtons()
{
    static const std::vector<QuickLaunchButton> buttons = {
        {"职工基本", "情况编辑", "Tfrmzglr"},   {"职工基本", "情况查询", "Tfrmzgjbqkcx"},
        {"职工工作", "动态编辑", "Tfrmgzdtbj"}, {"人事资料", "记 录 卡", "Tfrmygrsjlk"},
        {"等级工资", "变动编辑", "Tfrmzwdjbj"}, {"职工某月", "工资编辑", "Tfrmgzlr"},
        {"职工培训", "记录编辑", "Tfrmpxjlbj"}, {"公司培训", "情况统计", "Tfrmgspxqktj"},
    };
    return buttons;
}

const std::vector<MenuEntry> &menuEntries()
{
    const MenuItem separator = {};
    static const std::vector<MenuEntry> entries = {
        {"职工花名册",
         {{"职工基本情况编辑", open("Tfrmzglr")},
          {"职工基本情况统计表", open("Tfrmzgjbqktjb")},
          {"职工基本情况分析表", open("Tfrmzgjbqkfxb")},
          {"职工工龄统计表", open("Tfrmzgglqkfxb")},
          {"专业技术职务干部花名册", open("Tfrmgbxx")},
          {"科技以上干部花名册", open("Tfrmkjgbxx")},
          {"专业技术职务干部情况统计表", open("Tfrmzyjsgbqktjb")},
          {"党员花名册", open("Tfrmdyxx")},
          {"党员基本情况统计表", open("Tfrmdyjbqktjb")},
          {"员工基本情况查询", open("Tfrmzgjbqkcx")},
          {"导入职工…", open("Tfrmzgdr")}}},
        {"员工人事资料记录卡",
         {{"工作动态编辑", open("Tfrmgzdtbj")},
          {"奖惩情况编辑", open("Tfrmjcjlbj")},
          {"出勤情况编辑", open("Tfrmkqjlbj")},
          {"个人工作动态统计", open("Tfrmgzdttj")},
          {"个人奖惩情况统计", open("Tfrmjcqktj")},
          {"个人考勤情况统计", open("Tfrmkqqktj")},
          {"员工人事资料记录卡", open("Tfrmygrsjlk")},
          {"公司工作动态统计", inert},
          {"公司奖惩情况统计", open("Tfrmgsjctjb")},
          {"公司考勤情况统计", open("Tfrmgskqtjb")},
          {"公司员工出勤率情况统计", inert},
          {"人事记录综合查询", open("Tfrmzggzdtcx")}}},
        {"员工等级工资变动及考核",
         {{"员工等级（职务）工资编辑", open("Tfrmzwdjbj")},
          {"员工考核情况编辑", open("Tfrmndkhbj")},
          {"员工考核情况统计分析", open("Tfrmndkhtj")},
          {"考核结果的分别占比情况", open("Tfrmndkhzb")},
          {"员工等级（职务）工资变动及年度考核一览表", open("Tfrmndkhcx")}}},
        {"干部履历表", {}, open("Tfrmgbllbj")},
        {"职工工资表",
         {{"职工工资编辑", open("Tfrmgzlr")},
          {"职工工资查询", open("Tfrmzggzcx")},
          {"公司X年月工资统计", open("TFrmgsygztj")},
          {"公司年工资统计", open("TFrmgsngztj")},
          {"月工资统计对照表", open("TFrmgsygzdz")},
          {"年工资统计对照表", open("TFrmgsngzdz")},
          {"职工工资综合查询", open("Tfrmzggzzhcx")}}},
        {"员工培训记录",
         {{"员工培训情况编辑", open("Tfrmpxjlbj")},
          {"个人培训记录统计", open("Tfrmgrpxjltj")},
          {"公司培训记录统计", open("Tfrmgspxqktj")},
          {"培训成绩占比情况分析", open("Tfrmpxcjzbtjb")},
          {"技能等次占比情况分析", open("Tfrmpxjnzbtjb")}}},
        {"基础数据维护",
         {{"部门代码表", open("Tfrmdwdm")},
          separator,
          {"职称代码表", open("Tfrmzcdm")},
          {"专业技术分类代码表", open("Tfrmjsfl")},
          separator,
          {"职务代码表", open("Tfrmzwdm")},
          {"等级（职务）档次代码表", open("Tfrmdjzwdcdmb")},
          separator,
          {"岗位技能类别代码表", open("Tfrmdclbdmb")},
          {"岗位技能档次代码表", open("Tfrmdcdmb")},
          separator,
          {"民族代码表", open("Tfrmmzdm")},
          {"文化程度代码表", open("Tfrmwhcddm")},
          {"出勤形式代码表", open("Tfrmcqfs")},
          {"工资表内容编辑", open("Tfrmgzgs")},
          separator,
          {"操作员代码表", open("Tfrmczydm")},
          separator,
          {"数据备份与恢复", open("Tfrmsjbf")}}},
        {"帮助", {}, guide},
    };
    return entries;
}
