#include "pay/pay_statistics.h"

#include "db/dialect.h"
#include "db/sql.h"

namespace pay {

QList<QVariantList> departmentTotals(const QSqlDatabase &db, const Sheet &sheet, const QDate &from, const QDate &to)
{
    QStringList inner, outer;
    for (const QString &c : sheet.amountColumns()) {
        inner << QStringLiteral("sum(%1) as %2").arg(amountExpression(sheet, c, "t"), sql::quoteIdentifier(c));
        outer << QStringLiteral("sum(x.%1)").arg(sql::quoteIdentifier(c));
    }
    // One pass over the range's pay rows, each under its employee's department in force on
    // the first day of its own month; then the departments named (two with one name added up),
    // in the order of their codes as every other department list.
    const QString department =
        sql::dialect(db).valueInForceOn(history::Table::Department, "单位编码", "t.职工编码", "t.年月");
    QSqlQuery q = sql::prepare(db, QStringLiteral("select dwdmb.单位名称, %1 from (select %2 as 单位编码, %3 "
                                                  "from %4 t where t.年月>=:from and t.年月<=:to group by 1) x "
                                                  "join dwdmb on dwdmb.单位编码=x.单位编码 group by dwdmb.单位名称 order by min(dwdmb.单位编码)")
                                       .arg(outer.join(','), department, inner.join(','), sheet.table));
    q.setForwardOnly(true);
    q.bindValue(":from", sql::dateValue(from));
    q.bindValue(":to", sql::dateValue(to));
    sql::exec(q);
    QList<QVariantList> rows;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i <= outer.size(); ++i)
            row << q.value(i);
        rows << row;
    }
    return rows;
}

}  // namespace pay
