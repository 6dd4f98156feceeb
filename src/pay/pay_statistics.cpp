#include "pay/pay_statistics.h"

#include "db/pay_departments.h"
#include "db/sql.h"

#include <QMap>

namespace pay {
namespace {

// A sum that stays empty until some row has an amount, as SQL's sum does.
void addInto(QVariant &total, const QVariant &part)
{
    if (part.isNull())
        return;
    if (total.isNull())
        total = part;
    else if (total.typeId() == QMetaType::Double || part.typeId() == QMetaType::Double)
        total = total.toDouble() + part.toDouble();
    else
        total = total.toLongLong() + part.toLongLong();
}

// Department code → name.
QMap<QString, QString> departmentNames(const QSqlDatabase &db)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select 单位编码, 单位名称 from dwdmb"));
    q.setForwardOnly(true);
    sql::exec(q);
    QMap<QString, QString> names;
    while (q.next())
        names.insert(q.value(0).toString(), q.value(1).toString());
    return names;
}

}  // namespace

int monthsFrom(const QDate &from, const QDate &to)
{
    return std::max(0, (to.year() - from.year()) * 12 + to.month() - from.month() + 1);
}

std::optional<QList<QVariantList>> departmentTotals(const QSqlDatabase &db, const Sheet &sheet, const QDate &from,
                                                    const QDate &to, const MonthSummed &monthSummed)
{
    QStringList sums;
    for (const QString &c : sheet.amountColumns())
        // Amounts are whole fen: a sum stays an integer on every engine (a server's is a decimal).
        sums << QStringLiteral("cast(sum(%1) as bigint)").arg(amountExpression(sheet, c, "t"));
    // Each pay row under the department in force on the first day of its own month, which the
    // row carries (db/pay_departments.h); one month per statement, through the index on
    // (年月, 单位编码).
    QSqlQuery q = sql::prepare(db, QStringLiteral("select t.%1, %2 from %3 t where t.年月=:month group by t.%1")
                                       .arg(pay_departments::kColumn, sums.join(','), sheet.table));
    q.setForwardOnly(true);
    QMap<QString, QVariantList> byCode;
    for (QDate month = from; month <= to; month = month.addMonths(1)) {
        q.bindValue(":month", sql::dateValue(month));
        sql::exec(q);
        while (q.next()) {
            QVariantList &totals = byCode[q.value(0).toString()];
            totals.resize(sums.size());
            for (int i = 0; i < sums.size(); ++i)
                addInto(totals[i], q.value(1 + i));
        }
        q.finish();
        if (monthSummed && !monthSummed())
            return std::nullopt;
    }
    // The departments named (two with one name added up), in the order of their codes as every
    // other department list; pay rows of no known department are left out.
    const QMap<QString, QString> names = departmentNames(db);
    QList<QVariantList> rows;
    QMap<QString, qsizetype> rowOfName;
    for (auto d = byCode.cbegin(); d != byCode.cend(); ++d) {
        if (!names.contains(d.key()))
            continue;
        const QString &name = names.value(d.key());
        if (!rowOfName.contains(name)) {
            rowOfName.insert(name, rows.size());
            rows << (QVariantList{name} << QVariantList(sums.size()));
        }
        QVariantList &row = rows[rowOfName.value(name)];
        for (int i = 0; i < sums.size(); ++i)
            addInto(row[1 + i], d.value().at(i));
    }
    return rows;
}

QList<QVariantList> departmentTotals(const QSqlDatabase &db, const Sheet &sheet, const QDate &from, const QDate &to)
{
    return *departmentTotals(db, sheet, from, to, {});
}

}  // namespace pay
