#pragma once
// The three monthly pay sheets as data: the wage sheet gzb, the allowance sheet btb and the
// bonus sheet jjb, each with its typed amounts, its gross column (the sum of the amounts) and
// its net column (gross less the deductions). Amounts are exact integers of 1/10000 yuan.

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace pay {

struct Sheet {
    QString table;           // gzb, btb, jjb
    QString tab;             // the tab caption, leading blanks included
    QStringList entered;     // typed amounts summed into the gross column, in grid order
    QString gross;           // 应发工资
    QStringList deductions;  // typed amounts taken off the gross
    QString net;             // 实发工资 or 实发

    // Every amount column in grid order: entered, gross, deductions, net.
    QStringList amountColumns() const;
};

const std::vector<Sheet> &sheets();  // gzb, btb, jjb
const Sheet &sheet(const QString &table);

// Every column title the pay grids show besides the salary items (the sheets' amounts of all
// three sheets and the employee, department and month columns).
QStringList gridColumns();

// Columns kept in whole yuan rather than in 1/10000 yuan (the wage sheet's 工龄).
bool isWholeYuan(const QString &column);

// Column → amount in 1/10000 yuan (whole-yuan columns too); nullopt for an empty cell.
using Amounts = QMap<QString, std::optional<qint64>>;

// Sets the gross and net columns from the typed ones; either is empty when any of its terms is.
void computeTotals(const Sheet &sheet, Amounts &amounts);

// The gross and net columns as SQL over the stored columns of the table or alias `qualifier`
// (NULL when a term is NULL). Every read totals a row this way rather than trusting the stored
// totals, which another program may have written by another rule; a row written by this
// program stores what they give.
QString grossExpression(const Sheet &sheet, const QString &qualifier = {});
QString netExpression(const Sheet &sheet, const QString &qualifier = {});
// Any amount column of the sheet as SQL: the totals computed, the others as stored.
QString amountExpression(const Sheet &sheet, const QString &column, const QString &qualifier = {});

}  // namespace pay
