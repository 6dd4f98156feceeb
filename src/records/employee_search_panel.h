#pragma once
// The left-hand employee search panel of the record, pay and training screens: "查找条件" with
// the department drop-down ("所有部门" first), the program's common "查找" box (code or name,
// at the beginning or anywhere, characters taken literally, narrowing as one types; Ctrl+F on
// the screen) and the two arrow buttons, over the employee list "职工信息". A screen states
// only where it differs: which employees the list starts from and whether the arrows are there
// and act.

#include "records/employee_search.h"

#include <QWidget>

class EmployeeHeader;
class SearchBar;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;
class QVBoxLayout;
class WindowedRows;

class EmployeeSearchPanel : public QWidget {
    Q_OBJECT
public:
    enum class Arrows { Active, Inert, Absent };
    struct Options {
        records::ListBase base = records::ListBase::CurrentDepartment;
        Arrows arrows = Arrows::Active;
    };

    EmployeeSearchPanel(const QSqlDatabase &db, Options options, QWidget *parent = nullptr);

    // Fills the department drop-down and runs the first search (the screen calls it once it
    // listens to employeeChanged).
    void start();
    // Lists the employees of the drop-down's department whose code or name holds what "查找"
    // holds; the list stands on its first row.
    void search();

    QString currentCode() const;
    QString currentName() const;

    QComboBox *departmentBox() const { return department_; }
    QLineEdit *findBox() const;
    QTableView *list() const { return list_; }
    QPushButton *upButton() const { return up_; }
    QPushButton *downButton() const { return down_; }

signals:
    // The selected employee changed (empty code when the list is empty).
    void employeeChanged(const QString &code, const QString &name);

private:
    void step(int delta);
    void announce();
    void narrow(const QString &text);  // "查找" changed

    QSqlDatabase db_;
    Options options_;
    QComboBox *department_;
    SearchBar *find_;
    QPushButton *up_ = nullptr;
    QPushButton *down_ = nullptr;
    QTableView *list_;
    WindowedRows *model_;
};

// The layout of a screen with the search panel: its title strip across the top, the panel on
// the left and, on the right, the employee header over the column returned for the screen's
// own widgets.
QVBoxLayout *layOutSearchScreen(QWidget *screen, const QString &title, EmployeeSearchPanel *panel,
                                EmployeeHeader *header);
