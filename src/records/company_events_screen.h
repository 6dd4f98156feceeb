#pragma once
// The company statistics of dated events: a caption "统计表", the two dates (from and to,
// both labelled "截止日期"; 1 January of this year to today), the buttons "打印", a sort
// button and "返回", over a striped grid. A date chosen in either box builds the grid again,
// so it always shows the range on screen; "打印" prints the grid with the range.

#include "app/function_screen.h"
#include "db/sorted_query_model.h"
#include "records/rewards.h"

class DateRangeBoxes;
class QPushButton;
class RowsModel;
class StripedGrid;

class CompanyEventsScreen : public FunctionScreen {
    Q_OBJECT
public:
    DateRangeBoxes *dates() const { return dates_; }
    StripedGrid *grid() const { return grid_; }
    QPushButton *sortButton() const { return sort_; }

    virtual void build() = 0;
    void print();

protected:
    CompanyEventsScreen(ScreenHost &host, const QString &className, const QString &titleBar, const QString &sortCaption);
    // Called by the subclass's constructor once it is ready to build.
    void start();

private:
    QString printedTitle_;
    DateRangeBoxes *dates_;
    StripedGrid *grid_;
    QPushButton *sort_;
};

// "公司奖惩情况统计": every employee's rewards and punishments in the range, by date or, after
// the sort button, by employee; the button then offers the other order.
class Tfrmgsjctjb : public CompanyEventsScreen {
    Q_OBJECT
public:
    explicit Tfrmgsjctjb(ScreenHost &host);
    RowsModel *rowModel() const { return model_; }
    records::RewardOrder order() const { return order_; }

    void build() override;
    void toggleOrder();

private:
    RowsModel *model_;
    records::RewardOrder order_ = records::RewardOrder::ByDate;
};

// "公司考勤情况统计": the work table gskqtjb built for the range, one row per employee with
// attendance rows, one column per attendance kind. The rows are already in employee order,
// which "按职工排序" names.
class Tfrmgskqtjb : public CompanyEventsScreen {
    Q_OBJECT
public:
    explicit Tfrmgskqtjb(ScreenHost &host);
    SortedQueryModel *rowModel() const { return model_; }

    void build() override;

private:
    void showTable();

    SortedQueryModel *model_;
};
