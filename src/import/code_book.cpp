#include "import/code_book.h"

#include "db/code_items.h"
#include "db/schema.h"
#include "db/sql.h"
#include "staff/employee_fields.h"

#include <QSqlRecord>

namespace staff_import {

CodeBook::CodeBook(const QSqlDatabase &db)
{
    for (const edit::Field &f : staff::detailFields()) {
        if (f.kind != edit::Kind::CodeList || tables_.contains(f.listTable()))
            continue;
        const QString name = f.listTable();
        const code_items::Columns columns = code_items::columnsOf(name);
        Table &t = tables_[name];
        if (const schema::Table *described = schema::findTable(name))
            t.codeWidth = described->columns.front().width;
        QSqlQuery q = sql::prepare(db, "select * from " + sql::quoteIdentifier(name));
        q.setForwardOnly(true);
        sql::exec(q);
        while (q.next()) {
            Item item{q.value(columns.code).toString(), q.value(columns.name).toString().trimmed(), {}};
            const QSqlRecord record = q.record();
            for (int i = 2; i < record.count(); ++i)
                item.columns.insert(record.fieldName(i), q.value(i).toString());
            t.byCode.insert(item.code, int(t.items.size()));
            t.byName.insert(item.name, int(t.items.size()));
            t.items.append(item);
        }
    }
}

const CodeBook::Table *CodeBook::table(const edit::Field &field) const
{
    const auto it = tables_.constFind(field.listTable());
    return it == tables_.constEnd() ? nullptr : &it.value();
}

QVector<int> CodeBook::named(const Table &t, const edit::Field &field, const QString &name, const QString &filter) const
{
    QVector<int> found;
    for (auto it = t.byName.constFind(name); it != t.byName.constEnd() && it.key() == name; ++it)
        if (field.filterColumn.isEmpty() || filter.isEmpty()
            || t.items[it.value()].columns.value(field.filterColumn) == filter)
            found.append(it.value());
    return found;
}

CodeBook::Lookup CodeBook::find(const edit::Field &field, const QString &text, const QString &filter) const
{
    const Table *t = table(field);
    const QString typed = text.trimmed();
    if (!t || typed.isEmpty())
        return {};
    if (t->byCode.contains(typed))
        return {typed};
    const QVector<int> byName = named(*t, field, typed, filter);
    if (byName.size() == 1)
        return {t->items[byName.front()].code};
    if (byName.size() > 1)
        return {{}, true};
    bool number = false;
    const int n = typed.toInt(&number);
    const QString padded = QStringLiteral("%1").arg(n, t->codeWidth, 10, QChar('0'));
    if (number && n >= 0 && t->byCode.contains(padded))
        return {padded};
    return {};
}

QString CodeBook::nameFor(const edit::Field &field, const QString &code) const
{
    const Table *t = table(field);
    const auto it = t ? t->byCode.constFind(code) : QHash<QString, int>::const_iterator();
    if (!t || it == t->byCode.constEnd())
        return code;
    const Item &item = t->items[it.value()];
    const QString filter = field.filterColumn.isEmpty() ? QString() : item.columns.value(field.filterColumn);
    // A name that is also another item's code would read back as that code.
    if (item.name.isEmpty() || named(*t, field, item.name, filter).size() != 1 || t->byCode.contains(item.name))
        return code;
    return item.name;
}

edit::Offers CodeBook::offers() const
{
    return [this](const QString &table, const QString &code, const code_items::Filter &filter) {
        const auto t = tables_.constFind(table);
        if (t == tables_.constEnd() || code.isEmpty())
            return false;
        const auto at = t->byCode.constFind(code);
        if (at == t->byCode.constEnd() || filter.except.contains(code)
            || (!filter.before.isEmpty() && code >= filter.before))
            return false;
        return filter.column.isEmpty() || t->items[at.value()].columns.value(filter.column) == filter.value.toString();
    };
}

}  // namespace staff_import
