#pragma once
// Tfrmndkhcx: every employee with the latest grade salary change and the latest appraisal
// result, narrowed by the condition dialog and printed as listed; "详细信息" opens the detail
// screen, which follows the selection.

#include "app/function_screen.h"

class ConditionList;
class DetailWindow;
class TFrmzwdjxxxx;

class Tfrmndkhcx : public FunctionScreen {
    Q_OBJECT
public:
    explicit Tfrmndkhcx(ScreenHost &host);

    ConditionList *list() const { return list_; }
    TFrmzwdjxxxx *detailScreen() const;

    void showDetails();  // "详细信息"
    void print();        // "打印"

private:
    ConditionList *list_;
    DetailWindow *detail_;
};
