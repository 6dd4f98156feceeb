#pragma once
// Tfrmzggzcx: the selected employee's rows of the three pay sheets whose month lies in a date
// range, one tab each; the search panel on the left. Nothing is edited; "打印" prints the tab
// in front.

#include "app/function_screen.h"

#include <vector>

class EmployeeHeader;
class EmployeeSearchPanel;
class QDateEdit;
class QTabWidget;
class RowsModel;
class StripedGrid;

class Tfrmzggzcx : public FunctionScreen {
    Q_OBJECT
public:
    explicit Tfrmzggzcx(ScreenHost &host);

    EmployeeSearchPanel *search() const { return search_; }
    QDateEdit *fromBox() const { return from_; }
    QDateEdit *toBox() const { return to_; }
    QTabWidget *tabs() const { return tabs_; }
    RowsModel *sheetRows(int tab) const { return models_.at(size_t(tab)); }

    void reload();
    void print();

private:
    QString coverage() const;  // the employee and the date range, for titles

    EmployeeSearchPanel *search_;
    EmployeeHeader *header_;
    QDateEdit *from_;
    QDateEdit *to_;
    QTabWidget *tabs_;
    std::vector<StripedGrid *> grids_;
    std::vector<RowsModel *> models_;
};
