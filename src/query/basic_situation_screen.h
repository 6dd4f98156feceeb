#pragma once
// The employee basic situation query screen: the list of every employee, narrowed by the
// combined-condition dialog, each employee's sheet, and the list printed as a roster.

#include "app/function_screen.h"
#include "query/condition.h"

class ConditionList;
class QLineEdit;
class WindowedRows;

class Tfrmzgjbqkcx : public FunctionScreen {
    Q_OBJECT
public:
    explicit Tfrmzgjbqkcx(ScreenHost &host);

    WindowedRows *model() const;
    ConditionList *grid() const { return list_; }
    QLineEdit *rosterTitle() const { return title_; }

    // Shows the base list narrowed by `condition` (each search starts again from the base).
    void showList(const query::Condition &condition);
    void askCondition();   // "查询条件"
    void showDetails();    // "详细信息"
    void printRoster();    // "打印花名册"

private:
    ConditionList *list_;
    QLineEdit *title_;
};
