#include "app/field_controls.h"

#include "app/character_limit.h"
#include "db/money.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace edit {

QWidget *makeControl(const Field &field, QWidget *parent)
{
    QWidget *control = nullptr;
    if (field.kind == Kind::CodeList || field.kind == Kind::PickList) {
        auto *list = new QComboBox(parent);
        for (const QString &item : field.choices)
            list->addItem(item, item.isEmpty() ? QVariant() : QVariant(item));  // "" is the empty choice
        list->setCurrentIndex(-1);
        control = list;
    } else {
        auto *edit = new QLineEdit(parent);
        switch (field.kind) {
        case Kind::MaskedDate:
            edit->setInputMask(QStringLiteral("0000-00-00; "));
            break;
        case Kind::Date:
            edit->setMaxLength(10);
            edit->setToolTip(QStringLiteral("年-月-日，例如 2003-06-01"));
            break;
        case Kind::Money:
            edit->setValidator(new QRegularExpressionValidator(QRegularExpression(money::typingPattern()), edit));
            break;
        case Kind::Number:
            edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,9}(\\.\\d{0,4})?")), edit));
            break;
        default:
            // Stopped while typing rather than refused by the database on saving.
            if (field.width() > 0)
                character_limit::apply(edit, field.width());
        }
        control = edit;
    }
    control->setObjectName(field.key());
    return control;
}

QString valueOf(const QWidget *control)
{
    if (auto *edit = qobject_cast<const QLineEdit *>(control))
        return edit->text();
    if (auto *list = qobject_cast<const QComboBox *>(control))
        return list->currentIndex() < 0 ? QString() : list->currentData().toString();
    return {};
}

void setValue(QWidget *control, const QString &value)
{
    if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        edit->setText(value);
    } else if (auto *list = qobject_cast<QComboBox *>(control)) {
        // findData(QVariant()) finds the "none" item, whose data is null.
        list->setCurrentIndex(list->findData(value.isEmpty() ? QVariant() : QVariant(value)));
    }
}

void fillCodeList(QComboBox *list, const QList<code_items::Item> &items, Shown shown,
                  const std::optional<QString> &none)
{
    const QSignalBlocker quiet(list);
    list->clear();
    if (none)
        list->addItem(*none, QVariant());
    for (const code_items::Item &item : items) {
        switch (shown) {
        case Shown::Name: list->addItem(item.name, item.code); break;
        case Shown::CodeName: list->addItem(item.code + item.name, item.code); break;
        case Shown::CodeSpaceName: list->addItem(item.code + ' ' + item.name, item.code); break;
        }
    }
    list->setCurrentIndex(none ? 0 : -1);
}

}  // namespace edit
