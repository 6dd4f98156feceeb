#include "staff/employee_fields.h"

namespace staff {

using edit::Check;
using edit::Field;
using K = edit::Kind;

namespace {

edit::Fields buildFields()
{
    const QString basic = QStringLiteral("基本情况"), study = QStringLiteral("学习情况"),
                         contact = QStringLiteral("联系方式"), work = QStringLiteral("工作情况"),
                         entry = QStringLiteral("进入公司时信息"), bottom = QString();
    // A field of the master row, and one of an entry-time history row.
    const auto master = [](const QString &section, const QString &label, const QString &column, K kind = K::Text,
                           Check check = Check::None, const QString &message = {}) {
        return Field{.label = label, .table = kMasterTable, .column = column, .kind = kind, .check = check,
                     .message = message, .section = section};
    };
    const auto entryRow = [&entry](const QString &label, const QString &table, const QString &column, K kind,
                             Check check = Check::None, const QString &message = {}) {
        return Field{.label = label, .table = table, .column = column, .kind = kind, .check = check,
                     .message = message, .section = entry, .qualified = true};
    };
    const auto pick = [](Field f, const QStringList &choices) {
        f.choices = choices;
        return f;
    };
    Field title = entryRow("技术职称", "zcdtb", "职称编码", K::CodeList, Check::Chosen, "技术职称未填写，请重新输入！");
    // Only the titles of the chosen work type are offered.
    title.filterColumn = "技术分类";
    title.filterField = "zcdtb.类别编码";

    return {
        master(basic, "职工编号", "职工编码", K::Text, Check::NotBlank, "职工编号空，请重新输入！"),
        master(basic, "职工姓名", "职工姓名", K::Text, Check::NotBlank, "职工姓名空，请重新输入！"),
        master(basic, "曾用名", "曾用名"),
        pick(master(basic, "性    别", "职工性别", K::PickList), {"男", "女"}),
        master(basic, "出生日期", "出生年月", K::MaskedDate, Check::Date, "出生日期格式错误，请重新输入！"),
        master(basic, "民  族", "民族编码", K::CodeList),
        master(basic, "籍    贯", "籍贯"),
        master(basic, "出生地", "出生地"),
        master(basic, "身份证号", "身份证号"),
        master(basic, "健康状况", "健康状况"),
        master(basic, "政治面貌", "政治面貌", K::CodeList, Check::Chosen, "政治面貌未填写，请重新输入！"),
        master(basic, "入党(团)时间", "入党时间", K::Date, Check::Date, "入党时间格式错误，请重新输入！"),
        master(study, "文化程度", "文化程度", K::CodeList, Check::Chosen, "文化程度未填写，请重新输入！"),
        pick(master(study, "学位", "获得学位", K::PickList), {"博士学位", "硕士学位", "学士学位", "无学位"}),
        master(study, "毕业时间", "毕业时间", K::Date, Check::OptionalDate, "毕业时间格式错误，请重新输入！"),
        master(study, "毕业学校", "毕业学校"),
        master(study, "所学专业", "所学专业"),
        master(contact, "联系电话", "联系电话"),
        master(contact, "联系地址", "联系地址"),
        // The mobile number lives in the column named for the postcode.
        master(contact, "移动电话", "邮政编码"),
        master(contact, "家庭住址", "家庭住址"),
        // A start-of-work date or an amount the database could not store would otherwise be
        // refused as a duplicate code.
        master(work, "工作时间", "工作时间", K::Date, Check::OptionalDate, "时间格式错误，请重新输入！"),
        master(work, "工作单位", "工作单位"),
        master(entry, "入司时间", "入司时间", K::Date, Check::Date, "入司时间格式错误，请重新输入！"),
        entryRow("部门名称", "dwdtb", "单位编码", K::CodeList, Check::Chosen, "部门名称未填写，请重新输入！"),
        entryRow("工作类型", "zcdtb", "类别编码", K::CodeList, Check::Chosen, "工作类型未填写，请重新输入！"),
        entryRow("担任职务", "zwdtb", "职务编码", K::CodeList, Check::Chosen, "担任职务未填写，请重新输入！"),
        entryRow("职务等级", "zwdjdtb", "等级编码", K::CodeList, Check::Chosen, "等级（职务）档次未填写，请重新输入！"),
        entryRow("等级工资", "zwdjdtb", "等级工资", K::Money, Check::OptionalMoney, "等级工资格式错误，请重新输入！"),
        title,
        entryRow("岗位类别", "gwjndtb", "类别编码", K::CodeList, Check::Chosen, "岗位类别未填写，请重新输入！"),
        entryRow("技能档次", "gwjndtb", "档次编码", K::CodeList, Check::Chosen, "岗位技能档次未填写，请重新输入！"),
        master(bottom, "备注", "备注"),
    };
}

}  // namespace

const edit::Fields &detailFields()
{
    static const edit::Fields fields = buildFields();
    return fields;
}

const edit::Field *findField(const QString &key) { return edit::findField(detailFields(), key); }

QStringList detailSections()
{
    QStringList sections;
    for (const Field &f : detailFields())
        if (!sections.contains(f.section))
            sections << f.section;
    return sections;
}

const std::vector<const edit::Field *> &checkOrder()
{
    static const std::vector<const edit::Field *> order = [] {
        std::vector<const edit::Field *> fields;
        for (const char *key : {"职工编码", "职工姓名", "出生年月", "政治面貌", "入党时间", "文化程度", "毕业时间",
                                "入司时间", "zcdtb.类别编码", "dwdtb.单位编码", "zwdtb.职务编码", "zwdjdtb.等级编码",
                                "zcdtb.职称编码", "gwjndtb.类别编码", "gwjndtb.档次编码", "工作时间",
                                "zwdjdtb.等级工资"})
            fields.push_back(findField(QString::fromUtf8(key)));
        return fields;
    }();
    return order;
}

const QStringList &entryHistoryTables()
{
    static const QStringList tables = {"gwjndtb", "dwdtb", "zwdjdtb", "zcdtb", "zwdtb"};
    return tables;
}

}  // namespace staff
