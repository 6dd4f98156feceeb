#include "reports/layout.h"

#include <QFontMetricsF>
#include <QImage>
#include <QMap>
#include <QPageSize>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace report {
namespace {

constexpr double kMeasureDpi = 600;
constexpr double kMmPerInch = 25.4;
constexpr double kCellPadding = 1;     // between a cell's rule and its text
constexpr double kEpsilon = 1e-6;
constexpr double kSmallestPt = 6;  // texts shrink to fit down to this size

// Fonts are measured at the PDF writer's resolution, so widths match the printed page.
const QImage &measureDevice()
{
    static const QImage image = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        i.setDotsPerMeterX(qRound(kMeasureDpi / kMmPerInch * 1000));
        i.setDotsPerMeterY(qRound(kMeasureDpi / kMmPerInch * 1000));
        return i;
    }();
    return image;
}

double lineHeightMm(const QFont &font)
{
    return QFontMetricsF(font, &measureDevice()).height() / kMeasureDpi * kMmPerInch;
}

// Greedy breaking of a sequence of characters into lines no wider than `widthMm`.
QStringList fill(const QStringList &pieces, double widthMm, const QFont &font)
{
    QStringList lines;
    QString current;
    for (const QString &piece : pieces) {
        if (!current.isEmpty() && textWidthMm(font, current + piece) > widthMm) {
            lines << current;
            current.clear();
        }
        current += piece;
    }
    if (!current.isEmpty())
        lines << current;
    return lines;
}

QStringList characters(const QString &word)
{
    QStringList result;
    for (int i = 0; i < word.size(); ++i) {
        const int n = word[i].isHighSurrogate() && i + 1 < word.size() ? 2 : 1;
        result << word.mid(i, n);
        i += n - 1;
    }
    return result;
}

// Collinear rules that touch or overlap become one rule, so columns print as unbroken lines.
std::vector<QLineF> joinRules(const std::vector<QLineF> &lines)
{
    // key: (vertical?, fixed coordinate) → spans along the other axis
    QMap<std::pair<bool, qint64>, std::vector<std::pair<double, double>>> spans;
    for (const QLineF &l : lines) {
        const bool vertical = std::abs(l.x1() - l.x2()) < kEpsilon;
        const double fixed = vertical ? l.x1() : l.y1();
        double a = vertical ? l.y1() : l.x1();
        double b = vertical ? l.y2() : l.x2();
        if (a > b)
            std::swap(a, b);
        spans[{vertical, qRound64(fixed * 1e6)}].push_back({a, b});
    }
    std::vector<QLineF> joined;
    for (auto it = spans.begin(); it != spans.end(); ++it) {
        auto &list = it.value();
        std::sort(list.begin(), list.end());
        const bool vertical = it.key().first;
        const double fixed = double(it.key().second) / 1e6;
        auto add = [&](double a, double b) {
            joined.push_back(vertical ? QLineF(fixed, a, fixed, b) : QLineF(a, fixed, b, fixed));
        };
        double start = list.front().first, end = list.front().second;
        for (size_t i = 1; i < list.size(); ++i) {
            if (list[i].first <= end + kEpsilon) {
                end = std::max(end, list[i].second);
            } else {
                add(start, end);
                start = list[i].first;
                end = list[i].second;
            }
        }
        add(start, end);
    }
    return joined;
}

