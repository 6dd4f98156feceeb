#include "staff/resume_report.h"

#include "db/app_paths.h"
#include "reports/layout.h"
#include "staff/photo_files.h"

#include <QImageReader>

namespace staff::resume {
namespace {

using report::Align;
using report::FontRole;

constexpr double kMargin = 15;
constexpr double kRow = 8;        // a ruled row of labels and values
constexpr double kTextLine = 6.5; // a line of an answer

// A cell of a ruled row: from x (mm from the left margin), this wide, this text.
struct Cell {
    double x;
    double width;
    QString text;
    FontRole role = FontRole::Body;
    Align align = Align::Left;
};

// Lays the résumé out top to bottom, starting a new sheet where the next row does not fit.
// A box that runs over a sheet's end is closed there and opened again on the next.
class Composer {
public:
    Composer()
    {
        doc_.name = QStringLiteral("Trepgbllb");
        doc_.orientation = QPageLayout::Portrait;
        doc_.paper = QSizeF(210, 297);
        doc_.fonts.titlePt = 18;
        doc_.fonts.labelPt = 11;
        doc_.fonts.headingPt = 10;
        doc_.fonts.bodyPt = 10;
        width_ = doc_.paper.width() - 2 * kMargin;
        bottom_ = doc_.paper.height() - kMargin - kRow;  // the page number below
        newPage();
    }

    double width() const { return width_; }
    const report::Fonts &fonts() const { return doc_.fonts; }

    void title(const QString &text, const QString &right)
    {
        put({0, width_, text, FontRole::Title, Align::Centre}, y_, 12);
        put({0, width_, right, FontRole::Label, Align::Right}, y_ + 12, kRow);
        y_ += 12 + kRow + 2;
    }

    // A heading over a page's content, unruled.
    void heading(const QString &text)
    {
        const QStringList lines = report::headingLines(text, width_, report::fontFor(doc_.fonts, FontRole::Label));
        need(kRow * lines.size() + kRow);  // not alone at a sheet's foot
        y_ += 2;
        for (const QString &line : lines) {
            put({0, width_, line, FontRole::Label, Align::Centre}, y_, kRow);
            y_ += kRow;
        }
    }

    // A row of framed cells of one height.
    void row(const std::vector<Cell> &cells, double height = kRow)
    {
        need(height);
        for (const Cell &c : cells) {
            frame(c.x, y_, c.width, height);
            put({c.x + 1.2, c.width - 2.4, c.text, c.role, c.align}, y_, height);
        }
        y_ += height;
    }

    // An answer: its question, then its text broken into lines, in one box.
    void answer(const QString &question, const QString &text)
    {
        const QFont label = report::fontFor(doc_.fonts, FontRole::Label);
        const QStringList questionLines = report::headingLines(question, width_ - 2.4, label);
        QStringList lines;
        for (const QString &paragraph : text.split('\n'))
            lines << (paragraph.trimmed().isEmpty()
                          ? QStringList{QString()}
                          : report::headingLines(paragraph, width_ - 2.4, report::fontFor(doc_.fonts, FontRole::Body)));
        while (lines.size() < 2)
            lines << QString();  // room to write in by hand
        // A short answer stays whole on one sheet; a long one starts with at least a few lines.
        need(kRow * questionLines.size() + kTextLine * std::min<qsizetype>(lines.size(), 6));
        for (const QString &line : questionLines)
            row({{0, width_, line, FontRole::Label}});
        openBox();
        for (const QString &line : lines) {
            need(kTextLine);
            put({1.2, width_ - 2.4, line}, y_, kTextLine);
            y_ += kTextLine;
        }
        closeBox();
    }

    // A framed picture box beside rows laid out after it; the rows advance the cursor.
    void picture(double x, double width, double height, const QString &file)
    {
        frame(x, y_, width, height);
        QImageReader reader(file);
        reader.setAutoTransform(true);
        const QImage image = file.isEmpty() ? QImage() : reader.read();
        if (!image.isNull())
            page().pictures.push_back({QRectF(kMargin + x + 1, y_ + 1, width - 2, height - 2), image});
    }

