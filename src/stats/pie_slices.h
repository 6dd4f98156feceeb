#pragma once
// What a pie chart of one statistics row shows: its title and, in order, one slice for each
// listed column whose value is neither empty nor 0.

#include <QSqlRecord>
#include <QString>
#include <utility>
#include <vector>

namespace stats {

struct ChartButton {
    QString caption;  // the toolbar button, e.g. "学历图示"
    QString suffix;   // added to the row's name for the title, e.g. "->学历图示"
    std::vector<std::pair<QString, QString>> slices;  // column, label
};

struct PieData {
    QString title;
    std::vector<std::pair<QString, double>> slices;  // label, value
};

PieData pieFromRow(const QSqlRecord &row, const QString &nameColumn, const ChartButton &chart);

}  // namespace stats
