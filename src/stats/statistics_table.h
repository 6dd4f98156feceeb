#pragma once
// A statistics table described once: its work table, key and value columns (what each counts,
// its grid title, printed heading and pie slice), group captions, charts, printed reports and
// the rebuild's statement list. The schema, the screen, the reports and `wenpad-admin rebuild`
// are derived from the description. Each table is one file under src/stats/tables/, listed in
// statistics_tables.cpp.

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace sql {
class Dialect;
}

namespace stats {

struct ValueColumn {
    enum class Kind {
        Count,       // whole number: the counted rows meeting `condition`
        Average,     // real: a sum (of ages, of scores), divided by zs at the end of the rebuild
    };
    QString key;        // the work table's column, "nv"
    QString gridTitle;  // "女"
    QString heading;    // printed heading; blanks mark where it may break ("少 数 民 族")
    QString condition;  // who is counted: SQL over the counted rows (counting.h); empty: all
    QString slice = {}; // its label in a pie chart
    Kind kind = Kind::Count;
    QString shareTitle = {};  // grid title of its share; empty: "占比"
};

// A caption over a run of grid columns and its printed group heading (none when empty).
struct GroupCaption {
    QString grid;
    QString printed;
    QString first;  // keys of the first and last value column under it
    QString last;
};

struct Chart {
    QString caption;   // toolbar button, "学历图示"
    QString suffix;    // after the row's name in the chart title, "->学历图示"
    QStringList keys;  // the value columns drawn, each labelled with its slice
};

struct PrintedReport {
    QString name;   // Trepzgjbqkfxb …
    QString title;
    QStringList keys;  // the printed columns in order; empty: every grid column
    bool titleOnEveryPage = false;
    int headingLines = 2;  // text lines of the column heading row
};

// A column as the grid, the report and the schema see it.
struct WorkColumn {
    QString key;
    QString gridTitle;
    QString heading;
    enum class Type { Text, Integer, Real } type;
};

// The days a rebuild counts: up to a cut-off (`to` alone), or over a range, both ends included.
struct Period {
    QDate from;  // invalid for a cut-off
    QDate to;
    Period(const QDate &cutoff) : to(cutoff) {}
    Period(const QDate &first, const QDate &last) : from(first), to(last) {}
    bool isRange() const { return from.isValid(); }
};

struct TableDescription {
    QString name;         // the work table, "zgjbqkfxb"
    QString screenClass;  // "Tfrmzgjbqkfxb"
    QString titleBar;     // "  职工花名册 >> 职工基本情况分析表"
    QString gridLabel;    // "分析表" or "统计表"
    QStringList keys;     // text columns after bz, the name column among them
    QString nameColumn;   // names a row in the grid, the reports and chart titles
    QString nameTitle;    // its grid title ("单位名称")
    QString nameHeading;  // its printed heading ("部门")
    QString codeColumn;   // a key shown before the name column, none when empty
    QString codeTitle;    // its grid title and printed heading ("编码")
    std::vector<ValueColumn> values;
    bool shares = false;  // each count but zs followed by its share (key + "zb")
    QString gridOrder;    // ORDER BY of the rows as the grid and the reports show them
    std::vector<GroupCaption> groups;
    std::vector<Chart> charts;
    std::vector<PrintedReport> reports;  // printed one after the other
    // The rebuild's statements in order, in the form of the database's engine; they read the
    // cut-off as the parameter :d, or, for a table counted over a range, its first and last day
    // as :from and :to.
    std::function<QStringList(const TableDescription &, const sql::Dialect &)> statements;
    bool overRange = false;

    // bz, the keys, then the name column's and the values' grid columns.
    std::vector<WorkColumn> columns() const;
    // The name column, then each value (and its share), as the grid shows them.
    std::vector<WorkColumn> gridColumns() const;
    const ValueColumn &value(const QString &key) const;
    QStringList printedKeys(const PrintedReport &report) const;
    // The named columns of the rows in grid order; by default every column of columns() (not
    // "*": a server's work table has a row number column of its own).
    QString gridQuery(const QString &columnList = {}) const;
    // Empties and refills the work table for the cut-off or the range (as the table counts) in
    // one transaction: on failure the previous rows stay and sql::Failure carries the
    // database's message.
    void rebuild(const QSqlDatabase &db, const Period &period) const;
    // True when the work table holds this cut-off or range and nothing it counts has changed
    // since (work_table_stamp.h): a screen shows it without building it again.
    bool holds(const QSqlDatabase &db, const Period &period) const;
    // The work table is one for all operators: this builds it for the period (unless it holds
    // it already and `rebuilding` is IfChanged) and runs `read` on it, in one write
    // transaction, so no other operator's rebuild for other dates comes between and `read`
    // sees this period's rows whole. Returns whether it was rebuilt. Throws sql::Failure.
    enum class Rebuilding { IfChanged, Always };
    bool readBuilt(const QSqlDatabase &db, const Period &period, const std::function<void()> &read,
                   Rebuilding rebuilding = Rebuilding::IfChanged) const;

private:
    void fill(const QSqlDatabase &db, const Period &period) const;  // rebuild's statements, in the caller's transaction
};

// The dates as titles name them: "截止日期 2003-04-20", "起始日期 2003-01-01 截止日期 2003-04-20".
QString periodCaption(const Period &period);

// The result of a statement as CSV: a header line of `titles` (the column names when empty),
// then one line per row.
QString toCsv(const QSqlDatabase &db, const QString &statement);  // throws sql::Failure
QString toCsv(QSqlQuery &executed, const QStringList &titles = {});
// The table's grid as its screen shows it: the grid's columns under their titles. Throws
// sql::Failure.
QString gridCsv(const QSqlDatabase &db, const TableDescription &table);

// Every statistics table, in the order listed.
const std::vector<const TableDescription *> &statisticsTables();
// The table with this work table name, or nullptr.
const TableDescription *findStatisticsTable(const QString &name);

// Registers each table's work table with the schema, with the register's tables its statements
// read (schema::registerWorkTable). Every program calls it once at start-up, before it opens a
// database.
void registerWorkTables();

}  // namespace stats
