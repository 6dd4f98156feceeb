#include "codes/code_rows.h"

#include "app/edit_rows.h"
#include "db/change_log.h"
#include "db/dialect.h"
#include "db/rights.h"
#include "db/operators.h"
#include "db/schema.h"
#include "db/sql.h"
#include "db/transaction.h"
#include "pay/pay_sheets.h"

#include <QRegularExpression>
#include <QStringList>
#include <sqlite3.h>

namespace codes {
namespace {

const QString kWageTable = QStringLiteral("gzb");

void updateRow(const QSqlDatabase &db, const Member &member, const RowChange &change)
{
    QVariantMap values = change.values;
    // The code is written only when it changed, so an unchanged code never touches the rows
    // that refer to it.
    if (values.value(member.codeColumn).toString() == change.originalCode)
        values.remove(member.codeColumn);
    edit::writeRow(db, member.table, values, {member.codeColumn, change.originalCode, change.asRead});
}

// A refusal of the program's own, told like the database's refusals.
sql::Failure refusal(const QString &message) { return sql::Failure(message, sql::Failure::Kind::Constraint); }

QStringList wageColumns(const QSqlDatabase &db)
{
    return sql::dialect(db).columnNames(db, kWageTable);
}

bool keepsOperators(const Member &member) { return member.table == QStringLiteral("czydmb"); }

// Each attendance kind names a column of the attendance tables (by its name, or its code when
// the name is blank), so both must be names a statement can quote.
void checkColumnNaming(const Member &member, const QVariantMap &values)
{
    if (member.table != QStringLiteral("kqfsb"))
        return;
    for (const QString &column : {member.codeColumn, member.nameColumn}) {
        const QString value = values.value(column).toString();
        if (!value.isEmpty() && !sql::quotableIdentifier(value))
            throw refusal(QStringLiteral("出勤方式不能含有空字符，无法作为统计表的列名。"));
    }
}

bool isFixedWageColumn(const QString &name)
{
    for (const schema::Column &c : schema::findTable(kWageTable)->columns)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void addSalaryItem(const QSqlDatabase &db, const Member &member, const QVariantMap &values)
{
    const QString name = values.value(member.codeColumn).toString();
    if (!acceptableSalaryItemName(db, name))
        throw refusal(QStringLiteral("工资项目名称不能作为工资表的列名：") + name);
    rights::requireWrite(member.table);
    Transaction transaction(db);
    // Declared like every other money column of gzb, so amounts stay exact integers; the
    // log's triggers name gzb's columns, so they are made again with the new one.
    change_log::dropTriggers(db, kWageTable);
    sql::exec(db, sql::dialect(db).addColumn(kWageTable, {name, schema::Kind::Money}, QStringLiteral("0")));
    change_log::createTriggers(db, kWageTable);
    edit::writeRow(db, member.table, values);
    transaction.commit();
}

void dropSalaryItem(const QSqlDatabase &db, const Member &member, const QString &name)
{
    if (isFixedWageColumn(name))
        throw refusal(QStringLiteral("工资表的固有列不能删除：") + name);
    if (!wageColumns(db).contains(name, Qt::CaseInsensitive))
        throw refusal(QStringLiteral("工资表没有这一列：") + name);
    rights::requireWrite(member.table);
    Transaction transaction(db);
    // A column a trigger names cannot be dropped: the log's triggers go first.
    change_log::dropTriggers(db, kWageTable);
    sql::exec(db, "ALTER TABLE gzb DROP COLUMN " + sql::quoteIdentifier(name));
    change_log::createTriggers(db, kWageTable);
    edit::deleteRows(db, member.table, {member.codeColumn, name});
    transaction.commit();
}

}  // namespace

QList<QSqlRecord> readRows(const QSqlDatabase &db, const Member &member)
{
    QSqlQuery query = sql::prepare(db, member.rowsStatement);
    query.setForwardOnly(true);
    sql::exec(query);
    QList<QSqlRecord> rows;
    while (query.next()) {
        QSqlRecord record = query.record();
        // A server keeps its row number as a column that "select *" lists; a file's is hidden.
        // It is no column of the code table (sql::Dialect::columnNames), nor a value to write.
        if (const int rowid = record.indexOf(QStringLiteral("rowid")); rowid >= 0)
            record.remove(rowid);
        rows << record;
    }
    return rows;
}

std::optional<QString> formatCode(const QString &typed)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    const QString text = typed.trimmed();
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return QString("%1").arg(value, 2, 10, QChar('0'));
}

void saveRow(const QSqlDatabase &db, const Member &member, const RowChange &change)
{
    if (member.salaryItems) {
        if (!change.originalCode.isEmpty())
            throw refusal(QStringLiteral("工资项目只能添加和删除"));
        addSalaryItem(db, member, change.values);
        return;
    }
    checkColumnNaming(member, change.values);
    Transaction transaction(db);
    if (change.originalCode.isEmpty())
        edit::writeRow(db, member.table, change.values);
    else
        updateRow(db, member, change);
    if (change.password)
        operators::setPassword(db, change.values.value(member.codeColumn).toString(), *change.password);
    if (keepsOperators(member)) {
        if (!rights::isRole(change.values.value(QStringLiteral("角色")).toString()))
            throw refusal(QStringLiteral("角色未填写，请重新输入！"));
        operators::requireAdministrator(db);
    }
    transaction.commit();
}

void deleteRow(const QSqlDatabase &db, const Member &member, const QString &code)
{
    if (member.salaryItems) {
        dropSalaryItem(db, member, code);
        return;
    }
    Transaction transaction(db);
    edit::deleteRows(db, member.table, {member.codeColumn, code});
    if (keepsOperators(member) && sql::scalar(db, "select count(*) from czydmb where czymm is not null").toInt() == 0)
        throw sql::Failure(kLastOperator, sql::Failure::Kind::Refused);
    if (keepsOperators(member))
        operators::requireAdministrator(db);
    transaction.commit();
}

bool acceptableSalaryItemName(const QSqlDatabase &db, const QString &name)
{
    static const QRegularExpression identifier(QStringLiteral("^[\\p{L}_][\\p{L}0-9_]*$"));
    constexpr int kLongestName = 50;  // the width of gzzd.字段
    if (name.size() > kLongestName || !identifier.match(name).hasMatch())
        return false;
    const QByteArray utf8 = name.toUtf8();
    if (sqlite3_keyword_check(utf8.constData(), int(utf8.size())))
        return false;
    // The row id's own names would hide it behind the new column; a name the pay grids show
    // beside the items would show that column's values under the item's title.
    const QStringList taken = wageColumns(db) + pay::gridColumns() + QStringList{"rowid", "oid", "_rowid_"};
    for (const QString &column : taken)
        if (column.compare(name, Qt::CaseInsensitive) == 0)
            return false;
    return true;
}

}  // namespace codes
