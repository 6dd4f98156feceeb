#include "staff/employee_fields.h"

#include "db/schema.h"

namespace staff {

QString Field::key() const { return table == kMasterTable ? column : table + '.' + column; }

int Field::width() const
{
    if (const schema::Table *t = schema::findTable(table))
        for (const schema::Column &c : t->columns)
            if (c.name == column)
                return c.kind == schema::Kind::Text || c.kind == schema::Kind::Code ? c.width : 0;
    return 0;
}

const std::vector<Field> &detailFields()
{
    using C = Control;
    static const QString basic = QStringLiteral("基本情况"), study = QStringLiteral("学习情况"),
                         contact = QStringLiteral("联系方式"), work = QStringLiteral("工作情况"),
                         entry = QStringLiteral("进入公司时信息"), bottom = QString();
    static const std::vector<Field> fields = {
        {basic, "职工编号", "zghmc", "职工编码", C::Text},
        {basic, "职工姓名", "zghmc", "职工姓名", C::Text},
        {basic, "曾用名", "zghmc", "曾用名", C::Text},
        {basic, "性    别", "zghmc", "职工性别", C::Choice, {"男", "女"}},
        {basic, "出生日期", "zghmc", "出生年月", C::MaskedDate},
        {basic, "民  族", "zghmc", "民族编码", C::Lookup, {}, {"mzdmb", "民族编码", "民族名称"}},
        {basic, "籍    贯", "zghmc", "籍贯", C::Text},
        {basic, "出生地", "zghmc", "出生地", C::Text},
        {basic, "身份证号", "zghmc", "身份证号", C::Text},
        {basic, "健康状况", "zghmc", "健康状况", C::Text},
        {basic, "政治面貌", "zghmc", "政治面貌", C::Lookup, {}, {"dpdmb", "党派编码", "党派名称"}},
        {basic, "入党(团)时间", "zghmc", "入党时间", C::Date},
        {study, "文化程度", "zghmc", "文化程度", C::Lookup, {}, {"whcddmb", "文化程度编码", "文化程度"}},
        {study, "学位", "zghmc", "获得学位", C::Choice, {"博士学位", "硕士学位", "学士学位", "无学位"}},
        {study, "毕业时间", "zghmc", "毕业时间", C::Date},
        {study, "毕业学校", "zghmc", "毕业学校", C::Text},
        {study, "所学专业", "zghmc", "所学专业", C::Text},
        {contact, "联系电话", "zghmc", "联系电话", C::Text},
        {contact, "联系地址", "zghmc", "联系地址", C::Text},
        // The mobile number lives in the column named for the postcode.
        {contact, "移动电话", "zghmc", "邮政编码", C::Text},
        {contact, "家庭住址", "zghmc", "家庭住址", C::Text},
        {work, "工作时间", "zghmc", "工作时间", C::Date},
        {work, "工作单位", "zghmc", "工作单位", C::Text},
        {entry, "入司时间", "zghmc", "入司时间", C::Date},
        {entry, "部门名称", "dwdtb", "单位编码", C::Lookup, {}, {"dwdmb", "单位编码", "单位名称"}},
        {entry, "工作类型", "zcdtb", "类别编码", C::Lookup, {}, {"jslbdmb", "类别编码", "类别名称"}},
        {entry, "担任职务", "zwdtb", "职务编码", C::Lookup, {}, {"zwdmb", "职务编码", "职务名称"}},
        {entry, "职务等级", "zwdjdtb", "等级编码", C::Lookup, {}, {"zwdjdmb", "等级编码", "等级名称"}},
        {entry, "等级工资", "zwdjdtb", "等级工资", C::Money},
        {entry, "技术职称", "zcdtb", "职称编码", C::Lookup, {},
         {"zcdmb", "职称编码", "职称名称", "技术分类", "zcdtb.类别编码"}},
        {entry, "岗位类别", "gwjndtb", "类别编码", C::Lookup, {}, {"gwjnlbb", "类别编码", "类别名称"}},
        {entry, "技能档次", "gwjndtb", "档次编码", C::Lookup, {}, {"gwjndmb", "档次编码", "档次名称"}},
        {bottom, "备注", "zghmc", "备注", C::Text},
    };
    return fields;
}

const Field *findField(const QString &key)
{
    for (const Field &f : detailFields())
        if (f.key() == key)
            return &f;
    return nullptr;
}

QStringList detailSections()
{
    QStringList sections;
    for (const Field &f : detailFields())
        if (!sections.contains(f.section))
            sections << f.section;
    return sections;
}

const QStringList &entryHistoryTables()
{
    static const QStringList tables = {"gwjndtb", "dwdtb", "zwdjdtb", "zwdtb", "zcdtb"};
    return tables;
}

}  // namespace staff
