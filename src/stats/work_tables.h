#pragma once
// The statistics work tables as a family: each rebuild by name, and the table's rows in grid
// order as CSV (for the admin tool and for checking a rebuild by eye).

#include "stats/statistics_reports.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <functional>
#include <map>

namespace stats {

struct WorkTable {
    QString name;
    QString gridOrder;  // ORDER BY of the rows as the grid and the reports show them
    std::function<void(const QSqlDatabase &, const QDate &)> rebuild;  // throws sql::Failure
    std::vector<StatisticsReport> reports;  // printed one after the other

    // The named columns (all with "*") of the rows in grid order.
    QString gridQuery(const QString &columns = QStringLiteral("*")) const
    {
        return QStringLiteral("select %1 from %2 order by %3").arg(columns, name, gridOrder);
    }
};

// Work table name → how it is rebuilt and read.
const std::map<QString, WorkTable> &workTables();

// Every printed report of the work table, laid out over its rows for the cut-off, one after
// the other. Throws sql::Failure.
std::vector<report::Document> printedReports(const QSqlDatabase &db, const QString &workTable, const QDate &cutoff);

// The result of a statement as CSV: a header line of column names, then one line per row.
QString toCsv(const QSqlDatabase &db, const QString &statement);  // throws sql::Failure
QString toCsv(QSqlQuery &executed);

}  // namespace stats
