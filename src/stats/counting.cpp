#include "stats/counting.h"

#include "db/dialect.h"

#include <QRegularExpression>
#include <QSet>

namespace stats::counting {

const QString kOrganisation = QStringLiteral("汀岚分公司");

namespace {

// 1 January of the year `years` before the cut-off's year: a parameter of its own, bound by
// cutoffParameters().
const QString kYearStart = QStringLiteral(":jan1_");

QString yearStart(int years) { return kYearStart + QString::number(years); }

}  // namespace

std::vector<std::pair<QString, QDate>> cutoffParameters(const QString &statement, const QDate &cutoff)
{
    std::vector<std::pair<QString, QDate>> parameters = {{":d", cutoff}};
    static const QRegularExpression yearStarts(QRegularExpression::escape(kYearStart) + "(\\d+)");
    QSet<QString> seen;
    for (const QRegularExpressionMatch &m : yearStarts.globalMatch(statement))
        if (!seen.contains(m.captured(0))) {
            seen << m.captured(0);
            parameters.push_back({m.captured(0), QDate(cutoff.year() - m.captured(1).toInt(), 1, 1)});
        }
    return parameters;
}

QString yearsAtMost(const QString &column, int years) { return column + ">=" + yearStart(years); }

QString yearsAbove(const QString &column, int years) { return column + "<" + yearStart(years); }

QString yearsAtLeast(const QString &column, int years) { return yearsAbove(column, years - 1); }

QString yearsOver(const QString &column, int low, int high)
{
    return yearsAbove(column, low) + " and " + yearsAtMost(column, high);
}

QString inForceSnapshot(const sql::Dialect &dialect, const QString &historyTable, const QStringList &columns)
{
    static const std::map<QString, history::Table> tables = {{"dwdtb", history::Table::Department},
                                                             {"zwdtb", history::Table::Position},
                                                             {"zcdtb", history::Table::Title}};
    return "(" + dialect.snapshotOn(tables.at(historyTable), ":d", columns) + ")";
}

QString snapshotTable(const sql::Dialect &dialect, const QString &name, const QString &historyTable,
                      const QStringList &columns)
{
    return name + " as materialized " + inForceSnapshot(dialect, historyTable, columns);
}

QString departmentRows(const sql::Dialect &dialect, const QString &extraColumns, const QString &joins)
{
    return QStringLiteral("(select s.单位编码 as dwbm, z.职工编码 as zgbm, z.职工性别, z.民族编码, z.文化程度, "
                          "z.政治面貌, z.出生年月, z.工作时间, z.入党时间%1 "
                          "from %2 s left join zghmc z on z.职工编码=s.职工编码 %3)")
        .arg(extraColumns.isEmpty() ? QString() : ", " + extraColumns, inForceSnapshot(dialect, "dwdtb", {"单位编码"}), joins);
}

QString valueList(const std::vector<ValueColumn> &values, Averages averages)
{
    QStringList keys;
    for (const ValueColumn &v : values)
        if (v.kind == ValueColumn::Kind::Count || averages == Averages::Summed)
            keys << v.key;
    return keys.join(',');
}

namespace {

// The aggregate of one value column; empty for an average left out.
QString aggregateOf(const ValueColumn &v, Empty empty, Averages averages, const QString &averaged)
{
    if (v.kind == ValueColumn::Kind::Average)
        return averages == Averages::Summed ? "sum(" + averaged + ")" : QString();
    if (v.condition.isEmpty())
        return QStringLiteral("count(*)");
    // The filter skips the aggregate step for the rows that do not match, most rows for most
    // columns; a missing employee makes the condition NULL: not counted.
    const QString count = QStringLiteral("count(*) filter (where %1)").arg(v.condition);
    return empty == Empty::WhenNone ? "nullif(" + count + ",0)" : count;
}

}  // namespace

// The difference of the two years, which a server works out within the statement, where its
// datediff() would be a procedure called for every row (the same value on every engine).
const QString kAgeAtCutoff = QStringLiteral("(year(:d)-year(出生年月))");

QString aggregates(const std::vector<ValueColumn> &values, Empty empty, Averages averages, const QString &averaged)
{
    QStringList list;
    for (const ValueColumn &v : values)
        if (const QString a = aggregateOf(v, empty, averages, averaged); !a.isEmpty())
            list << a;
    return list.join(',');
}

QString sums(const std::vector<ValueColumn> &values)
{
    QStringList list;
    for (const ValueColumn &v : values)
        list << QStringLiteral("sum(%1)").arg(v.key);
    return list.join(',');
}

QString partialCounts(const std::vector<ValueColumn> &values)
{
    QStringList list;
    for (const ValueColumn &v : values)
        list << aggregateOf(v, Empty::Zero, Averages::Summed, kAgeAtCutoff) + " as " + v.key;
    return list.join(',');
}

QString rolledUp(const std::vector<ValueColumn> &values, Empty empty, Averages averages)
{
    QStringList list;
    for (const ValueColumn &v : values) {
        const QString sum = QStringLiteral("sum(%1)").arg(v.key);
        if (v.kind == ValueColumn::Kind::Average)
            list << (averages == Averages::Summed ? sum : QStringLiteral("null"));
        else if (empty == Empty::Zero)
            list << "coalesce(" + sum + ",0)";
        else
            list << "nullif(" + sum + ",0)";
    }
    return list.join(',');
}

QString totalRow(const TableDescription &table, const QString &nameColumn)
{
    return QStringLiteral("insert into %1 (bz,%2,%3) select '3','%4',%5 from %1 where bz='2'")
        .arg(table.name, nameColumn, valueList(table.values), kOrganisation, sums(table.values));
}

QStringList finishing(const TableDescription &table)
{
    QStringList shares, averages;
    for (const ValueColumn &v : table.values) {
        if (v.kind == ValueColumn::Kind::Average)
            averages << QStringLiteral("%1=%1/zs").arg(v.key);
        else if (table.shares && v.key != "zs")
            // In double precision on every engine (100.0 would be an exact decimal on a
            // server, whose quotient rounds differently in the last digit).
            shares << QStringLiteral("%1zb=100*cast(%1 as double precision)/zs").arg(v.key);
    }
    QStringList statements;
    for (const QStringList &set : {shares, averages})
        if (!set.isEmpty())
            statements << QStringLiteral("update %1 set %2 where zs<>0").arg(table.name, set.join(','));
    return statements;
}

QStringList perDepartment(const TableDescription &table, const sql::Dialect &dialect, const QString &filter)
{
    const QString values = valueList(table.values);
    return {
        "delete from " + table.name,
        QStringLiteral("insert into %1 (bz,dwbm,dwmc,%2) select '2', e.dwbm, dwdmb.单位名称, %3 "
                       "from %4 e left join dwdmb on dwdmb.单位编码=e.dwbm where %5 "
                       "group by e.dwbm, dwdmb.单位名称 order by e.dwbm nulls first")
            .arg(table.name, values, aggregates(table.values, Empty::WhenNone), departmentRows(dialect), filter),
        totalRow(table, QStringLiteral("dwmc")),
    };
}

}  // namespace stats::counting
