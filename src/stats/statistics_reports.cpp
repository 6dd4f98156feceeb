#include "stats/statistics_reports.h"

#include "db/sql.h"
#include "reports/layout.h"

#include <QStringList>

namespace stats {
namespace {

// A count or share as printed: whole numbers as they are, shares and averages with two decimals.
QString printed(const QVariant &value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'f', 2);
    return value.toString();
}

report::Document layoutStatistics(const QSqlDatabase &db, const TableDescription &table,
                                  const PrintedReport &printedReport, const Period &period)
{
    const QStringList keys = table.printedKeys(printedReport);
    QSqlQuery q = sql::prepare(db, table.gridQuery(keys.join(',')));
    q.setForwardOnly(true);
    sql::exec(q);
    QList<report::Row> rows;
    while (q.next()) {
        report::Row row;
        for (int i = 0; i < keys.size(); ++i)
            row << q.value(i);
        rows << row;
    }
    return report::layout(printedStatistics(table, printedReport, period), rows);
}

}  // namespace

QString cutoffLabel(const QDate &cutoff) { return cutoff.toString(QStringLiteral("yyyy年MM月dd日")); }

report::Report printedStatistics(const TableDescription &table, const PrintedReport &p, const Period &period)
{
    report::Report r;
    r.name = p.name;
    r.orientation = QPageLayout::Landscape;
    r.title = p.title;
    const QString dates = period.isRange() ? QStringLiteral("统计时间：%1至%2").arg(cutoffLabel(period.from), cutoffLabel(period.to))
                                           : QStringLiteral("数字截止时间：") + cutoffLabel(period.to);
    r.labels = {{QStringLiteral("单位：澄禾汀岚分公司"), {}, dates}};
    r.titleOnEveryPage = p.titleOnEveryPage;
    r.headingsOnEveryPage = true;
    r.headingLines = p.headingLines;
    r.fonts.bodyPt = 8.5;
    r.fonts.headingPt = 8.5;
    const std::vector<WorkColumn> columns = table.gridColumns();
    const QStringList keys = table.printedKeys(p);
    for (int i = 0; i < keys.size(); ++i) {
        const auto c = std::find_if(columns.begin(), columns.end(), [&](const WorkColumn &w) { return w.key == keys[i]; });
        const bool text = c->type == WorkColumn::Type::Text;  // the row's code or name; every other column a number
        const bool name = c->key == table.nameColumn;
        // A heading with a word too long for a number's width ("1966年") gets a wider column.
        qsizetype longestWord = 0;
        for (const QString &word : c->heading.split(' ', Qt::SkipEmptyParts))
            longestWord = std::max(longestWord, word.size());
        const double weight = name ? 3.0 : longestWord > 4 ? 1.5 : 1.0;
        r.columns.push_back({c->heading, weight, text ? report::Align::Left : report::Align::Right,
                             [i](const report::Row &row, int) { return printed(row.value(i)); }});
    }
    // A group heading spans its columns and the share after the last of them.
    for (const GroupCaption &g : table.groups) {
        const int first = keys.indexOf(g.first);
        const int last = std::max(keys.indexOf(g.last), keys.indexOf(g.last + "zb"));
        if (!g.printed.isEmpty() && first >= 0 && last >= first)
            r.groups.push_back({first, last - first + 1, g.printed});
    }
    return r;
}

std::vector<report::Document> printedReports(const QSqlDatabase &db, const TableDescription &table, const Period &period)
{
    std::vector<report::Document> documents;
    for (const PrintedReport &p : table.reports)
        documents.push_back(layoutStatistics(db, table, p, period));
    return documents;
}

}  // namespace stats
