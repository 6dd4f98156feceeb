#pragma once
// The employee's detail panel as data: every field with its section, caption, stored column,
// kind of control, the code table it offers and its save check. The editor builds its controls
// from this table, the personal information sheet shows the same fields, and saving, loading
// and the checks all walk it, so a field is described once.

#include "app/edit_fields.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace staff {

inline const QString kMasterTable = QStringLiteral("zghmc");

// Master fields are keyed by their column, entry-time history fields by "table.column".
const edit::Fields &detailFields();
const edit::Field *findField(const QString &key);
QStringList detailSections();  // in screen order

// The checked fields in the order the operator is told about them: the first failing one is
// shown.
const std::vector<const edit::Field *> &checkOrder();

// Master columns without a control of their own in the detail panel.
inline const QString kPhotoColumn = QStringLiteral("照片");
inline const QString kResumeColumn = QStringLiteral("职工简介");

// The entry-time history rows in the order a save writes them.
const QStringList &entryHistoryTables();

}  // namespace staff
