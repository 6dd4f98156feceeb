#pragma once
// The edit-screen kit: a control for each field and the value it shows.

#include "app/edit_fields.h"
#include "db/code_items.h"

#include <optional>

class QComboBox;
class QWidget;

namespace edit {

// A line edit (date mask, money validator, the column's length) or a drop-down (pick list
// filled with its items; code list left empty for fillCodeList). Named by the field's key.
QWidget *makeControl(const Field &field, QWidget *parent);

// The value a control shows: a line edit's text, a drop-down item's data (its code); empty
// for no item and for the "none" item.
QString valueOf(const QWidget *control);
// Shows the value: a line edit's text, or the drop-down item with that data (empty: the
// "none" item when the list has one, else no item).
void setValue(QWidget *control, const QString &value);

enum class Shown {
    Name,           // "汉族"
    CodeName,       // "01汉族"
    CodeSpaceName,  // "01 汉族"
};

// Refills a drop-down with code items, each carrying its code as data, without signalling
// the change. With `none`, an item of that text and no code comes first and is chosen;
// otherwise no item is chosen.
void fillCodeList(QComboBox *list, const QList<code_items::Item> &items, Shown shown = Shown::Name,
                  const std::optional<QString> &none = std::nullopt);

}  // namespace edit
