#pragma once
// The personal statistics of dated events (rewards and punishments, attendance): the employee
// search panel on the left; on the right the employee, "起始日期" and "截止日期" (1 January of
// this year to today), the employee's rows in that range and, for attendance, the summary
// "考勤统计" with one card per kind that has rows in the range and its hours; "打印" prints
// the rows with the range and the summary, "返回" closes.

#include "app/function_screen.h"
#include "records/employee_search.h"
#include "records/event_book.h"

#include <QDate>
#include <functional>

class DateRangeBoxes;
class EmployeeHeader;
class EmployeeSearchPanel;
class QGridLayout;
class QGroupBox;
class RowsModel;
class StripedGrid;

class PersonalEventsScreen : public FunctionScreen {
    Q_OBJECT
public:
    struct Kind {
        QString className;
        QString titleBar;
        QString printedTitle;
        records::ListBase employees;
        std::function<records::Listing(const QSqlDatabase &, const QString &, const QDate &, const QDate &)> rows;
        bool cards;  // the attendance summary
    };
    PersonalEventsScreen(ScreenHost &host, const Kind &kind);

    EmployeeSearchPanel *search() const { return search_; }
    DateRangeBoxes *dates() const { return dates_; }
    RowsModel *rowModel() const { return model_; }
    QGroupBox *summary() const { return summary_; }  // nullptr without cards
    // Each card's kind and hours as shown ("事假", "8").
    QList<QPair<QString, QString>> cards() const;

    void reload();
    void print();

private:
    void showCards(const QList<QPair<QString, QString>> &cards);

    Kind kind_;
    EmployeeSearchPanel *search_;
    EmployeeHeader *header_;
    DateRangeBoxes *dates_;
    StripedGrid *grid_;
    RowsModel *model_;
    QGroupBox *summary_ = nullptr;
    QGridLayout *cardGrid_ = nullptr;
    QList<QPair<QString, QString>> cards_;
};

// "个人奖惩情况统计"
class Tfrmjcqktj : public PersonalEventsScreen {
    Q_OBJECT
public:
    explicit Tfrmjcqktj(ScreenHost &host);
};

// "个人考勤情况统计"
class Tfrmkqqktj : public PersonalEventsScreen {
    Q_OBJECT
public:
    explicit Tfrmkqqktj(ScreenHost &host);
};
