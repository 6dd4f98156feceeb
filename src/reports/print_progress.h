#pragma once
// Printing and PDF writing page after page: a long document shows a progress dialog whose
// cancel button stops the work (a cancelled print job is aborted, a cancelled PDF leaves no
// file under the chosen name).

#include "db/scoped_hook.h"
#include "reports/page_model.h"
#include "reports/render.h"

#include <functional>

class QPrinter;
class QWidget;

namespace report {

// Tells the person why a print job or a PDF stopped, or where a PDF was saved: a message box
// unless a teller is set. A database failure is said in Chinese, the database's own words only
// as details. The program's message seam (app/notify.h) sets its observer here too, so a test that
// observes messages sees these, and this engine needs nothing from the screens above it.
enum class Tone { Information, Failure };
using Teller = std::function<void(QWidget *parent, Tone tone, const QString &title, const QString &text,
                                  const QString &details)>;
void setTeller(Teller teller);  // an empty teller shows the message box again
using ScopedTeller = ScopedHook<Teller, &setTeller>;

// A4 in the document's orientation, measured from the paper's corner as the page model is.
void setUpA4(QPrinter &printer, QPageLayout::Orientation orientation);

// Paints the document onto the printer (or into Qt's preview of it). Rows that can no longer
// be read abort a real job, so no part of it is printed, and are told to the person; printed
// into a PDF file, the file's text maps are mended. False when the job did not complete.
bool printWhole(const Document &document, QPrinter &printer, QWidget *parent, const Progress &progress = {});

// False when the printer refused the job or the person cancelled it.
bool printShowingProgress(const Document &document, QPrinter &printer, QWidget *parent);

// Asks for a file name and writes the document there as a PDF; reports a failure itself.
void saveAsPdf(const Document &document, QWidget *parent);

}  // namespace report
