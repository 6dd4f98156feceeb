#include "query/condition.h"

#include "db/sql.h"

#include <map>

namespace query {
namespace {

QString comparator(Comparison c)
{
    switch (c) {
    case Comparison::Equal: return "=";
    case Comparison::AtOrAbove: return "<=";
    case Comparison::AtOrBelow: return ">=";
    }
    return "=";
}

class Builder {
public:
    void add(const QString &column, const QString &op, const QString &parameter, const QVariant &value)
    {
        condition.text += QString(" and %1%2:%3").arg(column, op, parameter);
        condition.values.insert(":" + parameter, value);
    }
    void code(const QString &column, const QString &parameter, const QString &value,
              Comparison comparison = Comparison::Equal)
    {
        if (!value.isEmpty())
            add(column, comparator(comparison), parameter, value);
    }
    void years(const QString &dateColumn, const QString &op, const QString &parameter, std::optional<int> value)
    {
        if (value)
            add(QString("datediff('YYYY',%1,date())").arg(dateColumn), op, parameter, *value);
    }
    Condition condition;
};

}  // namespace

QList<code_items::Item> listItems(const QSqlDatabase &db, const QString &label)
{
    static const std::map<QString, QString> tables = {
        {"文化程度", "whcddmb"}, {"部门名称", "dwdmb"},   {"政治面貌", "dpdmb"},   {"现任职务", "zwdmb"},
        {"岗位类别", "gwjnlbb"}, {"岗位技能", "gwjndmb"}, {"职务级别", "zwjbdmb"}, {"技术分类", "jslbdmb"},
        {"职称级别", "zcjbdmb"},
    };
    return code_items::codeItems(db, tables.at(label));
}

QString prefixPattern(const QString &prefix)
{
    QString escaped = prefix;
    escaped.replace('\\', "\\\\").replace('%', "\\%").replace('_', "\\_");
    return escaped + '%';
}

QString describe(const Choices &c, const std::function<QString(const QString &label, const QString &code)> &shown)
{
    QStringList parts;
    const QString name = c.name.trimmed();
    if (!name.isEmpty())
        parts << (c.nameMatch == NameMatch::Equal ? QStringLiteral("职工姓名：%1") : QStringLiteral("职工姓名：以“%1”开头")).arg(name);
    const auto range = [&](const QString &label, std::optional<int> from, std::optional<int> to) {
        if (from && to)
            parts << QStringLiteral("%1：%2至%3").arg(label).arg(*from).arg(*to);
        else if (from)
            parts << QStringLiteral("%1：%2以上").arg(label).arg(*from);
        else if (to)
            parts << QStringLiteral("%1：%2以下").arg(label).arg(*to);
    };
    const auto code = [&](const QString &label, const QString &value, Comparison comparison = Comparison::Equal) {
        if (value.isEmpty())
            return;
        const QString text = shown ? shown(label, value) : value;
        parts << label + QStringLiteral("：") + (text.isEmpty() ? value : text)
                     + (comparison == Comparison::AtOrAbove   ? QStringLiteral("及以上")
                        : comparison == Comparison::AtOrBelow ? QStringLiteral("及以下")
                                                              : QString());
    };
    range(QStringLiteral("职工年龄"), c.ageFrom, c.ageTo);
    code(QStringLiteral("文化程度"), c.education, c.educationComparison);
    code(QStringLiteral("部门名称"), c.department);
    range(QStringLiteral("职工工龄"), c.serviceFrom, c.serviceTo);
    code(QStringLiteral("政治面貌"), c.party);
    code(QStringLiteral("现任职务"), c.position);
    if (c.staff != StaffKind::All)
        parts << (c.staff == StaffKind::Cadre ? QStringLiteral("干部") : QStringLiteral("普通职工"));
    if (c.staff == StaffKind::Ordinary)
        code(QStringLiteral("岗位类别"), c.postCategory);
    code(QStringLiteral("岗位技能"), c.skillGrade, c.skillGradeComparison);
    code(QStringLiteral("职务级别"), c.positionLevel, c.positionLevelComparison);
    code(QStringLiteral("技术分类"), c.technicalCategory);
    code(QStringLiteral("职称级别"), c.titleLevel, c.titleLevelComparison);
    return parts.join(QStringLiteral("；"));
}

Condition build(const Choices &c, const std::function<QString(const QString &label, const QString &code)> &shown)
{
    Builder b;
    const QString name = c.name.trimmed();
    if (!name.isEmpty()) {
        if (c.nameMatch == NameMatch::Equal) {
            b.add("zghmc.职工姓名", "=", "zgcx_name", name);
        } else {
            b.condition.text += " and zghmc.职工姓名 like :zgcx_name escape '\\'";
            b.condition.values.insert(":zgcx_name", prefixPattern(name));
        }
    }
    b.years("zghmc.出生年月", ">=", "zgcx_age_from", c.ageFrom);
    b.years("zghmc.出生年月", "<=", "zgcx_age_to", c.ageTo);
    b.years("zghmc.入司时间", ">=", "zgcx_service_from", c.serviceFrom);
    b.years("zghmc.入司时间", "<=", "zgcx_service_to", c.serviceTo);
    b.code("zghmc.文化程度", "zgcx_education", c.education, c.educationComparison);
    b.code("dwdtb.单位编码", "zgcx_department", c.department);
    b.code("zwdtb.职务编码", "zgcx_position", c.position);
    b.code("zwdmb.职务级别", "zgcx_position_level", c.positionLevel, c.positionLevelComparison);
    b.code("zcdmb.技术分类", "zgcx_category", c.technicalCategory);
    b.code("zcdmb.职称级别", "zgcx_title_level", c.titleLevel, c.titleLevelComparison);
    b.code("zghmc.政治面貌", "zgcx_party", c.party);
    if (c.staff == StaffKind::Cadre)
        b.condition.text += " and zcdtb.职称编码<>'00'";
    else if (c.staff == StaffKind::Ordinary)
        b.condition.text += " and zcdtb.职称编码='00'";
    b.code("gwjndtb.档次编码", "zgcx_skill", c.skillGrade, c.skillGradeComparison);
    // The post category is a condition of ordinary staff only.
    if (c.staff == StaffKind::Ordinary)
        b.code("gwjndtb.类别编码", "zgcx_post", c.postCategory);
    b.condition.description = describe(c, shown);
    return b.condition;
}

QSqlQuery withCondition(const QSqlDatabase &db, const QString &base, const Condition &condition)
{
    QSqlQuery q = sql::prepare(db, base + ' ' + condition.text);
    for (auto it = condition.values.cbegin(); it != condition.values.cend(); ++it)
        q.bindValue(it.key(), it.value());
    sql::exec(q);
    return q;
}

}  // namespace query
