#pragma once
// One row of a statistics table as a pie chart, over the screen that owns it.

#include "stats/pie_slices.h"

#include <QFrame>

class QLabel;
class QPushButton;
class QPieSeries;

class TfrmPie : public QFrame {
    Q_OBJECT
public:
    TfrmPie(const stats::PieData &data, QWidget *owner);

    QLabel *titleLabel() const { return title_; }
    QPieSeries *series() const { return series_; }
    QPushButton *returnButton() const { return return_; }

private:
    QLabel *title_;
    QPieSeries *series_;
    QPushButton *return_;
};
