#include "app/grid_footer.h"

#include "app/striped_grid.h"

#include <QHeaderView>
#include <QPainter>

GridFooter::GridFooter(StripedGrid *grid) : QWidget(grid->viewport()), grid_(grid) { setAutoFillBackground(true); }

int GridFooter::wanted() const { return lineHeight() * (grid_->totalsShown() ? 2 : 1); }

void GridFooter::refresh()
{
    count_ = grid_->countText();
    totals_.clear();
    if (grid_->totalsShown() && grid_->model())
        totals_ = !grid_->totalsOfAll().empty() && grid_->model()->canFetchMore({})
                      ? grid_->totalsOfAll()
                      : column_totals::totals(*grid_->model(), grid_->shownRows());
    update();
}

void GridFooter::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(240, 240, 240));
    const int h = lineHeight();
    int y = 0;
    if (grid_->totalsShown()) {
        p.fillRect(QRect(0, 0, width(), h), QColor(126, 211, 188));
        const QHeaderView *header = grid_->horizontalHeader();
        QFont bold = font();
        bold.setBold(true);
        p.setFont(bold);
        bool captioned = false;
        for (int visual = 0; visual < header->count(); ++visual) {
            const int column = header->logicalIndex(visual);
            if (header->isSectionHidden(column))
                continue;
            const QRect cell(header->sectionViewportPosition(column), 0, header->sectionSize(column), h);
            const column_totals::Total total = totals_.size() > size_t(column) ? totals_[size_t(column)] : column_totals::Total{};
            if (total.kind != column_totals::Total::None)
                p.drawText(cell.adjusted(3, 0, -3, 0), Qt::AlignRight | Qt::AlignVCenter, total.shown());
            else if (!captioned)
                p.drawText(cell.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter, column_totals::kCaption);
            captioned = true;
        }
        p.setFont(font());
        y = h;
    }
    p.setPen(QColor(60, 60, 60));
    p.drawText(QRect(4, y, width() - 8, h), Qt::AlignLeft | Qt::AlignVCenter, count_);
}
