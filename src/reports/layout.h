#pragma once
// Turns a report and its rows into pages. Text is measured with the fonts it will be printed
// in, so this needs a QGuiApplication (an offscreen one will do).
//
// The document's pages are laid out when they are read: the row count is taken at once (it
// gives the page count), a page's rows when that page is produced.

#include "reports/page_model.h"
#include "reports/row_source.h"

#include <QDate>
#include <QFont>

namespace report {

Document layout(const Report &report, const QList<Row> &rows);
Document layoutFromSource(const Report &report, std::shared_ptr<RowSource> rows);

// The page footer's "第 n 页 共 m 页".
QString pageNumberText(int number, int count);
// A printed title's date range, "2025-01-01 至 2025-12-31"; the dates in `format`, ISO when
// it is empty.
QString dateRangeText(const QDate &from, const QDate &to, const QString &format = {});

QFont fontFor(const Fonts &fonts, FontRole role);
double textWidthMm(const QFont &font, const QString &text);
// The point size that fits a text wider than `widthMm` (down to a smallest readable size, as
// a cell text is printed smaller rather than cut off); 0 when it fits in its font's own size.
double fittingPointSize(const QFont &font, const QString &text, double widthMm);

// A heading's lines in a column `widthMm` wide: whole when it fits, otherwise broken at its
// blanks (and, for a word still too wide, between characters).
// (A heading with line breaks keeps them as its lines.)
QStringList headingLines(const QString &heading, double widthMm, const QFont &font);

}  // namespace report
