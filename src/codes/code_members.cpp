#include "codes/code_members.h"

#include "db/rights.h"

namespace codes {
namespace {

// "The whole table" is its rows in the order they were stored.
QString wholeTable(const QString &table) { return "select * from " + table + " order by rowid"; }

QString title(const QString &tail) { return QStringLiteral("  基础数据维护 -> ") + tail; }

// The member's table is filled in once the member is built.
Box list(const QString &label, const QString &column)
{
    return {{.label = label, .column = column, .kind = edit::Kind::CodeList}};
}

Box money(const QString &label, const QString &column)
{
    return {{.label = label, .column = column, .kind = edit::Kind::Money, .check = edit::Check::OptionalMoney,
             .message = label + QStringLiteral("格式错误，请重新输入！")}};
}

Box role(const QString &label, const QString &column, BoxRole role) { return {{.label = label, .column = column}, role}; }

std::vector<Member> buildMembers()
{
    std::vector<Member> m;
    m.push_back({"Tfrmdwdm", title("部门代码表"), "dwdmb",
                 "select * from dwdmb where 单位编码<'97' order by val(单位编码)",
                 "部门编号", "单位编码", "部门名称", "单位名称", {}, "部门编码输入错误！",
                 "部门列表", {{"单位编码", "编号"}, {"单位名称", "部门名称"}}, true, true});
    m.push_back({"Tfrmzcdm", title("职称代码表"), "zcdmb", wholeTable("zcdmb"),
                 "职称编号", "职称编码", "职称名称", "职称名称",
                 {list("职称级别", "职称级别"),
                  list("技术分类", "技术分类")},
                 "职称编码输入错误！", "职称信息", {{"职称编码", "编号"}, {"职称名称", "职称名称"}}});
    m.push_back({"Tfrmzcjbdm", title("职称级别代码表"), "zcjbdmb",
                 "select * from zcjbdmb order by 级别编码",
                 "级别编号", "级别编码", "级别名称", "级别名称", {}, "编码输入错误！",
                 "职称级别", {{"级别编码", "编号"}, {"级别名称", "级别名称"}}});
    m.push_back({"Tfrmzwjbdm", title("职务级别代码表"), "zwjbdmb", wholeTable("zwjbdmb"),
                 "级别编码", "级别编码", "级别名称", "级别名称", {}, {},
                 "职务级别", {{"级别编码", "编号"}, {"级别名称", "级别名称"}}});
    m.push_back({"Tfrmjsfl", title("专业技术分类代码表"), "jslbdmb",
                 "select * from jslbdmb where 类别编码<>'00' order by 类别编码",
                 "分类编号", "类别编码", "技术类别", "类别名称", {}, "编码输入错误！",
                 "技术分类", {{"类别编码", "编号"}, {"类别名称", "技术类别"}}});
    m.push_back({"Tfrmzwdm", title("职务代码表"), "zwdmb",
                 "select * from zwdmb where 职务编码<>'00' order by 职务编码",
                 "职务编码", "职务编码", "职务名称", "职务名称",
                 {list("职务级别", "职务级别")},
                 "职务编码输入错误！", "职务信息", {{"职务编码", "编号"}, {"职务名称", "职务名称"}}});
    m.push_back({"Tfrmmzdm", title("民族代码表"), "mzdmb", wholeTable("mzdmb"),
                 "民族编号", "民族编码", "民族名称", "民族名称", {}, {},
                 "民族代码", {{"民族编码", "编号"}, {"民族名称", "民族名称"}}});
    m.push_back({"Tfrmwhcddm", title("文化程度代码表"), "whcddmb", wholeTable("whcddmb"),
                 "文化程度编号", "文化程度编码", "文化程度", "文化程度",
                 {role("级别", "文化程度编码", BoxRole::SecondCodeBox)}, {},
                 "文化程度", {{"文化程度编码", "编号"}, {"文化程度", "文化程度"}}});
    m.push_back({"Tfrmcqfs", title("出勤方式代码表"), "kqfsb", wholeTable("kqfsb"),
                 "方式编码", "方式编码", "出勤方式", "方式名称", {}, {},
                 "出勤方式", {{"方式编码", "编码"}, {"方式名称", "出勤方式"}}, false, true});
    m.push_back({"Tfrmczydm", title("操作员代码表"), "czydmb", wholeTable("czydmb"),
                 "操作员编号", "czybh", "操作员姓名", "czyxm",
                 {role("操作员密码", "czymm", BoxRole::StoredPassword), role("设置密码", {}, BoxRole::NewPassword),
                  {{.label = "角色", .column = "角色", .kind = edit::Kind::PickList, .choices = rights::roles(),
                    .check = edit::Check::NotBlank, .message = "角色未填写，请重新输入！"}}},
                 {}, "操作员信息", {{"czybh", "编号"}, {"czyxm", "姓名"}, {"角色", "角色"}}, true, true});
    m.push_back({"Tfrmgzgs", title("工资表字段维护"), "gzzd", wholeTable("gzzd"),
                 "字段名", "字段", "计算公式", "公式", {}, {},
                 "文化程度", {{"字段", "字段"}}, true, false, false,
                 "此公式只适用于工资表内字段之间的计算", true});
    m.push_back({"Tfrmdcdmb", title("岗位技能档次代码表"), "gwjndmb", wholeTable("gwjndmb"),
                 "档次代码", "档次编码", "岗位技能档次", "档次名称", {}, {},
                 "职务信息", {{"档次编码", "编码"}, {"档次名称", "档次名称"}}});
    m.push_back({"Tfrmdjzwdcdmb", title("等级（职务）档次代码表"), "zwdjdmb", wholeTable("zwdjdmb"),
                 "等级编码", "等级编码", "等级名称", "等级名称",
                 {money("等级工资", "等级工资")}, {},
                 "级别信息", {{"等级编码", "编码"}, {"等级名称", "等级名称"}}});
    m.push_back({"Tfrmdclbdmb", title("岗位技能类别代码表"), "gwjnlbb", wholeTable("gwjnlbb"),
                 "类别编码", "类别编码", "类别名称", "类别名称", {}, {},
                 "职务信息", {{"类别编码", "类别"}, {"类别名称", "类别名称"}}});
    for (Member &member : m)
        for (Box &box : member.boxes)
            box.field.table = member.table;
    return m;
}

}  // namespace

edit::Field Member::codeField() const { return {.label = codeLabel, .table = table, .column = codeColumn}; }

edit::Field Member::nameField() const { return {.label = nameLabel, .table = table, .column = nameColumn}; }

edit::Fields Member::rowFields() const
{
    edit::Fields fields = {codeField(), nameField()};
    for (const Box &box : boxes)
        if (box.role == BoxRole::Plain)
            fields.push_back(box.field);
    return fields;
}

const std::vector<Member> &members()
{
    static const std::vector<Member> all = buildMembers();
    return all;
}

const Member *findMember(const QString &className)
{
    for (const Member &m : members())
        if (m.className == className)
            return &m;
    return nullptr;
}

const DeleteTexts &deleteTexts(const Member &member)
{
    static const DeleteTexts codeRow{QStringLiteral("确定要删除本职务信息吗？"),
                                     QStringLiteral("由于本职务有人担任，\n无法删除本职务信息！")};
    static const DeleteTexts salaryItem{QStringLiteral("确定要删除本字段信息吗？"),
                                        QStringLiteral("无法删除本字段信息！")};
    return member.salaryItems ? salaryItem : codeRow;
}

}  // namespace codes