// A report's pages, each laid out when it is read from the rows it holds. Every row is as high
// as the next, so where each page starts and how many pages there are follow from the row count.
class LayoutPages : public PageSource {
public:
    LayoutPages(Report report, std::shared_ptr<RowSource> rows) : r_(std::move(report)), rows_(std::move(rows))
    {
        const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
        paper_ = r_.orientation == QPageLayout::Landscape ? a4.transposed() : a4;
        left_ = r_.margins.left();
        top_ = r_.margins.top();
        width_ = paper_.width() - r_.margins.left() - r_.margins.right();
        bottom_ = paper_.height() - r_.margins.bottom();

        const int flows = std::max(1, r_.flowColumns);
        tableWidth_ = (width_ - r_.flowGap * (flows - 1)) / flows;
        double total = 0;
        for (const Column &c : r_.columns)
            total += c.weight;
        double x = 0;
        edges_.push_back(0);
        for (const Column &c : r_.columns) {
            x += total > 0 ? c.weight / total * tableWidth_ : 0;
            edges_.push_back(x);
        }

        bodyFont_ = fontFor(r_.fonts, FontRole::Body);
        headingLineHeight_ = lineHeightMm(fontFor(r_.fonts, FontRole::Heading));
        headingHeight_ = std::max(1, r_.headingLines) * headingLineHeight_ + 2 * kCellPadding;
        groupHeight_ = r_.groups.empty() ? 0 : headingLineHeight_ + 2 * kCellPadding;
        labelHeight_ = lineHeightMm(fontFor(r_.fonts, FontRole::Label)) + 2;
        titleHeight_ = lineHeightMm(fontFor(r_.fonts, FontRole::Title)) + 4;
        footerHeight_ = (!r_.footer.isEmpty() || r_.pageNumbers) ? labelHeight_ + 2 : 0;

        rowCount_ = rows_->count();
        // The rows, then the summary in the next row.
        const int filled = rowCount_ + (r_.summary.isEmpty() ? 0 : 1);
        const int first = slotsOn(0), other = slotsOn(1);
        pageCount_ = filled <= first ? 1 : 1 + (filled - first + other - 1) / other;
    }

    QSizeF paper() const { return paper_; }
    int count() const override { return pageCount_; }

    Page page(int index) const override
    {
        for (const auto &[number, page] : recent_)
            if (number == index)
                return page;
        Page page = produce(index);
        recent_.push_back({index, page});
        if (recent_.size() > kRecentPages)
            recent_.erase(recent_.begin());
        return page;
    }

private:
    static constexpr size_t kRecentPages = 4;  // a preview repaints the pages in view

    // Label lines (what the rows cover) print even under an empty title.
    bool titleOn(int index) const
    {
        return (!r_.title.isEmpty() || !r_.labels.empty()) && (index == 0 || r_.titleOnEveryPage);
    }
    bool headingsOn(int index) const { return index == 0 || r_.headingsOnEveryPage; }

    double rowsTop(int index) const
    {
        double y = top_;
        if (titleOn(index))
            y += titleBandHeight();
        if (headingsOn(index))
            y += groupHeight_ + headingHeight_;
        return y;
    }
    int rowsPerColumn(int index) const
    {
        return std::max(1, int((bottom_ - footerHeight_ - rowsTop(index) + kEpsilon) / r_.rowHeight));
    }
    // The places for rows on a page; a page summary takes the last one.
    int slotsOn(int index) const { return rowsPerColumn(index) * flows() - (r_.pageSummary ? 1 : 0); }
    int firstSlot(int index) const { return index == 0 ? 0 : slotsOn(0) + (index - 1) * slotsOn(1); }

    Page produce(int index) const
    {
        Page page;
        double y = top_;
        if (titleOn(index))
            y = titleBand(page, y);
        const bool headings = headingsOn(index);
        if (headings) {
            for (int k = 0; k < flows(); ++k)
                headingBand(page, flowLeft(k), y);
            y += groupHeight_ + headingHeight_;
        }
        const int perColumn = rowsPerColumn(index);
        const int first = firstSlot(index);
        const QList<Row> rows =
            first < rowCount_ ? rows_->rows(first, std::min(slotsOn(index), rowCount_ - first)) : QList<Row>();
        for (int k = 0; k < flows(); ++k) {
            for (int i = 0; i < perColumn; ++i) {
                const int slot = first + k * perColumn + i;
                const double rowTop = y + i * r_.rowHeight;
                const bool openTop = i == 0 && !headings;
                if (r_.pageSummary && k == flows() - 1 && i == perColumn - 1) {
                    rowBand(page, flowLeft(k), rowTop, r_.pageSummary(rows), openTop);
                } else if (slot < rowCount_) {
                    const Row row = rows.value(slot - first);
                    QStringList cells;
                    for (const Column &c : r_.columns)
                        cells << (c.cell ? c.cell(row, slot + 1) : QString());
                    rowBand(page, flowLeft(k), rowTop, cells, openTop);
                } else if (slot == rowCount_ && !r_.summary.isEmpty()) {
                    rowBand(page, flowLeft(k), rowTop, r_.summary, openTop);
                } else if (r_.ruleEmptyRows) {
                    rowBand(page, flowLeft(k), rowTop, {}, openTop);
                } else {
                    break;
                }
            }
        }
        page.lines = joinRules(page.lines);
        footerBand(page, index + 1, pageCount_);
        return page;
    }

private:
    int flows() const { return std::max(1, r_.flowColumns); }
    double flowLeft(int k) const { return left_ + k * (tableWidth_ + r_.flowGap); }

