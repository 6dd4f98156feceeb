#pragma once
// Tfrmgzlr: the monthly pay of a department in the three sheets, typed in place; generating a
// month's rows; printing the three pay lists.

#include "app/function_screen.h"

#include <QDate>
#include <vector>

class PaySheetModel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableView;
class RowsModel;
class StripedGrid;

class Tfrmgzlr : public FunctionScreen {
    Q_OBJECT
public:
    explicit Tfrmgzlr(ScreenHost &host);

    QSpinBox *yearBox() const { return year_; }
    QSpinBox *monthBox() const { return month_; }
    StripedGrid *departmentList() const { return departments_; }
    QTabWidget *tabs() const { return tabs_; }
    QTableView *sheetGrid(int tab) const { return grids_.at(size_t(tab)); }
    PaySheetModel *sheetModel(int tab) const { return models_.at(size_t(tab)); }

    QDate month() const;
    QString department() const;
    QString departmentName() const;
    // Loads the three sheets of the chosen month and department, after storing a changed row.
    void Datechange();
    // Generates the chosen month: "只复制上月工资表并追加新职工工资项" (carry) or "生成空白工资表".
    void copydata(bool carryPrevious);
    // Whether last month has a wage sheet to carry forward; when not, asks whether to make a
    // blank sheet instead.
    bool previousMonthHasSheet();
    void printList(int tab);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void commitCurrentRows();
    void stepDepartment(int step);

    QSpinBox *year_;
    QSpinBox *month_;
    StripedGrid *departments_;
    RowsModel *departmentRows_;
    QTabWidget *tabs_;
    std::vector<QTableView *> grids_;
    std::vector<PaySheetModel *> models_;
    QPushButton *print_;
    QPushButton *generate_;
};
