#include "stats/group_caption_bar.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>

GroupCaptionBar::GroupCaptionBar(QTableView *grid, QWidget *parent) : QWidget(parent), grid_(grid)
{
    setFixedHeight(24);
    const auto repaint = [this] { update(); };
    connect(grid_->horizontalHeader(), &QHeaderView::sectionResized, this, repaint);
    connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this, repaint);
}

void GroupCaptionBar::setSpans(std::vector<Span> spans)
{
    spans_ = std::move(spans);
    update();
}

void GroupCaptionBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QHeaderView *header = grid_->horizontalHeader();
    const int offset = grid_->viewport()->mapToGlobal(QPoint(0, 0)).x() - mapToGlobal(QPoint(0, 0)).x();
    for (const Span &span : spans_) {
        const int left = offset + header->sectionViewportPosition(span.first);
        const int right = offset + header->sectionViewportPosition(span.last) + header->sectionSize(span.last);
        const QRect box(left, 0, right - left - 1, height() - 1);
        painter.fillRect(box, QColor(126, 211, 188));
        painter.setPen(QColor(60, 120, 110));
        painter.drawRect(box);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, span.caption);
    }
}