    void gap(double mm) { y_ += mm; }
    bool fits(double height) const { return y_ + height <= bottom_; }
    void need(double height)
    {
        if (y_ + height <= bottom_)
            return;
        if (!box_) {
            newPage();
            return;
        }
        closeBox();
        newPage();
        openBox();
        line(0, y_, width_, y_);
    }

    report::Document finish()
    {
        const int count = int(pages_.size());
        for (int i = 0; i < count; ++i)
            pages_[size_t(i)].texts.push_back(
                {QRectF(kMargin, bottom_ + 2, width_, kRow), report::pageNumberText(i + 1, count), Align::Right, FontRole::Label});
        doc_.pages = report::Pages(std::move(pages_));
        return std::move(doc_);
    }

private:
    report::Page &page() { return pages_.back(); }

    void newPage()
    {
        pages_.emplace_back();
        y_ = kMargin;
    }

    void openBox()
    {
        box_ = true;
        boxTop_ = y_;
    }

    void closeBox()
    {
        // The sides run from where the box began on this sheet.
        line(0, boxTop_, 0, y_);
        line(width_, boxTop_, width_, y_);
        line(0, y_, width_, y_);
        box_ = false;
    }

    void line(double x1, double y1, double x2, double y2)
    {
        page().lines.emplace_back(kMargin + x1, y1, kMargin + x2, y2);
    }

    void frame(double x, double y, double width, double height)
    {
        line(x, y, x + width, y);
        line(x, y + height, x + width, y + height);
        line(x, y, x, y + height);
        line(x + width, y, x + width, y + height);
    }

    void put(const Cell &c, double y, double height)
    {
        if (c.text.isEmpty())
            return;
        report::Text t{QRectF(kMargin + c.x, y, c.width, height), c.text, c.align, c.role};
        t.pointSize = report::fittingPointSize(report::fontFor(doc_.fonts, c.role), c.text, c.width);
        page().texts.push_back(t);
    }

