#include "pay/pay_comparison.h"

#include "db/dialect.h"
#include "db/money.h"
#include "db/sql.h"
#include "pay/pay_sheets.h"

#include <QHash>

namespace pay {

QList<int> comparisonPeriods(ComparisonSpan span, int year)
{
    QList<int> periods;
    for (int k = 0; k < (span == ComparisonSpan::Months ? 12 : 10); ++k)
        periods << (span == ComparisonSpan::Months ? k + 1 : year - k);
    return periods;
}

QList<QVariantList> comparisonTotals(const QSqlDatabase &db, ComparisonSpan span, int year)
{
    const QList<int> periods = comparisonPeriods(span, year);
    // One pass over the span's wage rows, grouped by department and period, then looked up
    // per department: the totals depend on the year only.
    QSqlQuery q = sql::prepare(db, QStringLiteral("select %1, %2(gzb.年月), sum(%3) from gzb "
                                                  "where gzb.年月>=:from and gzb.年月<=:to group by 1, 2")
                                       .arg(sql::dialect(db).valueInForceOn(history::Table::Department, "单位编码",
                                                                          "gzb.职工编码", "gzb.年月"),
                                            span == ComparisonSpan::Months ? QStringLiteral("month")
                                                                           : QStringLiteral("year"),
                                            netExpression(sheet("gzb"))));
    q.setForwardOnly(true);
    q.bindValue(":from", sql::dateValue(QDate(span == ComparisonSpan::Months ? year : year - 9, 1, 1)));
    q.bindValue(":to", sql::dateValue(QDate(year, 12, 1)));
    sql::exec(q);
    // A period whose net amounts are all empty stays empty, as the company statistics show it.
    QHash<QString, QHash<int, QVariant>> totals;
    while (q.next())
        if (!q.value(0).isNull())
            totals[q.value(0).toString()][q.value(1).toInt()] = q.value(2);

    QSqlQuery departments = sql::prepare(db, QStringLiteral("select 单位编码, 单位名称 from dwdmb where 单位编码<'97' order by rowid"));
    departments.setForwardOnly(true);
    sql::exec(departments);
    QList<QVariantList> rows;
    while (departments.next()) {
        const QHash<int, QVariant> own = totals.value(departments.value(0).toString());
        QVariantList row{departments.value(1)};
        for (int p : periods)
            row << own.value(p);
        rows << row;
    }
    return rows;
}

Grid comparisonGrid(const QSqlDatabase &db, ComparisonSpan span, int year)
{
    static const QStringList months{"一", "二", "三", "四", "五", "六", "七", "八", "九", "十", "十一", "十二"};
    Grid g{QStringLiteral("工资表"), {QStringLiteral("单位名称")}, comparisonTotals(db, span, year)};
    for (int p : comparisonPeriods(span, year))
        g.titles << (span == ComparisonSpan::Months ? months.at(p - 1) + QStringLiteral("月工资") : QStringLiteral("%1年").arg(p));
    for (QVariantList &row : g.rows)
        for (int c = 1; c < row.size(); ++c)
            if (!row[c].isNull())
                row[c] = money::formatYuan(row[c].toLongLong());
    return g;
}

}  // namespace pay
