#pragma once
// Paints laid-out pages onto a paged device (the printer behind the preview, a PDF writer).
// The device must address the whole sheet: (0,0) is the paper's top-left corner.

#include "reports/page_model.h"

class QPagedPaintDevice;

namespace report {

// False when the device cannot be painted on (a file that cannot be written, say).
bool paint(const Document &document, QPagedPaintDevice &device);

// Writes the document as a PDF file whose text reads back as printed (pdf_text_map.h); false
// with a Chinese message when it cannot.
bool writePdf(const Document &document, const QString &file, QString *error = nullptr);

// The same mending for a PDF file the document was printed into through a printer.
void mendPdfText(const Document &document, const QString &file);

}  // namespace report