    void text(Page &page, const QRectF &box, const QString &s, Align align, FontRole role) const
    {
        if (!s.isEmpty())
            page.texts.push_back({box, s, align, role});
    }

    void rule(Page &page, double x1, double y1, double x2, double y2) const
    {
        if (r_.ruled)
            page.lines.emplace_back(x1, y1, x2, y2);
    }

    // The title and the label lines under it.
    double titleBandHeight() const { return titleHeight_ + double(r_.labels.size()) * labelHeight_; }

    // Returns the band's bottom, where the rows' top is reckoned to be (rowsTop).
    double titleBand(Page &page, double top) const
    {
        text(page, {left_, top, width_, titleHeight_}, r_.title, Align::Centre, FontRole::Title);
        double y = top + titleHeight_;
        for (const LabelLine &l : r_.labels) {
            const QRectF box(left_, y, width_, labelHeight_);
            text(page, box, l.left, Align::Left, FontRole::Label);
            text(page, box, l.centre, Align::Centre, FontRole::Label);
            text(page, box, l.right, Align::Right, FontRole::Label);
            y += labelHeight_;
        }
        return top + titleBandHeight();
    }

    const GroupHeading *groupOf(int column) const
    {
        for (const GroupHeading &g : r_.groups)
            if (column >= g.firstColumn && column < g.firstColumn + g.columnCount)
                return &g;
        return nullptr;
    }

    void headingBand(Page &page, double x0, double y) const
    {
        const QFont font = fontFor(r_.fonts, FontRole::Heading);
        const double bottom = y + groupHeight_ + headingHeight_;
        for (const GroupHeading &g : r_.groups) {
            const double a = x0 + edges_[size_t(g.firstColumn)];
            const double b = x0 + edges_[size_t(g.firstColumn + g.columnCount)];
            text(page, {a, y, b - a, groupHeight_}, g.text, Align::Centre, FontRole::Heading);
            rule(page, a, y + groupHeight_, b, y + groupHeight_);
        }
        for (int c = 0; c < int(r_.columns.size()); ++c) {
            const double top = groupOf(c) ? y + groupHeight_ : y;
            const double a = x0 + edges_[size_t(c)];
            const double w = edges_[size_t(c) + 1] - edges_[size_t(c)];
            const QStringList lines = headingLines(r_.columns[size_t(c)].heading, w - 2 * kCellPadding, font);
            double lineTop = top + (bottom - top - lines.size() * headingLineHeight_) / 2;
            for (const QString &line : lines) {
                text(page, {a, lineTop, w, headingLineHeight_}, line, Align::Centre, FontRole::Heading);
                lineTop += headingLineHeight_;
            }
        }
        // A rule between two columns of one group starts under the group heading.
        for (int e = 0; e < int(edges_.size()); ++e) {
            const GroupHeading *g = e > 0 ? groupOf(e - 1) : nullptr;
            const bool inside = g && e < g->firstColumn + g->columnCount;
            rule(page, x0 + edges_[size_t(e)], inside ? y + groupHeight_ : y, x0 + edges_[size_t(e)], bottom);
        }
        rule(page, x0, y, x0 + tableWidth_, y);
        rule(page, x0, bottom, x0 + tableWidth_, bottom);
    }

    void rowBand(Page &page, double x0, double y, const QStringList &cells, bool openTop) const
    {
        for (int c = 0; c < int(r_.columns.size()); ++c) {
            const double a = x0 + edges_[size_t(c)];
            const double w = edges_[size_t(c) + 1] - edges_[size_t(c)];
            const QRectF box(a + kCellPadding, y, w - 2 * kCellPadding, r_.rowHeight);
            const QString cell = cells.value(c);
            if (!cell.isEmpty())
                page.texts.push_back({box, cell, r_.columns[size_t(c)].align, FontRole::Body, fittingPointSize(bodyFont_, cell, box.width())});
        }
        for (double e : edges_)
            rule(page, x0 + e, y, x0 + e, y + r_.rowHeight);
        if (openTop)
            rule(page, x0, y, x0 + tableWidth_, y);
        rule(page, x0, y + r_.rowHeight, x0 + tableWidth_, y + r_.rowHeight);
    }

