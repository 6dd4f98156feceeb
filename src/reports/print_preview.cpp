#include "reports/print_preview.h"

#include "reports/paged_preview.h"
#include "reports/print_progress.h"

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
    setUpA4(printer, document.orientation);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印预览"));
    dialog.setObjectName(document.name);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&document, &dialog](QPrinter *p) { printWhole(document, *p, &dialog); });
    if (auto *bar = dialog.findChild<QToolBar *>()) {
        bar->addSeparator();
        QAction *save = bar->addAction(QStringLiteral("保存为PDF"));
        QObject::connect(save, &QAction::triggered, &dialog, [&] { saveAsPdf(document, &dialog); });
    }
    dialog.resize(1100, 800);
    dialog.exec();
}

}  // namespace report
