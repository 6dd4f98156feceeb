#pragma once
// Tfrmzglr: the employee master editor. Left, the departments and the employees currently in
// the selected one; right, the employee's record and entry-time history rows (detail panel)
// and résumé; below, 添加 / 删除 / 返回 / 保存 / 忽略 / 修改. Browse, adding and editing modes
// set which of these can be used.

#include "app/edit_modes.h"
#include "app/function_screen.h"
#include "staff/employee_fields.h"
#include "staff/employee_record.h"

#include <functional>

class DetailPanel;
class QHBoxLayout;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QTabWidget;
class WindowedRows;

class Tfrmzglr : public FunctionScreen {
    Q_OBJECT
public:
    using Mode = edit::Mode;

    explicit Tfrmzglr(ScreenHost &host);

    Mode mode() const { return bar_->mode(); }
    DetailPanel *detail() const { return detail_; }
    QPlainTextEdit *resume() const { return resume_; }
    QTableView *departmentGrid() const { return departmentGrid_; }
    QTableView *employeeGrid() const { return employeeGrid_; }
    QPushButton *button(const QString &caption) const;  // bar, arrows ("↑部门" …) by caption

    // The employee shown (empty in adding mode and when the department has nobody).
    QString currentCode() const { return record_.code(); }

    // A further button after the button bar, usable while browsing (the staff list import
    // and export add theirs when the screen is registered).
    QPushButton *addBrowsingButton(const QString &caption, const std::function<void()> &act);
    // Reads the department and employee lists again, after employees were written elsewhere.
    void refresh() { showDepartment(); }

    void add();
    void edit();
    void save();
    void cancel();
    void remove();
    void choosePhoto();

private:
    QWidget *buildLists();
    QWidget *buildButtonBar();
    void showDepartment();  // reopens the employee list of the selected department
    void showEmployee();    // the record of the selected employee
    void showRecord(const staff::EmployeeRecord &record);
    staff::EmployeeRecord recordFromControls() const;
    void refillTitles();
    void setMode(Mode mode);
    void step(QTableView *grid, int delta);
    void findEmployee(const QString &text);  // "查找": the first match of the whole register

    edit::ModeBar *bar_ = nullptr;
    staff::EmployeeRecord record_;
    QString photo_;
    WindowedRows *departments_;
    WindowedRows *employees_;
    QTableView *departmentGrid_ = nullptr;
    QTableView *employeeGrid_ = nullptr;
    QWidget *lists_ = nullptr;
    DetailPanel *detail_ = nullptr;
    QPlainTextEdit *resume_ = nullptr;
    QTabWidget *pages_ = nullptr;
    QHBoxLayout *buttonRow_ = nullptr;
};
