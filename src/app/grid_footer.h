#pragma once
// The strip under a striped grid's rows: its "合计" row when shown, then "共 N 条". It lies over
// the bottom of the viewport, whose scrolling reaches that far further, so no row stays under it.

#include "app/column_totals.h"

#include <QWidget>
#include <vector>

class StripedGrid;

class GridFooter : public QWidget {
public:
    explicit GridFooter(StripedGrid *grid);

    int lineHeight() const { return fontMetrics().height() + 6; }
    int wanted() const;  // its height: one line, two with the totals
    void refresh();      // counts and sums the rows again

protected:
    void paintEvent(QPaintEvent *) override;

private:
    StripedGrid *grid_;
    QString count_;
    std::vector<column_totals::Total> totals_;
};
