#include "records/work_dynamics.h"

#include "db/sql.h"

namespace records {

const std::vector<HistoryGroup> &historyGroups()
{
    using history::Table;
    static const std::vector<HistoryGroup> groups = {
        {QStringLiteral("单位动态"), Table::Department, "dwdmb", "dwdmb.单位编码=dwdtb.单位编码", {"单位编码"}, {"单位名称"}},
        {QStringLiteral("职称动态"), Table::Title, "zcdmb cross join jslbdmb",
         "zcdmb.职称编码=zcdtb.职称编码 and jslbdmb.类别编码=zcdtb.类别编码", {"类别编码", "职称编码"},
         {"类别名称", "职称名称"}},
        {QStringLiteral("职务动态"), Table::Position, "zwdmb", "zwdmb.职务编码=zwdtb.职务编码", {"职务编码"}, {"职务名称"}},
        {QStringLiteral("岗位技能档次动态"), Table::SkillGrade, "gwjnlbb cross join gwjndmb",
         "gwjnlbb.类别编码=gwjndtb.类别编码 and gwjndmb.档次编码=gwjndtb.档次编码", {"类别编码", "档次编码"},
         {"类别名称", "档次名称", "变动理由"}},
    };
    return groups;
}

QSqlQuery historyRows(const QSqlDatabase &db, const HistoryGroup &group, const QString &employee)
{
    const QString t = history::tableName(group.table);
    QStringList columns = {t + ".自动编号", t + ".变动时间"};
    for (const QString &c : group.shown)
        columns << c;
    for (const QString &c : group.codeColumns)
        columns << QStringLiteral("%1.%2 as %2").arg(t, c);
    // The employee's rows come first through the history's index, then their names.
    QSqlQuery q = sql::prepare(db, QStringLiteral("select %1 from %2 cross join %3 where %2.职工编码=:zgbm and %4 "
                                                  "order by %2.自动编号")
                                       .arg(columns.join(", "), t, group.namesFrom, group.nameJoins));
    q.bindValue(":zgbm", employee);
    sql::exec(q);
    return q;
}

}  // namespace records
