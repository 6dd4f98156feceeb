#include "import/row_check.h"

#include "db/sql.h"
#include "import/cell_values.h"
#include "staff/employee_fields.h"

namespace staff_import {
namespace {

const QString kCode = QStringLiteral("职工编码");
const QString kName = QStringLiteral("职工姓名");

const Column &columnOf(const edit::Field &field)
{
    for (const Column &c : templateColumns())
        if (c.field == &field)
            return c;
    return templateColumns().front();
}

QString quoted(const Column &column, const QString &text) { return QStringLiteral("%1“%2”").arg(column.title, text); }

}  // namespace

QString Verdict::outcome() const
{
    switch (action) {
    case Action::Add:
        return QStringLiteral("可导入");
    case Action::Update:
        return QStringLiteral("可导入（更新已有职工）");
    case Action::Skip:
        return QStringLiteral("职工编码“%1”已在花名册中，跳过").arg(code);
    case Action::Refuse:
        break;
    }
    return reasons.join(QStringLiteral("；"));
}

QString Verdict::text() const { return QStringLiteral("第 %1 行：%2").arg(line).arg(outcome()); }

RowChecker::RowChecker(const QSqlDatabase &db, const CodeBook &codes, const Mapping &mapping, Existing existing)
    : db_(db), codes_(codes), mapping_(mapping), existing_(existing)
{
    QSqlQuery q = sql::prepare(db, "select 职工编码 from zghmc");
    q.setForwardOnly(true);
    sql::exec(q);
    while (q.next())
        registered_.insert(q.value(0).toString());
}

void RowChecker::readCells(const SheetRow &row, edit::Values *values, QSet<QString> *unreadable,
                           QStringList *reasons) const
{
    const std::vector<Column> &columns = templateColumns();
    // A list filtered by another field (the title by its work type) is read after that field.
    for (const bool filtered : {false, true})
        for (size_t c = 0; c < columns.size(); ++c) {
            const edit::Field &field = *columns[c].field;
            if (mapping_[c] < 0 || field.filterField.isEmpty() == filtered)
                continue;
            const CellValue cell =
                readCell(codes_, columns[c], row.cells.value(mapping_[c]), values->value(field.filterField));
            values->insert(field.key(), cell.value);
            QString reason = cell.reason;
            if (reason.isEmpty() && !edit::fitsColumn(field, cell.value))
                reason = quoted(columns[c], cell.value) + QStringLiteral("超过%1个字").arg(field.width());
            if (!reason.isEmpty()) {
                reasons->append(reason);
                unreadable->insert(field.key());
            }
        }
}

void RowChecker::checkValues(const edit::Values &values, const QSet<QString> &unreadable, QStringList *reasons) const
{
    const edit::Offers offers = codes_.offers();
    for (const edit::Field *field : staff::checkOrder()) {
        const Column &column = columnOf(*field);
        const QString value = values.value(field->key()).trimmed();
        if (unreadable.contains(field->key()) || edit::passes(offers, *field, values))
            continue;
        if (value.isEmpty())
            reasons->append(column.title + QStringLiteral("未填写"));
        else if (!field->filterField.isEmpty())
            reasons->append(QStringLiteral("%1不属于%2").arg(quoted(column, codes_.nameFor(*field, value)),
                                                             quoted(columnOf(*staff::findField(field->filterField)),
                                                                    codes_.nameFor(*staff::findField(field->filterField),
                                                                                   values.value(field->filterField)))));
        else
            reasons->append(quoted(column, value) + QStringLiteral("不正确"));
    }
}

Verdict RowChecker::check(const SheetRow &row, staff::EmployeeRecord *record)
{
    Verdict verdict;
    verdict.line = row.number;
    edit::Values fileValues;
    QSet<QString> unreadable;
    readCells(row, &fileValues, &unreadable, &verdict.reasons);
    verdict.code = fileValues.value(kCode);
    verdict.name = fileValues.value(kName);
    const bool registered = registered_.contains(verdict.code);

    if (registered && existing_ == Existing::Skip) {
        verdict.action = Action::Skip;
        verdict.reasons.clear();
        return verdict;
    }
    *record = {};
    if (registered) {
        if (std::optional<staff::EmployeeRecord> stored = staff::loadEmployee(db_, verdict.code))
            *record = *stored;
    }
    for (auto it = fileValues.cbegin(); it != fileValues.cend(); ++it)
        record->values.insert(it.key(), it.value());
    checkValues(record->values, unreadable, &verdict.reasons);

    if (!verdict.code.isEmpty()) {
        const auto first = seen_.constFind(verdict.code);
        if (first != seen_.constEnd())
            verdict.reasons.append(QStringLiteral("职工编码“%1”与第 %2 行重复").arg(verdict.code).arg(first.value()));
        else
            seen_.insert(verdict.code, row.number);
    }
    if (!verdict.reasons.isEmpty())
        verdict.action = Action::Refuse;
    else
        verdict.action = registered ? Action::Update : Action::Add;
    return verdict;
}

}  // namespace staff_import
