#include "app/edit_fields.h"

#include "db/code_items.h"
#include "db/money.h"
#include "db/schema.h"
#include "db/sql.h"

#include <QRegularExpression>

namespace edit {

int Field::width() const
{
    if (const schema::Table *t = schema::findTable(table))
        for (const schema::Column &c : t->columns)
            if (c.name == column)
                return c.kind == schema::Kind::Text || c.kind == schema::Kind::Code ? c.width : 0;
    return 0;
}

QString Field::listTable() const
{
    return codeTable.isEmpty() ? code_items::referencedTable(table, column) : codeTable;
}

const Field *findField(const Fields &fields, const QString &key)
{
    for (const Field &f : fields)
        if (f.key() == key)
            return &f;
    return nullptr;
}

std::vector<const Field *> fieldsOf(const Fields &fields, const QString &table)
{
    std::vector<const Field *> found;
    for (const Field &f : fields)
        if (f.table == table)
            found.push_back(&f);
    return found;
}

QDate parseDate(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return {};
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

bool isNumber(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\d+(\\.\\d+)?$"));
    return form.match(text.trimmed()).hasMatch();
}

QVariant storedValue(const Field &field, const QString &shown)
{
    const QString text = field.kind == Kind::Text ? shown : shown.trimmed();
    if (text.isEmpty())
        return QVariant();
    switch (field.kind) {
    case Kind::Date:
    case Kind::MaskedDate:
        return sql::dateValue(parseDate(text));
    case Kind::Money:
        if (const std::optional<qint64> amount = money::parseEntry(text))
            return QVariant(qlonglong(*amount));
        return QVariant();
    case Kind::Number:
        return isNumber(text) ? QVariant(text.toDouble()) : QVariant();
    default:
        return text;
    }
}

QString shownValue(const Field &field, const QVariant &stored)
{
    if (stored.isNull())
        return {};
    if (field.kind == Kind::Money)
        return money::formatYuan(stored.toLongLong());
    return stored.toString();
}

bool fitsColumn(const Field &field, const QString &value)
{
    const int width = field.width();
    return width == 0 || value.toUcs4().size() <= width;  // characters, as the column counts them
}

bool passes(const QSqlDatabase &db, const Field &field, const Values &values)
{
    return passes([&db](const QString &table, const QString &code,
                        const code_items::Filter &filter) { return code_items::offers(db, table, code, filter); },
                  field, values);
}

bool passes(const Offers &offers, const Field &field, const Values &values)
{
    const QString text = values.value(field.key()).trimmed();
    switch (field.check) {
    case Check::None:
        return true;
    case Check::NotBlank:
        return !text.isEmpty();
    case Check::Date:
        return parseDate(text).isValid();
    case Check::OptionalDate:
        return text.isEmpty() || parseDate(text).isValid();
    case Check::OptionalMoney:
        return text.isEmpty() || money::parseEntry(text).has_value();
    case Check::OptionalNumber:
        return text.isEmpty() || isNumber(text);
    case Check::Chosen: {
        code_items::Filter filter;
        if (!field.filterColumn.isEmpty())
            filter = {field.filterColumn, values.value(field.filterField)};
        return offers(field.listTable(), text, filter);
    }
    }
    return false;
}

QString firstFailure(const QSqlDatabase &db, const std::vector<const Field *> &order, const Values &values)
{
    for (const Field *f : order)
        if (!passes(db, *f, values))
            return f->message;
    return {};
}

}  // namespace edit
