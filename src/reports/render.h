#pragma once
// Paints laid-out pages: onto a paged device (the printer, a PDF writer) page after page, or one
// page onto any painter (the preview). The device must address the whole sheet: (0,0) is the
// paper's top-left corner.

#include "reports/page_model.h"

#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace report {

// Told after each page is painted: the pages done and the page count. False stops the work.
using Progress = std::function<bool(int done, int total)>;

// One page onto a painter whose device shows the paper `scale` device pixels to the millimetre.
void paintPage(QPainter &painter, const Document &document, const Page &page, double scale);

// False when the device cannot be painted on (a file that cannot be written, say) or when
// `progress` stopped the work.
bool paint(const Document &document, QPagedPaintDevice &device, const Progress &progress = {});

// Writes the document as a PDF file whose text reads back as printed (pdf_text_map.h), page
// after page; false with a Chinese message when it cannot. Written whole or not at all: when it
// fails or `progress` stops it, no file is left under that name (an earlier one stays).
bool writePdf(const Document &document, const QString &file, QString *error = nullptr, const Progress &progress = {});

// The same mending for a PDF file the document was printed into through a printer.
void mendPdfText(const Document &document, const QString &file);

}  // namespace report
