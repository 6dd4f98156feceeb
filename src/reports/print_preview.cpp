#include "reports/print_preview.h"

#include "db/sql.h"
#include "reports/paged_preview.h"
#include "reports/print_progress.h"
#include "reports/render.h"

#include <QPageSize>
#include <QPaintEngine>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

namespace report {
namespace {

PreviewObserver &observer()
{
    static PreviewObserver instance;
    return instance;
}

// Up to this many pages the whole document is painted into Qt's own preview before it shows
// (a fraction of a second); a longer one is previewed page by page as it comes into view.
constexpr size_t kWholePreviewPages = 40;

}  // namespace

void setPreviewObserver(PreviewObserver o) { observer() = std::move(o); }

void preview(const Document &document, QWidget *parent)
{
    if (observer()) {
        observer()(document);
        return;
    }
    if (document.pages.size() > kWholePreviewPages) {
        PagedPreview dialog(document, parent);
        dialog.exec();
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);  // the page model measures from the paper's corner
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), document.orientation, QMarginsF(0, 0, 0, 0)));
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印预览"));
    dialog.setObjectName(document.name);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&document](QPrinter *p) {
                         try {
                             paint(document, *p);
                         } catch (const sql::Failure &) {
                             return;  // rows that can no longer be read: the pages painted so far
                         }
                         // Printed into a PDF file (not the preview's pages): its text maps too.
                         if (p->outputFormat() == QPrinter::PdfFormat && !p->outputFileName().isEmpty()
                             && p->paintEngine()->type() == QPaintEngine::Pdf)
                             mendPdfText(document, p->outputFileName());
                     });
    if (auto *bar = dialog.findChild<QToolBar *>()) {
        bar->addSeparator();
        QAction *save = bar->addAction(QStringLiteral("保存为PDF"));
        QObject::connect(save, &QAction::triggered, &dialog, [&] { saveAsPdf(document, &dialog); });
    }
    dialog.resize(1100, 800);
    dialog.exec();
}

}  // namespace report
