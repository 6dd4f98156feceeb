#include "stats/pie_slices.h"

#include <QVariant>

namespace stats {

PieData pieFromRow(const QSqlRecord &row, const QString &nameColumn, const ChartButton &chart)
{
    PieData pie;
    pie.title = row.value(nameColumn).toString() + chart.suffix;
    for (const auto &[column, label] : chart.slices) {
        const QVariant value = row.value(column);
        if (!value.isNull() && value.toDouble() != 0)
            pie.slices.emplace_back(label, value.toDouble());
    }
    return pie;
}

}  // namespace stats
