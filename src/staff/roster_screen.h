#pragma once
// The roster screens Tfrmgbxx, Tfrmkjgbxx and Tfrmdyxx: one class, configured by its member
// of the roster family. Filters on the left, the striped roster grid on the right; every change
// of a filter reads the roster again.

#include "app/function_screen.h"
#include "staff/roster_query.h"

class QButtonGroup;
class QComboBox;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class StripedGrid;
class WindowedRows;

class RosterScreen : public FunctionScreen {
    Q_OBJECT
public:
    RosterScreen(ScreenHost &host, const roster::Member &member);

    roster::Filter filter() const;
    WindowedRows *rows() const { return model_; }  // the rows shown, read a window at a time

    QTreeWidget *departmentList() const { return departments_; }
    QPushButton *upButton() const { return up_; }
    QPushButton *downButton() const { return down_; }
    QComboBox *levelBox() const { return level_; }
    QRadioButton *rangeButton(roster::LevelRange range) const;
    QComboBox *categoryBox() const { return category_; }  // technical cadres only
    QComboBox *partyBox() const { return party_; }        // party members only
    StripedGrid *grid() const { return grid_; }

    void showDetails();  // "详细信息"
    void printRoster();  // "打印花名册"

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildFilters();
    void fillLists();
    void moveDepartment(int step);
    void reload();
    QString coverage() const;  // the department and filters chosen, for titles

    const roster::Member &member_;
    QTreeWidget *departments_ = nullptr;
    QPushButton *up_ = nullptr;
    QPushButton *down_ = nullptr;
    QComboBox *level_ = nullptr;
    QButtonGroup *range_ = nullptr;
    QComboBox *category_ = nullptr;
    QComboBox *party_ = nullptr;
    StripedGrid *grid_ = nullptr;
    WindowedRows *model_ = nullptr;
    bool filling_ = false;
};
