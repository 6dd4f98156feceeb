#pragma once
// The employee's personnel record card: the employee search panel on the left and, for the
// selected employee, the skill-grade history beside the rewards and the attendance hours of
// the ten years up to "截止日期" (kqtjb, rebuilt at each move and each change of year).
// The card takes the whole width: it hides the main window's navigator while it is open.

#include "app/function_screen.h"

class EmployeeHeader;
class EmployeeSearchPanel;
class QDateEdit;
class QSplitter;
class RowsModel;
class StripedGrid;

class Tfrmygrsjlk : public FunctionScreen {
    Q_OBJECT
public:
    explicit Tfrmygrsjlk(ScreenHost &host);

    EmployeeSearchPanel *search() const { return search_; }
    QDateEdit *dateBox() const { return date_; }
    QSplitter *divider() const { return body_; }
    RowsModel *skillModel() const { return skills_; }
    RowsModel *rewardsModel() const { return rewards_; }
    RowsModel *attendanceModel() const { return attendance_; }

    void showCard();  // reads the selected employee's card, kqtjb rebuilt
    void print();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    EmployeeSearchPanel *search_;
    EmployeeHeader *header_;
    QDateEdit *date_;
    QSplitter *body_;
    RowsModel *skills_;
    RowsModel *rewards_;
    RowsModel *attendance_;
    StripedGrid *skillGrid_;
    StripedGrid *rewardsGrid_;
    StripedGrid *attendanceGrid_;
    int shownYear_ = 0;
};