    void footerBand(Page &page, int number, int count) const
    {
        const QRectF line(left_, bottom_ - labelHeight_, width_, labelHeight_);
        const double share = r_.footer.isEmpty() ? 0 : width_ / r_.footer.size();
        for (int i = 0; i < r_.footer.size(); ++i)
            text(page, {left_ + i * share, line.top(), share, line.height()}, r_.footer[i], Align::Left,
                 FontRole::Label);
        if (r_.pageNumbers)
            text(page, line, pageNumberText(number, count), Align::Right,
                 FontRole::Label);
    }

    const Report r_;
    const std::shared_ptr<RowSource> rows_;
    QSizeF paper_;
    int rowCount_ = 0;
    int pageCount_ = 1;
    mutable std::vector<std::pair<int, Page>> recent_;
    double left_ = 0, top_ = 0, width_ = 0, bottom_ = 0, tableWidth_ = 0;
    QFont bodyFont_;
    std::vector<double> edges_;  // column edges from the table's left side
    double headingLineHeight_ = 0, headingHeight_ = 0, groupHeight_ = 0;
    double labelHeight_ = 0, titleHeight_ = 0, footerHeight_ = 0;
};

}  // namespace

QFont fontFor(const Fonts &fonts, FontRole role)
{
    QFont font(fonts.family);
    switch (role) {
    case FontRole::Title:
        font.setPointSizeF(fonts.titlePt);
        font.setBold(true);
        break;
    case FontRole::Label:
        font.setPointSizeF(fonts.labelPt);
        break;
    case FontRole::Heading:
        font.setPointSizeF(fonts.headingPt);
        break;
    case FontRole::Body:
        font.setPointSizeF(fonts.bodyPt);
        break;
    }
    return font;
}

double fittingPointSize(const QFont &font, const QString &text, double widthMm)
{
    const double needed = textWidthMm(font, text);
    return needed > widthMm ? std::max(kSmallestPt, font.pointSizeF() * widthMm / needed) : 0;
}

double textWidthMm(const QFont &font, const QString &text)
{
    return QFontMetricsF(font, &measureDevice()).horizontalAdvance(text) / kMeasureDpi * kMmPerInch;
}

QStringList headingLines(const QString &heading, double widthMm, const QFont &font)
{
    const QString text = heading.trimmed();
    if (text.isEmpty())
        return {};
    // Lines the heading itself breaks ("扣\n税金") stay its lines.
    QStringList lines = text.split(QLatin1Char('\n'));
    const bool ownBreaks = lines.size() > 1;
    if (!ownBreaks && textWidthMm(font, text) <= widthMm)
        return {text};
    // Two lines broken at the blank that balances them best: "任现职 时  间" breaks before
    // "时", "大 学 本 科" in the middle.
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    double best = textWidthMm(font, text);
    for (auto it = blanks.globalMatch(text); !ownBreaks && it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString first = text.left(m.capturedStart()), second = text.mid(m.capturedEnd());
        const double wider = std::max(textWidthMm(font, first), textWidthMm(font, second));
        if (wider < best) {
            best = wider;
            lines = {first, second};
        }
    }
    // A line still too wide breaks between characters.
    QStringList result;
    for (const QString &line : lines) {
        if (textWidthMm(font, line) <= widthMm)
            result << line;
        else
            result << fill(characters(line), widthMm, font);
    }
    return result;
}

Document layoutFromSource(const Report &report, std::shared_ptr<RowSource> rows)
{
    auto pages = std::make_shared<LayoutPages>(report, std::move(rows));
    Document document;
    document.name = report.name;
    document.paper = pages->paper();
    document.orientation = report.orientation;
    document.fonts = report.fonts;
    document.pages = Pages(std::move(pages));
    return document;
}

QString pageNumberText(int number, int count)
{
    return QStringLiteral("第 %1 页 共 %2 页").arg(number).arg(count);
}

QString dateRangeText(const QDate &from, const QDate &to, const QString &format)
{
    const auto shown = [&format](const QDate &d) { return format.isEmpty() ? d.toString(Qt::ISODate) : d.toString(format); };
    return QStringLiteral("%1 至 %2").arg(shown(from), shown(to));
}

Document layout(const Report &report, const QList<Row> &rows) { return layoutFromSource(report, listRows(rows)); }

}  // namespace report
