#include "staff/roster_query.h"

#include "db/code_items.h"
#include "db/employee_listing.h"
#include "db/sql.h"

namespace roster {

const std::vector<Member> &members()
{
    static const std::vector<Member> all = {
        {"Tfrmgbxx", "Trepgbxx", QStringLiteral("  职工花名册 >> 专业技术干部花名册"), QStringLiteral("职称级别"),
         "zcjbdmb", QStringLiteral("zcjbdmb.级别编码=zcdmb.职称级别"), QStringLiteral("zcdtb.类别编码<>'00'"),
         false, true, false, true, QStringLiteral("专业技术干部基本情况表")},
        {"Tfrmkjgbxx", "Trepkjgbxx", QStringLiteral("  职工花名册 >> 科级以上干部花名册"), QStringLiteral("职务级别"),
         "zwjbdmb", QStringLiteral("zwjbdmb.级别编码=zwdmb.职务级别"), QStringLiteral("zcdtb.职称编码<>'00'"),
         true, false, false, false, QStringLiteral("专业技术干部基本情况表")},
        {"Tfrmdyxx", "Trepdyxx", QStringLiteral("  职工花名册 >> 党员花名册"), QStringLiteral("职务级别"),
         "zwjbdmb", QStringLiteral("zwjbdmb.级别编码=zwdmb.职务级别"), QStringLiteral("zcdtb.职称编码<>'00'"),
         true, false, true, true, QString()},
    };
    return all;
}

const Member *findMember(const QString &screenClass)
{
    for (const Member &m : members())
        if (m.screenClass == screenClass)
            return &m;
    return nullptr;
}

std::optional<LevelRange> levelRangeNamed(const QString &caption)
{
    if (caption == QStringLiteral("以上"))
        return LevelRange::Above;
    if (caption == QStringLiteral("等于"))
        return LevelRange::Equal;
    if (caption == QStringLiteral("以下"))
        return LevelRange::Below;
    return std::nullopt;
}

LevelBounds levelBounds(LevelRange range, const QString &level)
{
    switch (range) {
    case LevelRange::Above: return {level, QStringLiteral("00")};
    case LevelRange::Equal: return {level, level};
    case LevelRange::Below: return {QString(), level};
    }
    return {};
}

const QStringList &fieldTitles()
{
    static const QStringList titles = {
        "职工编码", "职工姓名", "现任职务", "任职时间", "性别", "出生年月", "籍贯", "民族", "文化程度", "毕业学校",
        "毕业时间", "所学专业", "政治面貌", "入党（团）时间", "工作时间", "入司时间", "技术职称", "聘任时间", "备注"};
    return titles;
}

QSqlQuery rowQuery(const QSqlDatabase &db, const Member &member, const Filter &filter)
{
    using history::Table;
    const QString lt = member.levelTable;
    const LevelBounds bounds = levelBounds(filter.range, filter.level);
    QStringList where = {member.groupCondition, lt + QStringLiteral(".级别编码>=:lower")};
    if (!bounds.upper.isEmpty())
        where << lt + QStringLiteral(".级别编码<=:upper");
    // A chosen department or category is matched exactly (a code may hold "_" or "%").
    if (!filter.department.isEmpty())
        where << QStringLiteral("dwdtb.单位编码=:dwbm");
    if (member.categoryFilter && !filter.category.isEmpty())
        where << QStringLiteral("zcdtb.类别编码=:zclb");
    if (member.partyFilter)
        where << QStringLiteral("dpdmb.党派编码=:dpbm");

    EmployeeListing listing;
    listing.current(Table::Department).current(Table::Title).current(Table::Position)
        .code("dpdmb", "zghmc.政治面貌").code("mzdmb", "zghmc.民族编码").code("whcddmb", "zghmc.文化程度")
        .code("dwdmb", "dwdtb.单位编码").code("zcdmb", "zcdtb.职称编码").code("zwdmb", "zwdtb.职务编码")
        .join(lt, member.levelJoin);
    const QString statement = QStringLiteral(
        "select zghmc.职工编码, zghmc.职工姓名, zwdmb.职务名称, zwdtb.变动时间, zghmc.职工性别, zghmc.出生年月,"
        " zghmc.籍贯, mzdmb.民族名称, whcddmb.文化程度, zghmc.毕业学校, zghmc.毕业时间, zghmc.所学专业,"
        " dpdmb.党派名称, zghmc.入党时间, zghmc.工作时间, zghmc.入司时间, zcdmb.职称名称, zcdtb.变动时间, zghmc.备注 ")
        + listing.from() + " where " + listing.conditions() + " and " + where.join(QStringLiteral(" and "));

    QSqlQuery q = sql::prepare(db, statement);
    q.setForwardOnly(true);
    q.bindValue(":lower", bounds.lower);
    if (!bounds.upper.isEmpty())
        q.bindValue(":upper", bounds.upper);
    if (!filter.department.isEmpty())
        q.bindValue(":dwbm", filter.department);
    if (member.categoryFilter && !filter.category.isEmpty())
        q.bindValue(":zclb", filter.category);
    if (member.partyFilter)
        q.bindValue(":dpbm", filter.party);
    sql::exec(q);
    return q;
}

QVariantList rowOf(const QSqlQuery &q)
{
    QVariantList row;
    for (int i = 0; i < FieldCount; ++i)
        row << q.value(i);
    return row;
}

QList<QVariantList> read(const QSqlDatabase &db, const Member &member, const Filter &filter)
{
    QSqlQuery q = rowQuery(db, member, filter);
    QList<QVariantList> rows;
    while (q.next())
        rows << rowOf(q);
    return rows;
}

QList<code_items::Item> departments(const QSqlDatabase &db)
{
    return code_items::codeItems(db, QStringLiteral("dwdmb"), {.storedOrder = true});
}

QList<code_items::Item> levelItems(const QSqlDatabase &db, const Member &member)
{
    return code_items::codeItems(db, member.levelTable);
}

QList<code_items::Item> categoryItems(const QSqlDatabase &db)
{
    return code_items::codeItems(db, QStringLiteral("jslbdmb"), {.except = {QStringLiteral("00")}, .storedOrder = true});
}

QList<code_items::Item> partyItems(const QSqlDatabase &db) { return code_items::codeItems(db, QStringLiteral("dpdmb")); }

}  // namespace roster
