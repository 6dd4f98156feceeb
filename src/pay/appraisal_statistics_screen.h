#pragma once
// Tfrmndkhtj and Tfrmndkhzb: a year's appraisal results counted per department, the second
// with each count's share of the department; "打印" prints the grid.

#include "app/function_screen.h"
#include "pay/appraisal_statistics.h"

class QSpinBox;
class RowsModel;
class StripedGrid;

class AppraisalStatisticsScreen : public FunctionScreen {
    Q_OBJECT
public:
    AppraisalStatisticsScreen(ScreenHost &host, pay::AppraisalCounts kind);

    QSpinBox *yearBox() const { return year_; }
    RowsModel *rows() const { return rows_; }

    void rebuild();
    void print();

private:
    pay::AppraisalCounts kind_;
    QSpinBox *year_;
    StripedGrid *grid_;
    RowsModel *rows_;
};
