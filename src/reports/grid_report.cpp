#include "reports/grid_report.h"

#include "reports/layout.h"

#include <QRegularExpression>

namespace report {

Document layoutGrid(const QString &name, const QString &title, const QString &subtitle, const QAbstractItemModel &model)
{
    static const QRegularExpression number(QStringLiteral("^-?[0-9][0-9,]*(\\.[0-9]+)?%?$"));
    const int columns = model.columnCount();
    QList<Row> rows;
    std::vector<int> widest(size_t(columns), 2);
    std::vector<bool> numeric(size_t(columns), true);
    for (int c = 0; c < columns; ++c)
        widest[size_t(c)] = std::max(widest[size_t(c)], int(model.headerData(c, Qt::Horizontal).toString().size()));
    for (int r = 0; r < model.rowCount(); ++r) {
        Row row;
        for (int c = 0; c < columns; ++c) {
            const QString text = model.index(r, c).data().toString();
            widest[size_t(c)] = std::max(widest[size_t(c)], int(text.size()));
            if (!text.isEmpty() && !number.match(text).hasMatch())
                numeric[size_t(c)] = false;
            row << text;
        }
        rows << row;
    }
    Report r;
    r.name = name;
    r.orientation = QPageLayout::Landscape;
    r.title = title;
    if (!subtitle.isEmpty())
        r.labels = {{{}, subtitle, {}}};
    r.headingsOnEveryPage = true;
    r.headingLines = 1;
    for (int c = 0; c < columns; ++c)
        r.columns.push_back({model.headerData(c, Qt::Horizontal).toString(), double(std::min(widest[size_t(c)], 30)),
                             numeric[size_t(c)] ? Align::Right : Align::Left, field(c)});
    return layout(r, rows);
}

}  // namespace report
