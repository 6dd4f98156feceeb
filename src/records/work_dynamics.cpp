#include "records/work_dynamics.h"

#include "app/edit_rows.h"
#include "db/dialect.h"
#include "db/sql.h"

namespace records {

namespace {

using edit::Check;
using edit::Kind;

edit::Field changeDate(const char *table)
{
    return {.label = QStringLiteral("变动时间"), .table = table, .column = QStringLiteral("变动时间"), .kind = Kind::Date,
            .check = Check::Date, .message = QStringLiteral("变动时间不是正确的日期（年-月-日）")};
}

edit::Field codeList(const char *label, const char *table, const char *column, const QString &filterColumn = {},
                     const QString &filterField = {})
{
    return {.label = label, .table = table, .column = column, .kind = Kind::CodeList, .filterColumn = filterColumn,
            .filterField = filterField, .check = Check::Chosen,
            .message = QStringLiteral("请从列表中选择%1").arg(QString::fromUtf8(label))};
}

}  // namespace

QStringList HistoryGroup::codeColumns() const
{
    QStringList columns;
    for (const edit::Field &f : fields)
        if (f.kind == Kind::CodeList)
            columns << f.column;
    return columns;
}

const std::vector<HistoryGroup> &historyGroups()
{
    using history::Table;
    static const std::vector<HistoryGroup> groups = {
        {QStringLiteral("单位动态"), Table::Department, {"dwdmb"}, "dwdmb.单位编码=dwdtb.单位编码", {"单位名称"},
         {changeDate("dwdtb"), codeList("单位名称", "dwdtb", "单位编码")}},
        // The title list offers the titles of the chosen technical category.
        {QStringLiteral("职称动态"), Table::Title, {"zcdmb", "jslbdmb"},
         "zcdmb.职称编码=zcdtb.职称编码 and jslbdmb.类别编码=zcdtb.类别编码", {"类别名称", "职称名称"},
         {changeDate("zcdtb"), codeList("技术类别", "zcdtb", "类别编码"),
          codeList("职称名称", "zcdtb", "职称编码", "技术分类", "类别编码")}},
        {QStringLiteral("职务动态"), Table::Position, {"zwdmb"}, "zwdmb.职务编码=zwdtb.职务编码", {"职务名称"},
         {changeDate("zwdtb"), codeList("职务名称", "zwdtb", "职务编码")}},
        {QStringLiteral("岗位技能档次动态"), Table::SkillGrade, {"gwjnlbb", "gwjndmb"},
         "gwjnlbb.类别编码=gwjndtb.类别编码 and gwjndmb.档次编码=gwjndtb.档次编码", {"类别名称", "档次名称", "变动理由"},
         {changeDate("gwjndtb"), codeList("岗位类别", "gwjndtb", "类别编码"), codeList("技能档次", "gwjndtb", "档次编码")}},
    };
    return groups;
}

QSqlQuery historyRows(const QSqlDatabase &db, const HistoryGroup &group, const QString &employee)
{
    const QString t = history::tableName(group.table);
    QStringList columns = {t + ".自动编号", t + ".变动时间"};
    for (const QString &c : group.shown)
        columns << c;
    for (const QString &c : group.codeColumns())
        columns << QStringLiteral("%1.%2 as %2").arg(t, c);
    // The employee's rows come first through the history's index, then their names.
    QSqlQuery q = sql::prepare(db, QStringLiteral("select %1 from %2 where %3.职工编码=:zgbm and %4 "
                                                  "order by %3.自动编号")
                                       .arg(columns.join(", "), sql::dialect(db).joinedInOrder(QStringList{t} + group.namesFrom),
                                            t, group.nameJoins));
    q.bindValue(":zgbm", employee);
    sql::exec(q);
    return q;
}

void saveHistoryRow(const QSqlDatabase &db, const HistoryGroup &group, const QString &employee,
                    const edit::Values &values, std::optional<edit::RecordedRow> row)
{
    std::vector<const edit::Field *> order;
    for (const edit::Field &f : group.fields)
        order.push_back(&f);
    const QString refused = edit::firstFailure(db, order, values);
    if (!refused.isEmpty())
        throw sql::Failure(refused, sql::Failure::Kind::Refused);
    if (row)
        edit::saveRow(db, group.fields, group.tableName(), values, row->key());
    else
        edit::saveRow(db, group.fields, group.tableName(), values, {}, {{QStringLiteral("职工编码"), employee}});
}

}  // namespace records
