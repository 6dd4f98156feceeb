#include "staff/employee_record.h"

#include "db/money.h"
#include "db/sql.h"
#include "db/transaction.h"
#include "staff/employee_fields.h"
#include "staff/staff_lists.h"

#include <QRegularExpression>
#include <vector>

namespace staff {
namespace {

const QString kEntryDate = QStringLiteral("入司时间");

enum class Check { NotBlank, Date, OptionalDate, Filled, OptionalMoney };

struct SaveCheck {
    QString key;
    Check check;
    QString message;
};

// In the order the operator is told about them: the first failing one is shown.
const std::vector<SaveCheck> &saveChecks()
{
    static const std::vector<SaveCheck> checks = {
        {"职工编码", Check::NotBlank, "职工编号空，请重新输入！"},
        {"职工姓名", Check::NotBlank, "职工姓名空，请重新输入！"},
        {"出生年月", Check::Date, "出生日期格式错误，请重新输入！"},
        {"政治面貌", Check::Filled, "政治面貌未填写，请重新输入！"},
        {"入党时间", Check::Date, "入党时间格式错误，请重新输入！"},
        {"文化程度", Check::Filled, "文化程度未填写，请重新输入！"},
        {"毕业时间", Check::OptionalDate, "毕业时间格式错误，请重新输入！"},
        {"入司时间", Check::Date, "入司时间格式错误，请重新输入！"},
        {"zcdtb.类别编码", Check::Filled, "工作类型未填写，请重新输入！"},
        {"dwdtb.单位编码", Check::Filled, "部门名称未填写，请重新输入！"},
        {"zwdtb.职务编码", Check::Filled, "担任职务未填写，请重新输入！"},
        {"zwdjdtb.等级编码", Check::Filled, "等级（职务）档次未填写，请重新输入！"},
        {"zcdtb.职称编码", Check::Filled, "技术职称未填写，请重新输入！"},
        {"gwjndtb.类别编码", Check::Filled, "岗位类别未填写，请重新输入！"},
        {"gwjndtb.档次编码", Check::Filled, "岗位技能档次未填写，请重新输入！"},
        // A start-of-work date or an amount the database could not store would otherwise be
        // refused as a duplicate code.
        {"工作时间", Check::OptionalDate, "时间格式错误，请重新输入！"},
        {"zwdjdtb.等级工资", Check::OptionalMoney, "等级工资格式错误，请重新输入！"},
    };
    return checks;
}

bool passes(const QSqlDatabase &db, const EmployeeRecord &record, const SaveCheck &c)
{
    const QString text = record.value(c.key).trimmed();
    switch (c.check) {
    case Check::NotBlank:
        return !text.isEmpty();
    case Check::Date:
        return parseDate(text).isValid();
    case Check::OptionalDate:
        return text.isEmpty() || parseDate(text).isValid();
    case Check::OptionalMoney:
        return text.isEmpty() || money::parseYuan(text).has_value();
    case Check::Filled: {
        const Lookup &lookup = findField(c.key)->lookup;
        return lookupOffers(db, lookup, record.value(c.key), record.value(lookup.filterField));
    }
    }
    return false;
}

// The value to store for a field: NULL when empty, ISO dates, integer money.
QVariant storedValue(const Field &field, const QString &shown)
{
    const QString text = field.control == Control::Text ? shown : shown.trimmed();
    if (text.isEmpty())
        return QVariant();
    switch (field.control) {
    case Control::Date:
    case Control::MaskedDate:
        return sql::dateValue(parseDate(text));
    case Control::Money:
        return QVariant(qlonglong(*money::parseYuan(text)));
    default:
        return text;
    }
}

QString shownValue(const Field &field, const QVariant &stored)
{
    if (stored.isNull())
        return {};
    if (field.control == Control::Money)
        return money::formatYuan(stored.toLongLong());
    return stored.toString();
}

std::vector<const Field *> fieldsOf(const QString &table)
{
    std::vector<const Field *> fields;
    for (const Field &f : detailFields())
        if (f.table == table)
            fields.push_back(&f);
    return fields;
}

QStringList masterTextColumns() { return {kPhotoColumn, kResumeColumn}; }

// Inserts the row, or with `key` updates the one row whose `keyColumn` equals it.
void writeRow(const QSqlDatabase &db, const QString &table, const QStringList &columns,
              const QVariantList &values, const QString &keyColumn = {}, const QVariant &key = {})
{
    const bool update = !keyColumn.isEmpty();
    QSqlQuery q = update ? sql::prepareUpdate(db, table, columns, keyColumn) : sql::prepareInsert(db, table, columns);
    sql::bindRow(q, values);
    if (update)
        q.bindValue(":key", key);
    sql::exec(q);
    if (update && q.numRowsAffected() != 1)
        throw sql::Failure(QStringLiteral("%1: the row to update is gone").arg(table));
}

void writeMaster(const QSqlDatabase &db, const EmployeeRecord &record, bool adding)
{
    QStringList columns;
    QVariantList values;
    for (const Field *f : fieldsOf(kMasterTable)) {
        columns << f->column;
        values << storedValue(*f, record.value(f->key()));
    }
    for (const QString &c : masterTextColumns()) {
        columns << c;
        const QString v = record.value(c);
        values << (v.isEmpty() ? QVariant() : QVariant(v));
    }
    if (adding)
        writeRow(db, kMasterTable, columns, values);
    else
        writeRow(db, kMasterTable, columns, values, "职工编码", record.code());
}

// The entry-time row of one history: the employee's code, the entry date and its own codes.
void writeEntryRow(const QSqlDatabase &db, const EmployeeRecord &record, const QString &table)
{
    QStringList columns = {"职工编码", "变动时间"};
    QVariantList values = {record.code(), sql::dateValue(parseDate(record.value(kEntryDate)))};
    for (const Field *f : fieldsOf(table)) {
        columns << f->column;
        values << storedValue(*f, record.value(f->key()));
    }
    const auto id = record.entryRowIds.constFind(table);
    if (id == record.entryRowIds.constEnd())
        writeRow(db, table, columns, values);
    else
        writeRow(db, table, columns, values, "自动编号", id.value());
}

bool hasRows(const QSqlDatabase &db, const QString &table, const QString &code)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select 1 from %1 where 职工编码=:code limit 1").arg(table));
    q.setForwardOnly(true);
    q.bindValue(":code", code);
    sql::exec(q);
    return q.next();
}

}  // namespace

