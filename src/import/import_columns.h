#pragma once
// The columns of the import template and of the register's export: the employee editor's
// fields with the entry-time information, each under the title a staff list gives it, and
// the mapping of a file's own headers onto them.

#include "app/edit_fields.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <vector>

namespace staff_import {

struct Column {
    QString title;             // "职工编码", "部门", "入司时间", …
    const edit::Field *field;  // the editor's field it fills
};

// In the template's order.
const std::vector<Column> &templateColumns();
QStringList templateTitles();

// For each template column, the index of the file's column that fills it, or -1.
using Mapping = std::vector<int>;

// Header text (spaces left out) → template title, as a clerk chose it earlier.
using RememberedChoices = QMap<QString, QString>;

// A file column whose header is a template title, the editor's caption or the stored column
// name fills that column; a header the clerk mapped before fills what it was mapped to.
Mapping proposeMapping(const QStringList &headers, const RememberedChoices &remembered = {});

// The choices a mapping makes for headers that do not already say their column, to remember.
RememberedChoices choicesOf(const QStringList &headers, const Mapping &mapping);

// The clerk's choices kept for next time (QSettings in wenpad.ini beside the program);
// remembering adds to or replaces what was kept before.
RememberedChoices rememberedChoices();
void rememberChoices(const RememberedChoices &choices);

// The titles of the template columns the mapping leaves without a file column.
QStringList unmappedTitles(const Mapping &mapping);

}  // namespace staff_import
