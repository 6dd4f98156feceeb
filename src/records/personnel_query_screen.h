#pragma once
// The personnel record query: every employee with the current rows of four histories,
// narrowed by the condition dialog; "详细信息" opens the work dynamics detail view, which
// follows the selection.

#include "app/function_screen.h"

class ConditionList;
class DetailWindow;
class Tfrmgzdtxxxx;

class Tfrmzggzdtcx : public FunctionScreen {
    Q_OBJECT
public:
    explicit Tfrmzggzdtcx(ScreenHost &host);

    ConditionList *list() const { return list_; }
    Tfrmgzdtxxxx *detailView() const;

    void showDetails();  // "详细信息"

private:
    ConditionList *list_;
    DetailWindow *detail_;
};
