#include "reference/roster_plain.h"

#include "db/employee_listing.h"
#include "db/sql.h"

namespace reference {

QList<QVariantList> plainRoster(const QSqlDatabase &db, const roster::Member &member, const roster::Filter &filter)
{
    using history::Table;
    const QString lt = member.levelTable;
    const roster::LevelBounds bounds = roster::levelBounds(filter.range, filter.level);
    QStringList where = {member.groupCondition, lt + ".级别编码>=:lower"};
    if (!bounds.upper.isEmpty())
        where << lt + ".级别编码<=:upper";
    if (!filter.department.isEmpty())
        where << "dwdtb.单位编码=:dwbm";
    if (member.categoryFilter && !filter.category.isEmpty())
        where << "zcdtb.类别编码=:zclb";
    if (member.partyFilter)
        where << "dpdmb.党派编码=:dpbm";
    EmployeeListing listing;
    listing.current(Table::Department).current(Table::Title).current(Table::Position)
        .code("dpdmb", "zghmc.政治面貌").code("mzdmb", "zghmc.民族编码").code("whcddmb", "zghmc.文化程度")
        .code("dwdmb", "dwdtb.单位编码").code("zcdmb", "zcdtb.职称编码").code("zwdmb", "zwdtb.职务编码")
        .join(lt, member.levelJoin);
    QSqlQuery q = sql::prepare(db, "select zghmc.职工编码, zghmc.职工姓名, zwdmb.职务名称, zwdtb.变动时间, zghmc.职工性别, zghmc.出生年月,"
              " zghmc.籍贯, mzdmb.民族名称, whcddmb.文化程度, zghmc.毕业学校, zghmc.毕业时间, zghmc.所学专业,"
              " dpdmb.党派名称, zghmc.入党时间, zghmc.工作时间, zghmc.入司时间, zcdmb.职称名称, zcdtb.变动时间, zghmc.备注 "
              + listing.from() + " where " + listing.conditions() + " and " + where.join(" and ")
              + " order by zghmc.职工编码");
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
    QList<QVariantList> rows;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < roster::FieldCount; ++i)
            row << sql::cell(q, i);
        rows << row;
    }
    return rows;
}

}  // namespace reference
