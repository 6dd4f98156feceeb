#pragma once
// Captions over runs of grid columns ("学         历" over the education columns), kept
// aligned with the grid's header as columns are resized or scrolled.

#include <QWidget>
#include <vector>

class QTableView;

class GroupCaptionBar : public QWidget {
    Q_OBJECT
public:
    struct Span {
        QString caption;
        int first;
        int last;
    };
    explicit GroupCaptionBar(QTableView *grid, QWidget *parent = nullptr);
    void setSpans(std::vector<Span> spans);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTableView *grid_;
    std::vector<Span> spans_;
};
