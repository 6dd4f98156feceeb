#pragma once
// The printed statistics tables: landscape A4, the title and the labels "单位：澄禾汀岚分公司"
// and "数字截止时间：" with the cut-off date on the first page, the column headings (with group
// headings), then one ruled row per grid row in grid order.

#include "reports/page_model.h"
#include "stats/count_columns.h"
#include "reports/report.h"

#include <QDate>
#include <QSqlDatabase>
#include <vector>

namespace stats {

// A column of the work table and its heading (blanks mark where a long heading may break).
using ReportColumn = TitledColumn;

struct StatisticsReport {
    QString name;   // Trepzgjbqkfxb …
    QString title;
    std::vector<ReportColumn> columns;
    std::vector<report::GroupHeading> groups;
};

// "2003年04月20日"
QString cutoffLabel(const QDate &cutoff);

report::Report printedStatistics(const StatisticsReport &description, const QDate &cutoff);

// Lays out the work table's rows (in grid order) in the report. Throws sql::Failure.
report::Document layoutStatistics(const QSqlDatabase &db, const QString &workTable,
                                  const StatisticsReport &description, const QDate &cutoff);

// The two reports of the basic situation analysis.
const std::vector<StatisticsReport> &basicSituationReports();

}  // namespace stats
