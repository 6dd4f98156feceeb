#include "reports/print_progress.h"

#include "db/failure_text.h"
#include "db/sql.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSize>
#include <QPaintEngine>
#include <QPrinter>
#include <QProgressDialog>
#include <optional>

namespace report {
namespace {

constexpr int kShowAfterMs = 400;  // a short document is done before the dialog would show

Teller &teller()
{
    static Teller t;
    return t;
}

void tell(QWidget *parent, const QString &title, const QString &text, Tone tone = Tone::Failure,
          const QString &details = {})
{
    if (teller()) {
        teller()(parent, tone, title, text, details);
        return;
    }
    QMessageBox box(tone == Tone::Information ? QMessageBox::Information : QMessageBox::Critical, title, text,
                    QMessageBox::Ok, parent);
    box.setDetailedText(details);
    box.exec();
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

// Paints the document onto the printer: true when every page was painted; rows that can no
// longer be read abort a real job, so no part of it is printed, and come back as the failure.
// Qt's preview paints through the printer into pages of its own, which an abort would delete
// from under it: there the pages painted so far stay.
bool paintWhole(const Document &document, QPrinter &printer, const Progress &progress,
                std::optional<sql::Failure> &failure)
{
    const bool previewing = printer.paintEngine()->type() == QPaintEngine::Picture;
    try {
        if (!paint(document, printer, progress))
            return false;
    } catch (const sql::Failure &e) {
        if (!previewing)
            printer.abort();
        failure = e;
        return false;
    }
    if (!previewing && printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        mendPdfText(document, printer.outputFileName());
    return true;
}

// A failure in Chinese; the database's own words only in the details.
void tell(QWidget *parent, const QString &title, const sql::Failure &failure)
{
    const failure_text::Said said = failure_text::said(failure, {.reading = true});
    tell(parent, title, said.text, Tone::Failure, said.details);
}

}  // namespace

void setTeller(Teller t) { teller() = std::move(t); }

void setUpA4(QPrinter &printer, QPageLayout::Orientation orientation)
{
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0)));
}

bool printWhole(const Document &document, QPrinter &printer, QWidget *parent, const Progress &progress)
{
    std::optional<sql::Failure> failure;
    const bool whole = paintWhole(document, printer, progress, failure);
    if (failure)
        tell(parent, QStringLiteral("打印"), *failure);
    return whole;
}

bool printShowingProgress(const Document &document, QPrinter &printer, QWidget *parent)
{
    std::optional<sql::Failure> failure;
    bool whole = false;
    {
        PageProgress progress(QStringLiteral("正在打印…"), int(document.pages.size()), parent);
        // A cancelled job is aborted while it is still open, so nothing of it is printed.
        whole = paintWhole(document, printer, progress.callback([&printer] { printer.abort(); }), failure);
    }  // the progress dialog closes before anything is said
    if (failure)
        tell(parent, QStringLiteral("打印"), *failure);
    return whole;
}

void saveAsPdf(const Document &document, QWidget *parent)
{
    QString file = QFileDialog::getSaveFileName(parent, QStringLiteral("保存为PDF"), QString(),
                                                QStringLiteral("PDF 文件 (*.pdf)"));
    if (file.isEmpty())
        return;
    if (!file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        file += QStringLiteral(".pdf");
    QString error;
    bool written = false;
    std::optional<sql::Failure> failure;
    {
        PageProgress progress(QStringLiteral("正在保存为PDF…"), int(document.pages.size()), parent);
        try {
            written = writePdf(document, file, &error, progress.callback());
        } catch (const sql::Failure &e) {
            failure = e;  // nothing was written under the chosen name
        }
    }  // the progress dialog closes before anything is said
    if (written)
        tell(parent, QStringLiteral("保存为PDF"),
             QStringLiteral("已保存 %1 页到 %2").arg(document.pages.size()).arg(QDir::toNativeSeparators(file)), Tone::Information);
    else if (failure)
        tell(parent, QStringLiteral("保存为PDF"), *failure);
    else if (!error.isEmpty())  // empty: cancelled
        tell(parent, QStringLiteral("保存为PDF"), error);
}

}  // namespace report
