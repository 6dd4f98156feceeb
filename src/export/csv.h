#pragma once
// Grids as CSV text for the admin tool: one line per row, fields separated by commas, a field
// holding a comma, a double quote or a line break quoted (RFC 4180). Column titles are fields
// like any other: a kind named "病,假" is one title.

#include <QString>
#include <QStringList>
#include <QVariant>

namespace csv {

// Empty for NULL; reals to 15 significant digits (no binary noise); everything else as text.
QString field(const QVariant &value);
QString line(const QVariantList &values);
QString line(const QStringList &texts);

}  // namespace csv
