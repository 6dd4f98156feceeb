#pragma once
// TFrmgsygzdz and TFrmgsngzdz: net wages per department on duty, one column per month of a
// year or per year for the year and the nine before it; "打印" prints the grid.

#include "app/function_screen.h"
#include "pay/pay_comparison.h"

class QSpinBox;
class RowsModel;
class StripedGrid;

class PayComparisonScreen : public FunctionScreen {
    Q_OBJECT
public:
    PayComparisonScreen(ScreenHost &host, pay::ComparisonSpan span);

    QSpinBox *yearBox() const { return year_; }
    RowsModel *rows() const { return model_; }

    void rebuild();
    void print();

private:
    pay::ComparisonSpan span_;
    QSpinBox *year_;
    StripedGrid *grid_;
    RowsModel *model_;
};