    report::Document doc_;
    std::vector<report::Page> pages_;  // laid out here, handed to the document when finished
    double width_ = 0, bottom_ = 0, y_ = 0;
    bool box_ = false;
    double boxTop_ = 0;
};

void personalBlock(Composer &c, const QMap<QString, QString> &personal, const QString &photoFile)
{
    // Two label and value pairs a row on the left, the photo on the right.
    const double photo = 36, pairs = c.width() - photo, label = 24, value = pairs / 2 - label;
    const std::vector<LabelledValue> &fields = personalFields();
    const int rows = int(fields.size() + 1) / 2;
    c.need(kRow * rows);
    c.picture(pairs, photo, kRow * rows, photoFile);
    for (int r = 0; r < rows; ++r) {
        std::vector<Cell> cells;
        for (int k = 0; k < 2 && size_t(2 * r + k) < fields.size(); ++k) {
            const LabelledValue &f = fields[size_t(2 * r + k)];
            const double x = k * (label + value);
            cells.push_back({x, label, f.label, FontRole::Label});
            cells.push_back({x + label, value, personal.value(f.column)});
        }
        c.row(cells);
    }
    // The salary block: captions only, with room to write.
    const SalaryCaptions &salary = salaryCaptions();
    const double kind = 22, caption = 20, blank = (c.width() - label - kind - 2 * caption) / 2;
    c.need(2 * kRow);
    c.row({{0, label, salary.title, FontRole::Label}, {label, kind, salary.left, FontRole::Label},
           {label + kind, caption, salary.leftLabels.value(0), FontRole::Label}, {label + kind + caption, blank, {}},
           {label + kind + caption + blank, caption, salary.leftLabels.value(1), FontRole::Label},
           {label + kind + 2 * caption + blank, blank, {}}});
    c.row({{0, label, {}}, {label, kind, salary.right, FontRole::Label},
           {label + kind, caption, salary.rightLabels.value(0), FontRole::Label}, {label + kind + caption, blank, {}},
           {label + kind + caption + blank, caption, salary.rightLabels.value(1), FontRole::Label},
           {label + kind + 2 * caption + blank, blank, {}}});
    const double question = 50;
    c.row({{0, question, kStartOfWorkCaption, FontRole::Label},
           {question, c.width() - question,
            QStringList{personal.value("工作时间"), personal.value("工作单位")}.join("  ").trimmed()}});
    c.gap(3);
}

void gridBlock(Composer &c, const QString &caption, const Grid &grid, const QList<GridRow> &rows)
{
    if (!caption.isEmpty()) {
        c.need(3 * kRow);
        c.row({{0, c.width(), caption, FontRole::Label}});
    }
    // The first column holds dates, the others share the rest.
    std::vector<double> widths(grid.columns.size(), (c.width() - 34) / double(grid.columns.size() - 1));
    widths[0] = 34;
    const auto cellsOf = [&](const QStringList &texts, FontRole role, Align align) {
        std::vector<Cell> cells;
        double x = 0;
        for (size_t i = 0; i < widths.size(); ++i) {
            cells.push_back({x, widths[i], texts.value(int(i)), role, align});
            x += widths[i];
        }
        return cells;
    };
    QStringList headings;
    for (const GridColumn &col : grid.columns)
        headings << col.heading;
    QList<QStringList> printed;
    for (const GridRow &row : rows)
        printed << row.values;
    while (printed.size() < 2)
        printed << QStringList();  // room to write in by hand
    c.need(2 * kRow);
    c.row(cellsOf(headings, FontRole::Heading, Align::Centre));
    for (const QStringList &values : printed) {
        if (!c.fits(kRow)) {  // the headings again over the rows continued on the next sheet
            c.need(2 * kRow);
            c.row(cellsOf(headings, FontRole::Heading, Align::Centre));
        }
        c.row(cellsOf(values, FontRole::Body, Align::Left));
    }
    c.gap(3);
}

void spouseBlock(Composer &c, const QString &caption, const QMap<QString, QString> &spouse)
{
    // The salary's second line joins its first; pairs of label and value, two a row.
    std::vector<std::pair<QString, QString>> pairs;
    for (const LabelledValue &f : spouseFields()) {
        if (f.label.isEmpty() && !pairs.empty())
            pairs.back().second = QStringList{pairs.back().second, spouse.value(f.column)}.join(' ').trimmed();
        else
            pairs.emplace_back(f.label, spouse.value(f.column));
    }
    const double half = c.width() / 2, label = 30;
    c.need(2 * kRow);
    c.row({{0, c.width(), caption, FontRole::Label}});
    for (size_t i = 0; i < pairs.size(); i += 2) {
        std::vector<Cell> cells;
        for (size_t k = 0; k < 2 && i + k < pairs.size(); ++k) {
            cells.push_back({k * half, label, pairs[i + k].first, FontRole::Label});
            cells.push_back({k * half + label, half - label, pairs[i + k].second});
        }
        c.row(cells);
    }
    c.gap(3);
}

}  // namespace

report::Document layoutResume(const QMap<QString, QString> &personal, const Resume &resume, const QString &photoFile)
{
    Composer c;
    c.title(QStringLiteral("干部履历表"),
            QStringLiteral("职工编号：%1    姓名：%2").arg(personal.value("职工编码"), personal.value("职工姓名")));
    for (const Page &page : pages()) {
        if (!page.heading.isEmpty())
            c.heading(page.heading);
        for (const Block &b : page.blocks) {
            switch (b.kind) {
            case Block::Kind::Personal: personalBlock(c, personal, photoFile); break;
            case Block::Kind::Text: c.answer(b.caption, resume.texts.value(b.column)); break;
            case Block::Kind::Grid: gridBlock(c, b.caption, *b.grid, resume.lists.count(b.grid->table) ? resume.lists.at(b.grid->table) : QList<GridRow>{}); break;
            case Block::Kind::Spouse: spouseBlock(c, b.caption, resume.spouse); break;
            }
        }
    }
    return c.finish();
}

std::optional<report::Document> printedResume(const QSqlDatabase &db, const QString &code)
{
    const std::optional<QMap<QString, QString>> personal = personalData(db, code);
    if (!personal)
        return std::nullopt;
    // A missing photo leaves the frame empty on paper rather than printing the icon.
    const QString photo = photoFileToShow(personal->value("照片"));
    return layoutResume(*personal, loadResume(db, code), photo == app_paths::missingPhotoIconFile() ? QString() : photo);
}

}  // namespace staff::resume
