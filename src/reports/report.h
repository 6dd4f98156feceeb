#pragma once
// A printed report as data: the page, the bands and the columns of its ruled table. Layout
// (layout.h) turns a report and its rows into pages of positioned texts and lines; the same
// page model is painted into the preview, onto the printer and into PDF files.

#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

namespace report {

enum class Align { Left, Centre, Right };

// One source row; `number` is the row's running number, counted from 1 in each layout. Pages
// are laid out when they are read, after layout() has returned: a cell keeps what it needs by
// value, never a reference to the caller's locals.
using Row = QVariantList;
using Cell = std::function<QString(const Row &row, int number)>;

struct Column {
    QString heading;      // blanks mark where a heading too wide for its column breaks
    double weight = 1;    // share of the table width
    Align align = Align::Left;
    Cell cell;            // empty: the column prints nothing (a signature space, a remark)
};

// A heading over several adjacent columns, in a row above their own headings.
struct GroupHeading {
    int firstColumn = 0;
    int columnCount = 1;
    QString text;
};

// A line of labels under the title: each part is printed only when not empty.
struct LabelLine {
    QString left;
    QString centre;
    QString right;
};

struct Fonts {
    QString family = QStringLiteral("Noto Sans CJK SC");
    double titlePt = 16;
    double labelPt = 10;
    double headingPt = 9;
    double bodyPt = 9;
};

// All lengths in millimetres.
struct Report {
    QString name;  // the report's class name (Trepgbxx …), carried into the laid-out document
    QPageLayout::Orientation orientation = QPageLayout::Landscape;  // A4 either way
    QMarginsF margins{10, 10, 10, 10};
    Fonts fonts;

    // Title band: the title and its label lines, on the first page only unless it is the page
    // header (then on every page).
    QString title;
    std::vector<LabelLine> labels;
    bool titleOnEveryPage = false;
    bool headingsOnEveryPage = true;

    std::vector<Column> columns;
    std::vector<GroupHeading> groups;
    int headingLines = 2;      // the column heading row holds this many text lines
    double rowHeight = 7;
    bool ruled = true;         // frame every heading and cell; the vertical rules join up
    int flowColumns = 1;       // 2: rows continue in a second table beside the first
    double flowGap = 4;
    bool ruleEmptyRows = false;  // the ruled rows fill every page, printed or not

    QStringList summary;       // one cell per column after the last row; empty: none
    // A row at the foot of every page's table made from that page's rows (a page's totals);
    // empty: none.
    std::function<QStringList(const QList<Row> &pageRows)> pageSummary;
    QStringList footer;        // page footer captions spread over the width, every page
    bool pageNumbers = true;   // "第 n 页 共 m 页" in the page footer
};

// Cells from a row's fields, optionally transformed.
Cell field(int index);
Cell field(int index, std::function<QString(const QString &)> transform);
Cell runningNumber();

}  // namespace report
