#include "staff/employee_record.h"

#include "app/edit_rows.h"
#include "db/money.h"
#include "db/sql.h"
#include "db/transaction.h"
#include "staff/employee_fields.h"

#include <QRegularExpression>
#include <QSqlRecord>

namespace staff {
namespace {

const QString kEntryDate = QStringLiteral("入司时间");
const QString kCodeColumn = QStringLiteral("职工编码");

QStringList masterTextColumns() { return {kPhotoColumn, kResumeColumn}; }

void writeMaster(edit::RowWriter &writer, const EmployeeRecord &record, bool adding)
{
    QVariantMap columns = edit::storedRow(detailFields(), kMasterTable, record.values);
    for (const QString &c : masterTextColumns()) {
        const QString v = record.value(c);
        columns.insert(c, v.isEmpty() ? QVariant() : QVariant(v));
    }
    writer.write(kMasterTable, columns,
                 adding ? edit::RowKey{} : edit::RowKey{kCodeColumn, record.code(), record.asRead.value(kMasterTable)});
}

// The entry-time row of one history: the employee's code, the entry date and its own codes.
void writeEntryRow(edit::RowWriter &writer, const EmployeeRecord &record, const QString &table)
{
    QVariantMap columns = edit::storedRow(detailFields(), table, record.values);
    columns.insert(kCodeColumn, record.code());
    columns.insert("变动时间", sql::dateValue(parseDate(record.value(kEntryDate))));
    const auto id = record.entryRowIds.constFind(table);
    writer.write(table, columns,
                 id == record.entryRowIds.constEnd() ? edit::RowKey{}
                                                     : edit::RowKey{"自动编号", id.value(), record.asRead.value(table)});
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

EmployeeReader::EmployeeReader(const QSqlDatabase &db)
    : master_(sql::prepare(db, "select * from zghmc where 职工编码=:code"))
{
    master_.setForwardOnly(true);
    for (const QString &table : entryHistoryTables()) {
        QSqlQuery q = sql::prepare(db, QStringLiteral("select * from %1 where 职工编码=:code "
                                                      "order by 变动时间, 自动编号 limit 1").arg(table));
        q.setForwardOnly(true);
        entryRows_.emplace_back(table, q);
    }
}

std::optional<EmployeeRecord> EmployeeReader::load(const QString &code)
{
    master_.bindValue(":code", code);
    sql::exec(master_);
    if (!master_.next())
        return std::nullopt;
    EmployeeRecord record;
    record.values = edit::shownRow(detailFields(), kMasterTable, master_.record());
    for (const QString &c : masterTextColumns())
        record.values.insert(c, master_.value(c).toString());
    record.asRead.insert(kMasterTable, edit::asRead(master_.record()));
    master_.finish();

    for (auto &[table, q] : entryRows_) {
        q.bindValue(":code", code);
        sql::exec(q);
        if (q.next()) {
            record.entryRowIds.insert(table, q.value("自动编号").toLongLong());
            record.values.insert(edit::shownRow(detailFields(), table, q.record()));
            record.asRead.insert(table, edit::asRead(q.record()));
        }
        q.finish();
    }
    return record;
}

std::optional<EmployeeRecord> loadEmployee(const QSqlDatabase &db, const QString &code)
{
    return EmployeeReader(db).load(code);
}

QString checkEmployee(const QSqlDatabase &db, const EmployeeRecord &record)
{
    return edit::firstFailure(db, checkOrder(), record.values);
}

void writeEmployee(edit::RowWriter &writer, const EmployeeRecord &record, bool adding)
{
    writeMaster(writer, record, adding);
    for (const QString &table : entryHistoryTables())
        writeEntryRow(writer, record, table);
}

QString saveEmployee(const QSqlDatabase &db, const EmployeeRecord &record, bool adding)
{
    const QString problem = checkEmployee(db, record);
    if (!problem.isEmpty())
        return problem;
    try {
        Transaction transaction(db);
        edit::RowWriter writer(db);
        writeEmployee(writer, record, adding);
        transaction.commit();
    } catch (const sql::Failure &e) {
        // A used code or a record changed meanwhile is the person's to correct; a database
        // that cannot be written is the screen's to tell.
        using Kind = sql::Failure::Kind;
        if (e.kind() != Kind::Constraint && e.kind() != Kind::Refused && e.kind() != Kind::Stale)
            throw;
        return e.explain(kDuplicateCode);
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
    for (const QString &table : recordsOwnedByEmployee() + QStringList{kMasterTable})
        edit::deleteRows(db, table, {kCodeColumn, code});
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
