#pragma once
// The employee's personnel record card: the employee search panel on the left and, for the
// selected employee, the skill-grade history beside the rewards and the attendance hours of
// the ten years up to "截止日期" (kqtjb, rebuilt at each move and each change of year).
// The card takes the whole width: it hides the main window's navigator while it is open.

#include "app/function_screen.h"

#include <QString>
#include <array>

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
    RowsModel *skillModel() const { return models_[0]; }
    RowsModel *rewardsModel() const { return models_[1]; }
    RowsModel *attendanceModel() const { return models_[2]; }

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
    // The skill grades, the rewards and the yearly attendance, in the card's order.
    std::array<RowsModel *, 3> models_;
    std::array<StripedGrid *, 3> grids_;
    std::array<QString, 3> captions_;
    int shownYear_ = 0;
    bool navigatorWasShown_ = true;  // given back on closing
};
