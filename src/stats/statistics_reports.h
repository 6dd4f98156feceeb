#pragma once
// The printed statistics tables: landscape A4, the title and the labels "单位：澄禾汀岚分公司"
// and "数字截止时间：" with the cut-off date or "统计时间：" with the range (on the first page, or on every page where the
// table says so), the column headings with group headings, then one ruled row per grid row in
// grid order.

#include "reports/page_model.h"
#include "reports/report.h"
#include "stats/statistics_table.h"

#include <QDate>
#include <QSqlDatabase>
#include <vector>

namespace stats {

// "2003年04月20日"
QString cutoffLabel(const QDate &cutoff);

report::Report printedStatistics(const TableDescription &table, const PrintedReport &printed, const Period &period);

// Every printed report of the table, laid out over its rows for the cut-off or range, one after
// the other. Throws sql::Failure.
std::vector<report::Document> printedReports(const QSqlDatabase &db, const TableDescription &table,
                                             const Period &period);

}  // namespace stats
