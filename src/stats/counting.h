#pragma once
// Building blocks of the rebuild statements. Every statement reads the cut-off as the bound
// parameter :d (and the year bounds below as parameters of their own, cutoffParameters()). The counted rows are each employee's history rows in force on :d (taken once,
// as a snapshot, instead of once per column) joined with the employee's columns 职工性别,
// 民族编码, 文化程度, 政治面貌, 出生年月, 工作时间 and 入党时间, which conditions name directly.

#include "stats/statistics_table.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace sql {
class Dialect;
}

namespace stats::counting {

// Calendar years from the date in `column` to the cut-off (the cut-off's year minus the
// date's year; an empty date is in no range), written as a range of the date itself so that
// it is compared as text with a bound worked out once, when the statement is bound.
QString yearsAtMost(const QString &column, int years);
QString yearsAbove(const QString &column, int years);
QString yearsAtLeast(const QString &column, int years);
// low < years ≤ high, the usual form of a five-year band.
QString yearsOver(const QString &column, int low, int high);
// The parameters a statement reads and their values for the cut-off: :d and the year bounds.
std::vector<std::pair<QString, QDate>> cutoffParameters(const QString &statement, const QDate &cutoff);

// The snapshots are in the form of the database's engine (`dialect`).
//
// Each employee's department row in force on :d as `dwbm`, with the employee's columns and
// `zgbm` (empty when the employee is missing from zghmc: the row is still there, so that
// count(*) counts history rows). `extraColumns` are selected too, from `joins` on the alias
// s (the snapshot).
QString departmentRows(const sql::Dialect &dialect, const QString &extraColumns = {}, const QString &joins = {});
// The snapshot of one history as a subquery: 职工编码 and the named columns of the row in
// force on :d.
QString inForceSnapshot(const sql::Dialect &dialect, const QString &historyTable, const QStringList &columns);
// The same snapshot as a common table expression "name as materialized (…)", worked out once:
// on the right of a left join the subquery would be worked out again for every row on its left.
QString snapshotTable(const sql::Dialect &dialect, const QString &name, const QString &historyTable,
                      const QStringList &columns);

enum class Empty {
    WhenNone,  // a grouped count: a column nobody matched stays empty
    Zero,      // one row over everything: nobody matched gives 0
};
enum class Averages { Summed, Left };  // the age sum of an Average column, or left empty

// The value columns written by a counting statement, and their aggregates in the same order.
QString valueList(const std::vector<ValueColumn> &values, Averages averages = Averages::Summed);
// The age at the cut-off, what an Average column sums unless told otherwise.
extern const QString kAgeAtCutoff;
// An Average column sums `averaged`.
QString aggregates(const std::vector<ValueColumn> &values, Empty empty, Averages averages = Averages::Summed,
                   const QString &averaged = kAgeAtCutoff);
// sum(zs),sum(nv),… over rows already counted.
QString sums(const std::vector<ValueColumn> &values);

// One grouped pass over the snapshot that feeds several kinds of rows: partialCounts() keeps
// each value column's count (0 included) or age sum under the column's own key, per fine
// group; rolledUp() sums those groups into the rows shown, empty or 0 where nobody matched as
// `empty` says, and with Averages::Left an empty (null) average, so the lists of all kinds of
// rows have the same columns.
QString partialCounts(const std::vector<ValueColumn> &values);
QString rolledUp(const std::vector<ValueColumn> &values, Empty empty, Averages averages = Averages::Summed);

// The total row (bz "3", "汀岚分公司" in `nameColumn`) summing the rows of bz "2".
QString totalRow(const TableDescription &table, const QString &nameColumn);

// The statements that end every rebuild: each share 100 × count ÷ zs, each age sum ÷ zs,
// on the rows whose zs is not 0.
QStringList finishing(const TableDescription &table);

// Empties the table, then writes one row (bz "2") per department of the counted rows that
// pass `filter` (over departmentRows()), named from dwdmb, and the total row (bz "3",
// "汀岚分公司") summing them.
QStringList perDepartment(const TableDescription &table, const sql::Dialect &dialect, const QString &filter = "dwbm<'97'");

// "汀岚分公司": the organisation's own name in every total row.
extern const QString kOrganisation;

}  // namespace stats::counting
