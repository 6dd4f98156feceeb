#include "reports/print_progress.h"

#include "db/sql.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSize>
#include <QPaintEngine>
#include <QPrinter>
#include <QProgressDialog>

namespace report {
namespace {

constexpr int kShowAfterMs = 400;  // a short document is done before the dialog would show

Teller &teller()
{
    static Teller t;
    return t;
}

void tell(QWidget *parent, const QString &title, const QString &text, Tone tone = Tone::Failure)
{
    if (teller())
        teller()(parent, tone, title, text);
    else if (tone == Tone::Information)
        QMessageBox::information(parent, title, text);
    else
        QMessageBox::critical(parent, title, text);
}

// A progress dialog for `total` pages, and the progress callback that feeds it (false once
// the person cancels).
class PageProgress {
public:
    PageProgress(const QString &label, int total, QWidget *parent)
        : dialog_(label, QStringLiteral("取消"), 0, total, parent), label_(label)
    {
        dialog_.setWindowTitle(QStringLiteral("打印"));
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(kShowAfterMs);
        dialog_.setAutoClose(true);
    }

    Progress callback(std::function<void()> onCancel = {})
    {
        return [this, onCancel = std::move(onCancel)](int done, int total) {
            dialog_.setLabelText(QStringLiteral("%1（第 %2 页，共 %3 页）").arg(label_).arg(done).arg(total));
            dialog_.setValue(done);
            if (dialog_.wasCanceled() && onCancel)
                onCancel();
            return !dialog_.wasCanceled();
        };
    }

private:
    QProgressDialog dialog_;
    const QString label_;
};

}  // namespace

void setTeller(Teller t) { teller() = std::move(t); }

void setUpA4(QPrinter &printer, QPageLayout::Orientation orientation)
{
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0)));
}

bool printWhole(const Document &document, QPrinter &printer, QWidget *parent, const Progress &progress)
{
    // Qt's preview paints through the printer into pages of its own, which an abort would
    // delete from under it: there the pages painted so far stay.
    const bool previewing = printer.paintEngine()->type() == QPaintEngine::Picture;
    try {
        if (!paint(document, printer, progress))
            return false;
    } catch (const sql::Failure &failure) {
        if (!previewing)
            printer.abort();
        tell(parent, QStringLiteral("打印"), failure.message());
        return false;
    }
    if (!previewing && printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        mendPdfText(document, printer.outputFileName());
    return true;
}

bool printShowingProgress(const Document &document, QPrinter &printer, QWidget *parent)
{
    PageProgress progress(QStringLiteral("正在打印…"), int(document.pages.size()), parent);
    // A cancelled job is aborted while it is still open, so nothing of it is printed.
    return printWhole(document, printer, parent, progress.callback([&printer] { printer.abort(); }));
}

void saveAsPdf(const Document &document, QWidget *parent)
{
    QString file = QFileDialog::getSaveFileName(parent, QStringLiteral("保存为PDF"), QString(),
                                                QStringLiteral("PDF 文件 (*.pdf)"));
    if (file.isEmpty())
        return;
    if (!file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        file += QStringLiteral(".pdf");
    PageProgress progress(QStringLiteral("正在保存为PDF…"), int(document.pages.size()), parent);
    QString error;
    try {
        if (writePdf(document, file, &error, progress.callback())) {
            tell(parent, QStringLiteral("保存为PDF"),
                 QStringLiteral("已保存 %1 页到 %2").arg(document.pages.size()).arg(QDir::toNativeSeparators(file)), Tone::Information);
            return;
        }
        if (error.isEmpty())
            return;  // cancelled
    } catch (const sql::Failure &failure) {
        error = failure.message();  // nothing was written under the chosen name
    }
    tell(parent, QStringLiteral("保存为PDF"), error);
}

}  // namespace report
