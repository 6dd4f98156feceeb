#pragma once
// The work dynamics editor: the employee search panel on the left, the selected employee's
// four history groups on the right. Adding, modifying, saving, ignoring and deleting act on
// the current group (the panel that last had the focus), whose edit strip shows while it is
// edited.

#include "app/edit_modes.h"
#include "app/edit_rows.h"
#include "app/function_screen.h"

#include <optional>
#include <vector>

class EmployeeHeader;
class EmployeeSearchPanel;
class HistoryPanels;
class QComboBox;

class Tfrmgzdtbj : public FunctionScreen {
    Q_OBJECT
public:
    explicit Tfrmgzdtbj(ScreenHost &host);

    EmployeeSearchPanel *search() const { return search_; }
    HistoryPanels *panels() const { return panels_; }
    edit::ModeBar *bar() const { return bar_; }
    QWidget *strip(int group) const { return strips_[size_t(group)].widget; }
    QWidget *control(int group, const QString &key) const;

    void add();
    void modify();
    void save();
    void ignore();
    void remove();

private:
    struct Strip {
        QWidget *widget;
        std::vector<QWidget *> controls;  // in the order of the group's fields
    };

    void showEmployee(const QString &code, const QString &name);
    void beginEditing(edit::Mode mode);
    void finishEditing();
    void refillTitles(const QString &category);
    std::optional<qint64> selectedRowId() const;
    void updateRowShown();

    EmployeeSearchPanel *search_;
    EmployeeHeader *header_;
    HistoryPanels *panels_;
    edit::ModeBar *bar_;
    std::vector<Strip> strips_;
    std::optional<edit::RecordedRow> editedRow_;  // the row being modified; none while adding
};
