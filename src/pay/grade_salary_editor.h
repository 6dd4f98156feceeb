#pragma once
// The grade salary editor: the employee search panel on the left, the selected employee's
// grade salary changes on the right, and an edit box shown while a change is added or
// modified. Choosing a grade fills in its standard salary, which may then be overtyped.

#include "records/event_editor.h"

class Tfrmzwdjbj : public EventEditor {
    Q_OBJECT
public:
    explicit Tfrmzwdjbj(ScreenHost &host);

private:
    void fillStandardSalary();
};
