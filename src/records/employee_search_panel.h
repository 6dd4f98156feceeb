#pragma once
// The left-hand employee search panel of the record, pay and training screens: "查找条件" with
// the department drop-down ("所有部门" first), the code and name prefix boxes and the two
// arrow buttons, over the employee list "职工信息". A screen states only where it differs:
// which employees the list starts from and whether the arrows are there and act.

#include "records/employee_search.h"

#include <QWidget>

class EmployeeHeader;
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
    // Lists the employees the drop-down and boxes describe; the list stands on its first row.
    void search();

    QString currentCode() const;
    QString currentName() const;

    QComboBox *departmentBox() const { return department_; }
    QLineEdit *codeBox() const { return code_; }
    QLineEdit *nameBox() const { return name_; }
    QTableView *list() const { return list_; }
    QPushButton *upButton() const { return up_; }
    QPushButton *downButton() const { return down_; }

signals:
    // The selected employee changed (empty code when the list is empty).
    void employeeChanged(const QString &code, const QString &name);

private:
    void step(int delta);
    void announce();

    QSqlDatabase db_;
    Options options_;
    QComboBox *department_;
    QLineEdit *code_;
    QLineEdit *name_;
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
