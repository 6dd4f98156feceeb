#include "stats/statistics_reports.h"

#include "db/sql.h"
#include "reports/layout.h"
#include "stats/work_tables.h"

#include <QStringList>

namespace stats {
namespace {

// A count or share as printed: whole numbers as they are, shares with two decimals.
QString printed(const QVariant &value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'f', 2);
    return value.toString();
}

std::vector<ReportColumn> operator+(std::vector<ReportColumn> a, const std::vector<ReportColumn> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const QString kShare = QStringLiteral("占 比");

}  // namespace

QString cutoffLabel(const QDate &cutoff) { return cutoff.toString(QStringLiteral("yyyy年MM月dd日")); }

report::Report printedStatistics(const StatisticsReport &d, const QDate &cutoff)
{
    report::Report r;
    r.name = d.name;
    r.orientation = QPageLayout::Landscape;
    r.title = d.title;
    r.labels = {{QStringLiteral("单位：澄禾汀岚分公司"), {}, QStringLiteral("数字截止时间：") + cutoffLabel(cutoff)}};
    r.titleOnEveryPage = false;
    r.headingsOnEveryPage = true;
    r.groups = d.groups;
    r.fonts.bodyPt = 8.5;
    r.fonts.headingPt = 8.5;
    for (size_t i = 0; i < d.columns.size(); ++i) {
        const bool name = i == 0;  // the row's name is text, every other column a number
        r.columns.push_back({d.columns[i].title, name ? 3.0 : 1.0,
                             name ? report::Align::Left : report::Align::Right,
                             [i](const report::Row &row, int) { return printed(row.value(int(i))); }});
    }
    return r;
}

report::Document layoutStatistics(const QSqlDatabase &db, const QString &workTable,
                                  const StatisticsReport &d, const QDate &cutoff)
{
    QStringList fields;
    for (const ReportColumn &c : d.columns)
        fields << c.field;
    QSqlQuery q = sql::prepare(db, workTables().at(workTable).gridQuery(fields.join(',')));
    q.setForwardOnly(true);
    sql::exec(q);
    QList<report::Row> rows;
    while (q.next()) {
        report::Row row;
        for (int i = 0; i < fields.size(); ++i)
            row << q.value(i);
        rows << row;
    }
    return report::layout(printedStatistics(d, cutoff), rows);
}

const std::vector<StatisticsReport> &basicSituationReports()
{
    static const std::vector<StatisticsReport> reports = {
        {"Trepzgjbqkfxb", "职工基本情况分析表1",
         std::vector<ReportColumn>{{"dwmc", "部门"}, {"zs", "总数"}}
             + withShares({{"nv", "女"}, {"ssmz", "少 数 民 族"}, {"bs", "博 士 生"}, {"ss", "硕 士 生"},
                           {"bk", "大 学 本 科"}, {"dz", "大 学 专 科"}, {"zz", "中 专 以 下"},
                           {"dy", "共 产 党 员"}, {"ty", "共 青 团 员"}, {"mz", "民 主 党 派"}, {"qt", "其 他"}},
                          kShare),
         {{6, 10, "学         历"}, {16, 8, "政治情况"}}},
        {"Trepzgjbqkfxb2", "职工基本情况分析表2",
         std::vector<ReportColumn>{{"dwmc", "部门"}, {"zs", "总数"}}
             + withShares({{"l25", "25 岁 以 下"}, {"f25t30", "25 岁 至 30 岁"}, {"f30t35", "30 岁 至 35 岁"},
                           {"f35t40", "35 岁 至 40 岁"}, {"f40t45", "40 岁 至 45 岁"}, {"f45t50", "45 岁 至 50 岁"},
                           {"f50t55", "50 岁 至 55 岁"}, {"f55t60", "55 岁 至 60 岁"}},
                          kShare),
         {}},
    };
    return reports;
}

}  // namespace stats
