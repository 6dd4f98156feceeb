#include "reports/grid_report.h"

#include "db/money.h"
#include "export/xlsx_export.h"
#include "reports/layout.h"

#include <QRegularExpression>
#include <functional>

namespace report {
namespace {

Document layoutCells(const QString &name, const QString &title, const QString &subtitle, const QStringList &headings,
                     int rowCount, const std::function<QString(int row, int column)> &cellText, const QStringList &summary = {})
{
    static const QRegularExpression number(QStringLiteral("^-?[0-9][0-9,]*(\\.[0-9]+)?%?$"));
    const int columns = int(headings.size());
    QList<Row> rows;
    std::vector<int> widest(size_t(columns), 2);
    std::vector<bool> numeric(size_t(columns), true);
    for (int c = 0; c < columns; ++c)
        widest[size_t(c)] = std::max(widest[size_t(c)], int(headings[c].size()));
    for (int r = 0; r < rowCount; ++r) {
        Row row;
        for (int c = 0; c < columns; ++c) {
            const QString text = cellText(r, c);
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
        r.columns.push_back({headings[c], double(std::min(widest[size_t(c)], 30)),
                             numeric[size_t(c)] ? Align::Right : Align::Left, field(c)});
    r.summary = summary;
    return layout(r, rows);
}

}  // namespace

Document layoutGrid(const QString &name, const QString &title, const QString &subtitle, QAbstractItemModel &model,
                    const QStringList &summary)
{
    while (model.canFetchMore({}))
        model.fetchMore({});
    QStringList headings;
    std::vector<bool> money, measured;
    for (int c = 0; c < model.columnCount(); ++c) {
        headings << model.headerData(c, Qt::Horizontal).toString();
        money.push_back(model.headerData(c, Qt::Horizontal, xlsx::kMoneyColumnRole).toBool());
        // Reals printed as the grid shows them.
        measured.push_back(model.headerData(c, Qt::Horizontal, xlsx::kMeasuredColumnRole).toBool());
    }
    return layoutCells(name, title, subtitle, headings, model.rowCount(), [&](int r, int c) {
        const QVariant value = model.index(r, c).data();
        if (money[size_t(c)] && !value.isNull()) {
            const bool units = value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int;
            if (const auto amount = units ? std::optional<qint64>(value.toLongLong()) : money::parseYuan(value.toString()))
                return money::formatShown(*amount);
        }
        return value.typeId() == QMetaType::Double ? xlsx::realText(value.toDouble(), measured[size_t(c)]) : value.toString();
    }, summary);
}

Document layoutGrid(const QString &name, const QString &title, const QString &subtitle, const QStringList &titles,
                    const QList<QVariantList> &rows)
{
    return layoutCells(name, title, subtitle, titles, int(rows.size()),
                       [&](int r, int c) { return rows[r].value(c).toString(); });
}

Document layoutGrids(const QString &name, const QString &subtitle, const std::vector<GridPart> &parts)
{
    std::vector<Document> documents;
    for (const GridPart &part : parts)
        documents.push_back(layoutGrid(name, part.title, subtitle, *part.model));
    if (documents.empty())
        return {};
    // Each part numbered its own pages; number them through the whole document. A screen's
    // grids are short, so the pages are laid out here once.
    size_t count = 0;
    for (const Document &d : documents)
        count += d.pages.size();
    std::vector<Page> pages;
    for (const Document &d : documents)
        for (size_t p = 0; p < d.pages.size(); ++p) {
            Page page = d.pages[p];
            for (Text &text : page.texts)
                if (text.role == FontRole::Label && text.text == pageNumberText(int(p) + 1, int(d.pages.size())))
                    text.text = pageNumberText(int(pages.size()) + 1, int(count));
            pages.push_back(std::move(page));
        }
    Document joined = documents.front();
    joined.pages = Pages(std::move(pages));
    return joined;
}

}  // namespace report
