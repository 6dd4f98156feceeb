#include "pay/pay_grids.h"

#include "db/money.h"
#include "db/read_transaction.h"
#include "db/schema.h"
#include "db/sql.h"
#include "export/csv.h"
#include "export/xlsx_export.h"
#include "pay/pay_month.h"
#include "pay/pay_statistics.h"

namespace pay {

bool isMoneyColumn(const QString &title)
{
    if (isWholeYuan(title))
        return false;
    for (const Sheet &s : sheets())
        if (s.amountColumns().contains(title))
            return true;
    return false;
}

void markMoneyColumns(QAbstractItemModel &model)
{
    for (int c = 0; c < model.columnCount(); ++c)
        if (isMoneyColumn(model.headerData(c, Qt::Horizontal).toString()))
            model.setHeaderData(c, Qt::Horizontal, true, xlsx::kMoneyColumnRole);
}

QVariant shownAmount(const QString &column, const QVariant &stored)
{
    if (stored.isNull())
        return {};
    return isWholeYuan(column) ? stored : QVariant(money::formatYuan(stored.toLongLong()));
}

std::optional<std::vector<Grid>> statisticsGrids(const QSqlDatabase &db, const QDate &from, const QDate &to,
                                                 const Progress &progress)
{
    // The sheets and months are read statement by statement: no month generated meanwhile may
    // come into some of them only.
    const ReadTransaction picture(db);
    const int total = int(sheets().size()) * monthsFrom(from, to);
    int done = 0;
    const MonthSummed monthSummed = [&] { return !progress || progress(++done, total); };
    std::vector<Grid> grids;
    for (const Sheet &s : sheets()) {
        std::optional<QList<QVariantList>> totals = departmentTotals(db, s, from, to, monthSummed);
        if (!totals)
            return std::nullopt;
        Grid g{s.tab.trimmed(), QStringList{QStringLiteral("单位名称")} + s.amountColumns(), *totals};
        for (QVariantList &row : g.rows)
            for (int c = 1; c < row.size(); ++c)
                row[c] = shownAmount(s.amountColumns().at(c - 1), row[c]);
        grids.push_back(g);
    }
    return grids;
}

std::vector<Grid> statisticsGrids(const QSqlDatabase &db, const QDate &from, const QDate &to)
{
    return *statisticsGrids(db, from, to, Progress{});
}

std::vector<Grid> sheetGrids(const QSqlDatabase &db, const QDate &month, const QString &department)
{
    std::vector<Grid> grids;
    const QStringList items = salaryItemColumns(db);
    for (const Sheet &s : sheets()) {
        const QStringList amounts = s.amountColumns() + (s.table == QStringLiteral("gzb") ? items : QStringList());
        Grid g{s.tab.trimmed(), QStringList{QStringLiteral("职工编码"), QStringLiteral("职工姓名")} + amounts, {}};
        for (const SheetRow &row : loadSheet(db, s, month, department, amounts.mid(s.amountColumns().size()))) {
            QVariantList cells{row.code, row.name};
            for (const QString &c : amounts) {
                const std::optional<qint64> v = row.amounts.value(c);
                cells << (v ? shownAmount(c, isWholeYuan(c) ? QVariant(*v / schema::kMoneyScale) : QVariant(*v)) : QVariant());
            }
            g.rows << cells;
        }
        grids.push_back(g);
    }
    return grids;
}

std::vector<Grid> employeeGrids(const QSqlDatabase &db, const QString &employee, const QDate &from, const QDate &to)
{
    std::vector<Grid> grids;
    for (const Sheet &s : sheets()) {
        Grid g{s.tab.trimmed(), QStringList{QStringLiteral("年月")} + s.amountColumns(), {}};
        QStringList columns;
        for (const QString &c : g.titles)
            columns << amountExpression(s, c);
        QSqlQuery q = sql::prepare(db, QStringLiteral("select %1 from %2 where 职工编码=:code and 年月>=:from and 年月<=:to order by 年月")
                                           .arg(columns.join(','), s.table));
        q.setForwardOnly(true);
        q.bindValue(":code", employee);
        q.bindValue(":from", sql::dateValue(from));
        q.bindValue(":to", sql::dateValue(to));
        sql::exec(q);
        while (q.next()) {
            QVariantList row{q.value(0).toString().left(7)};
            for (int c = 1; c < g.titles.size(); ++c)
                row << shownAmount(g.titles.at(c), q.value(c));
            g.rows << row;
        }
        grids.push_back(g);
    }
    return grids;
}

Grid sideBySide(const Grid &left, const Grid &right)
{
    Grid g{left.caption, left.titles + right.titles, {}};
    const qsizetype count = std::max(left.rows.size(), right.rows.size());
    for (qsizetype r = 0; r < count; ++r) {
        QVariantList row = r < left.rows.size() ? left.rows[r] : QVariantList(left.titles.size());
        row << (r < right.rows.size() ? right.rows[r] : QVariantList(right.titles.size()));
        g.rows << row;
    }
    return g;
}

QString toCsv(const std::vector<Grid> &grids)
{
    QString csv;
    for (const Grid &g : grids) {
        csv += csv::line(QStringList{g.caption}) + csv::line(g.titles);
        for (const QVariantList &row : g.rows)
            csv += csv::line(row);
    }
    return csv;
}

}  // namespace pay
