#include "export/csv.h"

namespace csv {

QString field(const QVariant &value)
{
    if (value.isNull())
        return {};
    QString text = value.typeId() == QMetaType::Double ? QString::number(value.toDouble(), 'g', 15) : value.toString();
    if (text.contains(',') || text.contains('"') || text.contains('\n') || text.contains('\r'))
        text = '"' + text.replace('"', QStringLiteral("\"\"")) + '"';
    return text;
}

QString line(const QVariantList &values)
{
    QStringList fields;
    for (const QVariant &v : values)
        fields << field(v);
    return fields.join(',') + '\n';
}

QString line(const QStringList &texts)
{
    QStringList fields;
    for (const QString &t : texts)
        fields << field(t);
    return fields.join(',') + '\n';
}

}  // namespace csv
