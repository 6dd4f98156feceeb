#pragma once
// A document's pages one under the other, as on a preview's desk: only the pages in view are
// produced and painted (a few are kept for repaints), so a document of thousands of pages
// opens as fast as one of a single page.

#include "reports/page_model.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <vector>

namespace report {

class PageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    PageView(Document document, QWidget *parent = nullptr);

    enum class Fit { None, Width, Page };
    void setFit(Fit fit);
    void setZoom(double zoom);  // 1: the paper at its own size on the screen
    double zoom() const { return zoom_; }

    int pageCount() const { return pageCount_; }
    int currentPage() const;  // the page at the top of the view, from 0
    void showPage(int index);

signals:
    void currentPageChanged(int index);
    void zoomChanged(double zoom);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    double pixelsPerMm() const;
    QSize pageSize() const;
    int pageStep() const;  // a page and the gap under it, in pixels
    void updateScrollBars();
    const QImage &pageImage(int index);

    Document document_;
    int pageCount_ = 0;
    double zoom_ = 1;
    Fit fit_ = Fit::Page;  // as Qt's preview opens
    int lastCurrent_ = -1;
    std::vector<std::pair<int, QImage>> painted_;  // recent pages at the current zoom
};

}  // namespace report
