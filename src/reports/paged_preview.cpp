#include "reports/paged_preview.h"

#include "reports/page_view.h"
#include "reports/print_progress.h"

#include <QComboBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

namespace report {
namespace {

// The icons of Qt's own print preview, so both previews look alike.
QIcon previewIcon(const QString &name)
{
    return QIcon(QStringLiteral(":/qt-project.org/dialogs/qprintpreviewdialog/images/%1-24.png").arg(name));
}

constexpr double kZoomStep = 1.25;

}  // namespace

PagedPreview::PagedPreview(const Document &document, QWidget *parent) : QDialog(parent), document_(document)
{
    setWindowTitle(QStringLiteral("打印预览"));
    setObjectName(document.name);
    view_ = new PageView(document_, this);

    auto *bar = new QToolBar(this);
    bar->addAction(previewIcon("zoom-fit-width"), QStringLiteral("适合宽度"), this, [this] { view_->setFit(PageView::Fit::Width); });
    bar->addAction(previewIcon("zoom-fit-page"), QStringLiteral("适合页面"), this, [this] { view_->setFit(PageView::Fit::Page); });
    auto *zoom = new QComboBox(bar);
    zoom->setEditable(true);
    zoom->setMinimumContentsLength(6);
    for (int percent : {12, 25, 50, 75, 100, 125, 150, 200, 400, 800})
        zoom->addItem(QStringLiteral("%1%").arg(percent));
    bar->addWidget(zoom);
    bar->addAction(previewIcon("zoom-in"), QStringLiteral("放大"), this, [this] { view_->setZoom(view_->zoom() * kZoomStep); });
    bar->addAction(previewIcon("zoom-out"), QStringLiteral("缩小"), this, [this] { view_->setZoom(view_->zoom() / kZoomStep); });
    bar->addSeparator();
    const int last = view_->pageCount() - 1;
    bar->addAction(previewIcon("go-first"), QStringLiteral("第一页"), this, [this] { view_->showPage(0); });
    bar->addAction(previewIcon("go-previous"), QStringLiteral("上一页"), this,
                   [this] { view_->showPage(view_->currentPage() - 1); });
    pageBox_ = new QLineEdit(bar);
    pageBox_->setValidator(new QIntValidator(1, std::max(1, view_->pageCount()), pageBox_));
    pageBox_->setAlignment(Qt::AlignRight);
    pageBox_->setMaximumWidth(pageBox_->fontMetrics().horizontalAdvance(QString::number(view_->pageCount())) * 2 + 16);
    bar->addWidget(pageBox_);
    bar->addWidget(new QLabel(QStringLiteral(" / %1 ").arg(view_->pageCount()), bar));
    bar->addAction(previewIcon("go-next"), QStringLiteral("下一页"), this,
                   [this] { view_->showPage(view_->currentPage() + 1); });
    bar->addAction(previewIcon("go-last"), QStringLiteral("最后一页"), this, [this, last] { view_->showPage(last); });
    bar->addSeparator();
    bar->addAction(previewIcon("printer"), QStringLiteral("打印"), this, &PagedPreview::print);
    bar->addSeparator();
    bar->addAction(QStringLiteral("保存为PDF"), this, [this] { saveAsPdf(document_, this); });

    connect(pageBox_, &QLineEdit::editingFinished, this, [this] { view_->showPage(pageBox_->text().toInt() - 1); });
    connect(view_, &PageView::currentPageChanged, this,
            [this](int index) { pageBox_->setText(QString::number(index + 1)); });
    connect(view_, &PageView::zoomChanged, zoom,
            [zoom](double z) { zoom->setEditText(QStringLiteral("%1%").arg(qRound(z * 100))); });
    connect(zoom, &QComboBox::textActivated, this, [this](QString text) {
        const double percent = text.remove('%').trimmed().toDouble();
        if (percent > 0)
            view_->setZoom(percent / 100);
    });
    pageBox_->setText(QStringLiteral("1"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(view_, 1);
    resize(1100, 800);
}

void PagedPreview::print()
{
    QPrinter printer(QPrinter::HighResolution);
    setUpA4(printer, document_.orientation);
    QPrintDialog dialog(&printer, this);
    // Every page is printed: the dialog offers no page range it would not honour.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() == QDialog::Accepted)
        printShowingProgress(document_, printer, this);
}

}  // namespace report
