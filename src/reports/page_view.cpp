#include "reports/page_view.h"

#include "db/failure_text.h"
#include "db/sql.h"
#include "reports/render.h"

#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <climits>

namespace report {
namespace {

constexpr int kGap = 12;           // around and between the pages, in pixels
constexpr size_t kKeptPages = 8;   // painted pages kept for repaints while scrolling
constexpr double kMmPerInch = 25.4;

}  // namespace

PageView::PageView(Document document, QWidget *parent)
    : QAbstractScrollArea(parent), document_(std::move(document)), pageCount_(int(document_.pages.size()))
{
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(40);
    horizontalScrollBar()->setSingleStep(40);
}

void PageView::setFit(Fit fit)
{
    fit_ = fit;
    const double width = document_.paper.width() * logicalDpiX() / kMmPerInch;
    const double height = document_.paper.height() * logicalDpiY() / kMmPerInch;
    const QSize room = viewport()->size() - QSize(2 * kGap, 2 * kGap);
    if (fit == Fit::Width)
        zoom_ = std::max(0.05, room.width() / width);
    else if (fit == Fit::Page)
        zoom_ = std::max(0.05, std::min(room.width() / width, room.height() / height));
    const int page = currentPage();
    painted_.clear();
    updateScrollBars();
    showPage(page);
    viewport()->update();
    emit zoomChanged(zoom_);
}

void PageView::setZoom(double zoom)
{
    const int page = currentPage();
    fit_ = Fit::None;
    zoom_ = std::clamp(zoom, 0.1, 8.0);
    painted_.clear();
    updateScrollBars();
    showPage(page);
    viewport()->update();
    emit zoomChanged(zoom_);
}

double PageView::pixelsPerMm() const { return zoom_ * logicalDpiX() / kMmPerInch; }

QSize PageView::pageSize() const
{
    return QSize(qRound(document_.paper.width() * pixelsPerMm()), qRound(document_.paper.height() * pixelsPerMm()));
}

int PageView::pageStep() const { return pageSize().height() + kGap; }

int PageView::currentPage() const
{
    const int step = pageStep();
    return step > 0 ? std::clamp((verticalScrollBar()->value() + step / 2) / step, 0, std::max(0, pageCount_ - 1)) : 0;
}

void PageView::showPage(int index)
{
    verticalScrollBar()->setValue(std::clamp(index, 0, std::max(0, pageCount_ - 1)) * pageStep());
}

void PageView::updateScrollBars()
{
    const QSize page = pageSize();
    const qint64 height = qint64(pageCount_) * pageStep() + kGap;
    verticalScrollBar()->setRange(0, int(std::clamp<qint64>(height - viewport()->height(), 0, INT_MAX)));
    verticalScrollBar()->setPageStep(viewport()->height());
    horizontalScrollBar()->setRange(0, std::max(0, page.width() + 2 * kGap - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

const QImage &PageView::pageImage(int index)
{
    for (const auto &[number, image] : painted_)
        if (number == index)
            return image;
    // The page painted by the printer's renderer onto an image whose resolution matches the
    // zoom, so the fonts' point sizes come out at the page's scale.
    const QSize size = pageSize();
    QImage image(size, QImage::Format_RGB32);
    const int dotsPerMetre = qRound(pixelsPerMm() * 1000);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    try {
        paintPage(painter, document_, document_.pages[size_t(index)], pixelsPerMm());
    } catch (const sql::Failure &failure) {
        painter.drawText(image.rect(), Qt::AlignCenter | Qt::TextWordWrap,
                         failure_text::said(failure, {.reading = true}).text);
    }
    painter.end();
    painted_.emplace_back(index, std::move(image));
    if (painted_.size() > kKeptPages)
        painted_.erase(painted_.begin());
    return painted_.back().second;
}

void PageView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const QSize page = pageSize();
    const int step = pageStep();
    const int top = verticalScrollBar()->value();
    const int left = std::max(kGap, (viewport()->width() - page.width()) / 2) - horizontalScrollBar()->value();
    const int first = std::max(0, (top - kGap) / step);
    for (int i = first; i < pageCount_ && kGap + i * step - top < viewport()->height(); ++i) {
        const QRect box(left, kGap + i * step - top, page.width(), page.height());
        painter.fillRect(box.translated(3, 3), QColor(0, 0, 0, 80));  // the sheet's shadow
        painter.drawImage(box.topLeft(), pageImage(i));
    }
}

void PageView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (fit_ != Fit::None)
        setFit(fit_);
    else
        updateScrollBars();
}

void PageView::scrollContentsBy(int, int)
{
    viewport()->update();
    const int current = currentPage();
    if (current != lastCurrent_) {
        lastCurrent_ = current;
        emit currentPageChanged(current);
    }
}

}  // namespace report