QString normalizedCode(const QString &text)
{
    static const QRegularExpression whole(QStringLiteral("^[+-]?\\d+$"));
    const QString t = text.trimmed();
    bool ok = false;
    const qlonglong n = t.toLongLong(&ok);
    if (!whole.match(t).hasMatch() || !ok || n < 0)
        return text;
    return QStringLiteral("%1").arg(n, 6, 10, QChar('0'));
}

QDate parseDate(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return {};
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

std::optional<EmployeeRecord> loadEmployee(const QSqlDatabase &db, const QString &code)
{
    QSqlQuery master = sql::prepare(db, "select * from zghmc where 职工编码=:code");
    master.setForwardOnly(true);
    master.bindValue(":code", code);
    sql::exec(master);
    if (!master.next())
        return std::nullopt;
    EmployeeRecord record;
    for (const Field *f : fieldsOf(kMasterTable))
        record.values.insert(f->key(), shownValue(*f, master.value(f->column)));
    for (const QString &c : masterTextColumns())
        record.values.insert(c, master.value(c).toString());

    for (const QString &table : entryHistoryTables()) {
        QSqlQuery q = sql::prepare(db, QStringLiteral("select * from %1 where 职工编码=:code "
                                                      "order by 变动时间, 自动编号 limit 1").arg(table));
        q.setForwardOnly(true);
        q.bindValue(":code", code);
        sql::exec(q);
        if (!q.next())
            continue;
        record.entryRowIds.insert(table, q.value("自动编号").toLongLong());
        for (const Field *f : fieldsOf(table))
            record.values.insert(f->key(), shownValue(*f, q.value(f->column)));
    }
    return record;
}

QString checkEmployee(const QSqlDatabase &db, const EmployeeRecord &record)
{
    for (const SaveCheck &c : saveChecks())
        if (!passes(db, record, c))
            return c.message;
    return {};
}

QString saveEmployee(const QSqlDatabase &db, const EmployeeRecord &record, bool adding)
{
    const QString problem = checkEmployee(db, record);
    if (!problem.isEmpty())
        return problem;
    try {
        Transaction transaction(db);
        writeMaster(db, record, adding);
        for (const QString &table : entryHistoryTables())
            writeEntryRow(db, record, table);
        transaction.commit();
    } catch (const sql::Failure &) {
        return kDuplicateCode;
    }
    return {};
}

const QStringList &recordsKeepingEmployee()
{
    static const QStringList tables = {"gzb", "jjb", "btb", "ndkhb", "kqjlb", "jcjlb", "pxjlb"};
    return tables;
}

const QStringList &recordsOwnedByEmployee()
{
    static const QStringList tables = {"dwdtb", "zwdtb", "zcdtb", "gwjndtb", "zwdjdtb", "gbllb", "pojlb",
                                       "jtcyb", "gwgxb", "hyjlb", "gzjlb", "xxjlb"};
    return tables;
}

Removal removeEmployee(const QSqlDatabase &db, const QString &code)
{
    Transaction transaction(db);
    for (const QString &table : recordsKeepingEmployee())
        if (hasRows(db, table, code))
            return Removal::InUse;
    for (const QString &table : recordsOwnedByEmployee() + QStringList{kMasterTable}) {
        QSqlQuery q = sql::prepare(db, QStringLiteral("delete from %1 where 职工编码=:code").arg(table));
        q.bindValue(":code", code);
        sql::exec(q);
    }
    transaction.commit();
    return Removal::Removed;
}

QString standardGradeSalary(const QSqlDatabase &db, const QString &gradeCode)
{
    QSqlQuery q = sql::prepare(db, "select 等级工资 from zwdjdmb where 等级编码=:code");
    q.setForwardOnly(true);
    q.bindValue(":code", gradeCode);
    sql::exec(q);
    return q.next() && !q.value(0).isNull() ? money::formatYuan(q.value(0).toLongLong()) : QString();
}

}  // namespace staff
