#pragma once
// Tfrmzggzzhcx: every employee's rows of the three pay sheets side by side for the pay months
// from "起始日期" to "截止日期", one tab per sheet over the one result, narrowed by the
// combined-condition dialog. The year and month boxes put both dates on the month chosen.
// Nothing is edited; "打印" prints the tab in front.

#include "app/function_screen.h"
#include "query/condition.h"

#include <vector>

class QAbstractItemModel;
class QDateEdit;
class QSpinBox;
class QSqlQueryModel;
class QTabWidget;
class StripedGrid;

class Tfrmzggzzhcx : public FunctionScreen {
    Q_OBJECT
public:
    explicit Tfrmzggzzhcx(ScreenHost &host);

    QSpinBox *yearBox() const { return year_; }
    QSpinBox *monthBox() const { return month_; }
    QDateEdit *fromBox() const { return from_; }
    QDateEdit *toBox() const { return to_; }
    QTabWidget *tabs() const { return tabs_; }
    QAbstractItemModel *sheetRows(int tab) const;
    const query::Condition &condition() const { return condition_; }

    // Shows the months of the date boxes narrowed by `condition`, which replaces the one
    // before; on a failure says why and keeps the list and the condition as they were.
    void showList(const query::Condition &condition);
    void askCondition();  // "查询条件"
    void print();         // "打印"

private:
    void showChosenMonth();  // a click of the year or month box
    QString coverage() const;  // the months and whether a condition narrows them

    QSpinBox *year_;
    QSpinBox *month_;
    QDateEdit *from_;
    QDateEdit *to_;
    QTabWidget *tabs_;
    QSqlQueryModel *result_;
    std::vector<QAbstractItemModel *> sheets_;
    std::vector<StripedGrid *> grids_;
    query::Condition condition_;
};
