#pragma once
// The grade salary editor: the employee search panel on the left, the selected employee's
// grade salary changes on the right, and an edit box shown while a change is added or
// modified. Choosing a grade fills in its standard salary, which may then be overtyped.

#include "app/edit_modes.h"
#include "app/function_screen.h"

#include <optional>
#include <vector>

class EmployeeHeader;
class EmployeeSearchPanel;
class QGroupBox;
class QSqlQueryModel;
class QTableView;

class Tfrmzwdjbj : public FunctionScreen {
    Q_OBJECT
public:
    explicit Tfrmzwdjbj(ScreenHost &host);

    EmployeeSearchPanel *search() const { return search_; }
    QTableView *changes() const { return grid_; }
    QSqlQueryModel *changeRows() const { return model_; }
    QGroupBox *editBox() const { return box_; }
    edit::ModeBar *bar() const { return bar_; }
    QWidget *control(const QString &key) const;  // the edit box's control of the field

    void add();
    void modify();
    void save();
    void ignore();
    void remove();

private:
    void showEmployee(const QString &code, const QString &name);
    void reload();
    void fillStandardSalary();
    void beginEditing(edit::Mode mode);
    void finishEditing();
    std::optional<qint64> selectedRowId() const;

    EmployeeSearchPanel *search_;
    EmployeeHeader *header_;
    QTableView *grid_;
    QSqlQueryModel *model_;
    QGroupBox *box_;
    edit::ModeBar *bar_;
    std::vector<QWidget *> controls_;  // in the order of the group's fields
    QString employee_;
    std::optional<qint64> editedRow_;  // the row being modified; none while adding
};
