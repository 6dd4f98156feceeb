#include "pay/pay_statistics.h"

#include "db/history.h"
#include "db/sql.h"

namespace pay {

QList<QVariantList> departmentTotals(const QSqlDatabase &db, const Sheet &sheet, const QDate &from, const QDate &to)
{
    QStringList sums;
    for (const QString &c : sheet.amountColumns())
        sums << QStringLiteral("sum(t.%1)").arg(sql::quoteIdentifier(c));
    // Each pay row is joined to its employee's department row in force on its own month's
    // first day, found through the history's index.
    QSqlQuery q = sql::prepare(db, QStringLiteral("select dwdmb.单位名称, %1 from %2 t join dwdtb on dwdtb.职工编码=t.职工编码 "
                                                  "and %3 join dwdmb on dwdmb.单位编码=dwdtb.单位编码 "
                                                  "where t.年月>=:from and t.年月<=:to group by dwdmb.单位名称 order by dwdmb.单位名称")
                                       .arg(sums.join(','), sheet.table,
                                            history::inForceOnForRow(history::Table::Department, "t.职工编码", "t.年月")));
    q.setForwardOnly(true);
    q.bindValue(":from", sql::dateValue(from));
    q.bindValue(":to", sql::dateValue(to));
    sql::exec(q);
    QList<QVariantList> rows;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i <= sums.size(); ++i)
            row << q.value(i);
        rows << row;
    }
    return rows;
}

}  // namespace pay
