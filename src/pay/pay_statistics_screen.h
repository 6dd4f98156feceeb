#pragma once
// TFrmgsygztj and TFrmgsngztj: the company's pay per department for one month or one whole
// year, the three sheets on three tabs; "打印" prints the tab in front.

#include "app/function_screen.h"

#include <QDate>
#include <vector>

class QSpinBox;
class QTabWidget;
class RowsModel;
class StripedGrid;

class PayStatisticsScreen : public FunctionScreen {
    Q_OBJECT
public:
    enum class Period { Month, Year };
    PayStatisticsScreen(ScreenHost &host, Period period);

    QSpinBox *yearBox() const { return year_; }
    QSpinBox *monthBox() const { return month_; }  // nullptr on the yearly screen
    QTabWidget *tabs() const { return tabs_; }
    RowsModel *sheetRows(int tab) const { return models_.at(size_t(tab)); }

    // The first days of the first and last months counted.
    QDate from() const;
    QDate to() const;
    // Sums the period again, with a progress dialog ("取消" leaves the tables empty).
    void rebuild();
    // A period summed quicker than this shows no progress dialog.
    static constexpr int kShowProgressAfterMs = 500;
    void print();

private:
    QString windowTitleText() const;  // 公司月工资统计 or 公司年工资统计
    QString periodText() const;       // "2026年03月" or "2026年"

    Period period_;
    QSpinBox *year_;
    QSpinBox *month_ = nullptr;
    QTabWidget *tabs_;
    std::vector<StripedGrid *> grids_;
    std::vector<RowsModel *> models_;
};
