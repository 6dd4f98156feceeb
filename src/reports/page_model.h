#pragma once
// Laid-out pages: positioned texts and lines in millimetres from the paper's top-left corner.
// Tests read this model; the renderer paints it.

#include "reports/report.h"

#include <QImage>
#include <QLineF>
#include <QRectF>
#include <QSizeF>
#include <vector>

namespace report {

enum class FontRole { Title, Label, Heading, Body };

struct Text {
    QRectF box;       // the text is aligned inside the box and centred vertically
    QString text;
    Align align = Align::Left;
    FontRole role = FontRole::Body;
    double pointSize = 0;  // 0: the role's size; smaller where a cell text had to shrink
};

// A picture (a photo) scaled into its box, keeping its proportions, centred.
struct Picture {
    QRectF box;
    QImage image;
};

struct Page {
    std::vector<Text> texts;
    std::vector<QLineF> lines;
    std::vector<Picture> pictures;
};

struct Document {
    QString name;
    QSizeF paper;     // millimetres, already turned for landscape
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    Fonts fonts;
    std::vector<Page> pages;
};

}  // namespace report
