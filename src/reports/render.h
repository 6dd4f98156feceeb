#pragma once
// Paints laid-out pages onto a paged device (the printer behind the preview, a PDF writer).
// The device must address the whole sheet: (0,0) is the paper's top-left corner.

#include "reports/page_model.h"

class QPagedPaintDevice;

namespace report {

// False when the device cannot be painted on (a file that cannot be written, say).
bool paint(const Document &document, QPagedPaintDevice &device);

// Writes the document as a PDF file; false with a Chinese message when it cannot.
bool writePdf(const Document &document, const QString &file, QString *error = nullptr);

}  // namespace report
