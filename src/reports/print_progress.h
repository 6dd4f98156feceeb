#pragma once
// Printing and PDF writing page after page: a long document shows a progress dialog whose
// cancel button stops the work (a cancelled print job is aborted, a cancelled PDF leaves no
// file under the chosen name).

#include "reports/page_model.h"

class QPrinter;
class QWidget;

namespace report {

// False when the printer refused the job or the person cancelled it.
bool printShowingProgress(const Document &document, QPrinter &printer, QWidget *parent);

// Asks for a file name and writes the document there as a PDF; reports a failure itself.
void saveAsPdf(const Document &document, QWidget *parent);

}  // namespace report
