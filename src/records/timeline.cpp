#include "records/timeline.h"

#include "db/clock.h"
#include "db/dialect.h"
#include "db/history.h"
#include "db/sql.h"
#include "db/transaction.h"
#include "reports/layout.h"

#include <array>

namespace records {
namespace {

using history::Table;

// What a timeline line takes from each history, in the order gzdtjlb stores the codes.
struct Source {
    Table table;
    QStringList columns;
};
const std::array<Source, 4> kSources = {{
    {Table::Position, {"职务编码"}},
    {Table::SkillGrade, {"类别编码", "档次编码"}},
    {Table::Title, {"职称编码"}},
    {Table::Department, {"单位编码"}},
}};

// The codes of the history row in force on the date (empty when there is none).
QVariantList codesInForceOn(const QSqlDatabase &db, const Source &source, const QString &employee, const QDate &date)
{
    const std::optional<qint64> id = history::latestDatedOn(db, source.table, employee, date);
    QVariantList codes(source.columns.size());
    if (!id)
        return codes;
    QSqlQuery q = sql::prepare(db, QStringLiteral("select %1 from %2 where 自动编号=:id")
                                       .arg(source.columns.join(", "), history::tableName(source.table)));
    q.bindValue(":id", *id);
    sql::exec(q);
    if (q.next())
        for (int i = 0; i < codes.size(); ++i)
            codes[i] = q.value(i);
    return codes;
}

}  // namespace

void rebuildTimeline(const QSqlDatabase &db, const QString &employee)
{
    Transaction transaction(db);
    const QList<QDate> dates = history::changeDates(db, employee);
    sql::exec(db, QStringLiteral("delete from gzdtjlb"));
    QSqlQuery insert = sql::prepareInsert(db, QStringLiteral("gzdtjlb"),
                                          {"职工编码", "变动时间", "职务编码", "类别编码", "档次编码", "职称编码",
                                           "单位编码", "时数"});
    for (int i = 0; i < dates.size(); ++i) {
        const QDate next = i + 1 < dates.size() ? dates[i + 1] : clock_source::today();
        QVariantList line = {employee, sql::dateValue(dates[i])};
        for (const Source &source : kSources)
            line += codesInForceOn(db, source, employee, dates[i]);
        line << dates[i].daysTo(next);
        sql::bindRow(insert, line);
        sql::exec(insert);
    }
    transaction.commit();
}

const QStringList &timelineColumns()
{
    static const QStringList columns = {"变动时间", "单位名称", "职务名称", "职称名称", "岗位技能档次", "时数"};
    return columns;
}

bool timelineHolds(const QSqlDatabase &db, const QString &employee)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select count(*) from gzdtjlb where 职工编码<>:zgbm"));
    q.bindValue(":zgbm", employee);
    sql::exec(q);
    return q.next() && q.value(0).toLongLong() == 0;
}

QSqlQuery timelineRows(const QSqlDatabase &db, const QString &employee)
{
    QSqlQuery q = sql::prepare(
        db, "select gzdtjlb.变动时间, dwdmb.单位名称, zwdmb.职务名称, zcdmb.职称名称, "
            "gwjnlbb.类别名称 || gwjndmb.档次名称 as 岗位技能档次, gzdtjlb.时数 "
            "from " + sql::dialect(db).joinedInOrder({"gzdtjlb", "dwdmb", "zwdmb", "zcdmb", "gwjnlbb", "gwjndmb"})
            + " where gzdtjlb.职工编码=:zgbm and dwdmb.单位编码=gzdtjlb.单位编码 and zwdmb.职务编码=gzdtjlb.职务编码 "
              "and zcdmb.职称编码=gzdtjlb.职称编码 and gwjnlbb.类别编码=gzdtjlb.类别编码 "
              "and gwjndmb.档次编码=gzdtjlb.档次编码 order by gzdtjlb.变动时间");
    q.bindValue(":zgbm", employee);
    sql::exec(q);
    return q;
}

report::Document printedTimeline(const QSqlDatabase &db, const QString &employee, const QString &name)
{
    QList<report::Row> rows;
    QSqlQuery q = timelineRows(db, employee);
    while (q.next()) {
        report::Row row;
        for (int i = 0; i < timelineColumns().size(); ++i)
            row << q.value(i);
        rows << row;
    }
    using report::Align;
    report::Report r;
    r.name = QStringLiteral("Trepgzdttj");
    r.orientation = QPageLayout::Portrait;
    r.title = QStringLiteral("个人工作动态统计");
    r.labels = {{QStringLiteral("职工编号：") + employee, QStringLiteral("职工姓名：") + name, {}}};
    r.headingLines = 1;
    const std::array<std::pair<double, Align>, 6> shapes = {{
        {14, Align::Centre}, {22, Align::Left}, {18, Align::Left}, {18, Align::Left}, {22, Align::Left}, {10, Align::Right}}};
    for (int i = 0; i < timelineColumns().size(); ++i)
        r.columns.push_back({timelineColumns()[i], shapes[size_t(i)].first, shapes[size_t(i)].second, report::field(i)});
    return report::layout(r, rows);
}

}  // namespace records
