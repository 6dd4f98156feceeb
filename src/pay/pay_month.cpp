#include "pay/pay_month.h"

#include "db/dialect.h"
#include "db/pay_departments.h"
#include "db/rights.h"
#include "db/schema.h"
#include "db/sql.h"
#include "db/transaction.h"

namespace pay {

QDate firstDay(int year, int month) { return QDate(year, month, 1); }

bool hasWages(const QSqlDatabase &db, const QDate &month)
{
    QSqlQuery q = sql::prepare(db, "select 1 from gzb where 年月=:m limit 1");
    q.bindValue(":m", sql::dateValue(month));
    sql::exec(q);
    return q.next();
}

QStringList salaryItemColumns(const QSqlDatabase &db)
{
    const QStringList wageColumns = sql::dialect(db).columnNames(db, QStringLiteral("gzb"));
    QSqlQuery q = sql::prepare(db, "select 字段 from gzzd order by rowid");
    q.setForwardOnly(true);
    sql::exec(q);
    QStringList columns;
    while (q.next())
        if (wageColumns.contains(q.value(0).toString()))
            columns << q.value(0).toString();
    return columns;
}

namespace {

std::optional<qint64> toUnits(const QString &column, const QVariant &stored)
{
    if (stored.isNull())
        return std::nullopt;
    const qint64 v = stored.toLongLong();
    return isWholeYuan(column) ? v * schema::kMoneyScale : v;
}

QVariant toStored(const QString &column, const std::optional<qint64> &units)
{
    if (!units)
        return QVariant(QMetaType::fromType<qlonglong>());
    if (isWholeYuan(column)) {
        if (*units % schema::kMoneyScale != 0)
            throw sql::Failure(QStringLiteral("%1只能是整数").arg(column), sql::Failure::Kind::Refused);
        return qlonglong(*units / schema::kMoneyScale);
    }
    return qlonglong(*units);
}

// The columns quoted, each after `prefix` ("p." for a column of the table named p).
QString quoted(const QStringList &columns, const QString &prefix = {})
{
    QStringList q;
    for (const QString &c : columns)
        q << prefix + sql::quoteIdentifier(c);
    return q.join(',');
}

// Employees who get rows of the month: department in force before its first day (on the day
// before) below "97".
QString getsRows(const QSqlDatabase &db, const QString &employeeColumn)
{
    return sql::dialect(db).valueInForceOn(history::Table::Department, "单位编码", employeeColumn, ":before")
           + QStringLiteral("<'97'");
}

}  // namespace

QList<SheetRow> loadSheet(const QSqlDatabase &db, const Sheet &sheet, const QDate &month,
                          const QString &department, const QStringList &extraColumns)
{
    const QStringList columns = sheet.amountColumns() + extraColumns;
    QStringList selected;
    for (const QString &c : columns)
        selected << amountExpression(sheet, c, "t");
    // The department in force on the month's last day is the one the row carries (in force on
    // its first day, db/pay_departments.h) unless the employee has a department row dated
    // within the month: those few are judged on the last day one by one. Both halves are
    // found through indexes, not by judging every employee.
    const QString row = QStringLiteral("select t.自动编号, t.职工编码, zghmc.职工姓名, %1 from %2 t "
                                       "left join zghmc on zghmc.职工编码=t.职工编码 where t.年月=:m and ")
                            .arg(selected.join(','), sheet.table);
    const QString movedInMonth = QStringLiteral("select h.职工编码 from dwdtb h where h.变动时间>:m and h.变动时间<=:end");
    QSqlQuery q = sql::prepare(
        db, row + QStringLiteral("t.%1=:dept and t.职工编码 not in (%2) union all ").arg(pay_departments::kColumn, movedInMonth)
                + row + QStringLiteral("t.职工编码 in (%1) and %2=:dept order by 2, 1")
                            .arg(movedInMonth, pay_departments::inForceOn("t.职工编码", ":end")));
    q.setForwardOnly(true);
    q.bindValue(":m", sql::dateValue(month));
    q.bindValue(":end", sql::dateValue(month.addMonths(1).addDays(-1)));
    q.bindValue(":dept", department);
    sql::exec(q);
    QList<SheetRow> rows;
    while (q.next()) {
        SheetRow row{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(), {}};
        for (int i = 0; i < columns.size(); ++i)
            row.amounts[columns[i]] = toUnits(columns[i], q.value(3 + i));
        row.asRead = row.amounts;
        rows << row;
    }
    return rows;
}

void storeRow(const QSqlDatabase &db, const Sheet &sheet, SheetRow &row)
{
    rights::requireWrite(sheet.table);
    computeTotals(sheet, row.amounts);
    const QStringList columns = row.amounts.keys();
    QVariantList values;
    for (const QString &c : columns)
        values << toStored(c, row.amounts.value(c));
    WriteScope scope(db);
    // The totals are read as computed from the terms, so the terms alone say whether the row
    // is still as loaded.
    QStringList terms;
    QVariantList termsAsRead;
    for (const QString &c : columns)
        if (c != sheet.gross && c != sheet.net) {
            terms << c;
            termsAsRead << toStored(c, row.asRead.value(c));
        }
    QSqlQuery q = sql::prepareUpdate(db, sheet.table, columns, "自动编号", terms);
    sql::bindRow(q, values);
    q.bindValue(":key", row.id);
    sql::bindAsRead(q, termsAsRead);
    sql::exec(q);
    // Another program may have changed or deleted the row meanwhile: that is no save.
    if (q.numRowsAffected() != 1)
        throw sql::staleRow();
    scope.commit();
    row.asRead = row.amounts;
}

int generateMonth(const QSqlDatabase &db, const QDate &month, Generation generation,
                  const std::function<void(const QString &)> &progress)
{
    const QString m = sql::dateValue(month).toString();
    const QString previous = sql::dateValue(month.addMonths(-1)).toString();
    const QString dayBefore = sql::dateValue(month.addDays(-1)).toString();
    rights::requireWrite(rights::Area::Pay);
    // Taken before reading, so two programs generating at once wait in turn and the second
    // finds the rows of the first.
    Transaction transaction(db);
    if (hasWages(db, month))
        return 0;
    int added = 0;
    for (const Sheet &sheet : sheets()) {
        if (progress)
            progress(sheet.table);
        const QString noRowYet = QStringLiteral("not exists (select 1 from %1 x where x.年月=:m and x.职工编码=%2)");
        if (generation == Generation::CopyPrevious) {
            const QStringList carried = sheet.amountColumns() + (sheet.table == "gzb" ? salaryItemColumns(db) : QStringList());
            QSqlQuery copy = sql::prepare(
                db, QStringLiteral("insert into %1 (年月,职工编码,%2,%6) select :m, p.职工编码, %3, %7 from %1 p "
                                   "where p.年月=:previous and %4 and %5 order by p.自动编号")
                        .arg(sheet.table, quoted(carried), quoted(carried, "p."), getsRows(db, "p.职工编码"),
                             noRowYet.arg(sheet.table, "p.职工编码"), pay_departments::kColumn,
                             pay_departments::monthDepartment(db, "p.职工编码", ":m")));
            copy.bindValue(":m", m);
            copy.bindValue(":before", dayBefore);
            copy.bindValue(":previous", previous);
            sql::exec(copy);
            added += copy.numRowsAffected();
            // Totalled again from the carried amounts, as the screen would total them.
            QSqlQuery totals = sql::prepare(db, QStringLiteral("update %1 set %2=%3, %4=%5 where 年月=:m")
                                                    .arg(sheet.table, sql::quoteIdentifier(sheet.gross), grossExpression(sheet),
                                                         sql::quoteIdentifier(sheet.net), netExpression(sheet)));
            totals.bindValue(":m", m);
            sql::exec(totals);
        }
        QSqlQuery blank = sql::prepare(db, QStringLiteral("insert into %1 (年月,职工编码,%4) select :m, z.职工编码, %5 from zghmc z "
                                                          "where %2 and %3 order by z.职工编码")
                                               .arg(sheet.table, getsRows(db, "z.职工编码"), noRowYet.arg(sheet.table, "z.职工编码"),
                                                    pay_departments::kColumn, pay_departments::monthDepartment(db, "z.职工编码", ":m")));
        blank.bindValue(":m", m);
        blank.bindValue(":before", dayBefore);
        sql::exec(blank);
        added += blank.numRowsAffected();
    }
    transaction.commit();
    return added;
}

}  // namespace pay
