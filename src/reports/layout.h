#pragma once
// Turns a report and its rows into pages. Text is measured with the fonts it will be printed
// in, so this needs a QGuiApplication (an offscreen one will do).

#include "reports/page_model.h"

#include <QFont>

namespace report {

Document layout(const Report &report, const QList<Row> &rows);

// The page footer's "第 n 页 共 m 页".
QString pageNumberText(int number, int count);

QFont fontFor(const Fonts &fonts, FontRole role);
double textWidthMm(const QFont &font, const QString &text);

// A heading's lines in a column `widthMm` wide: whole when it fits, otherwise broken at its
// blanks (and, for a word still too wide, between characters).
QStringList headingLines(const QString &heading, double widthMm, const QFont &font);

}  // namespace report
