#pragma once
// The editor of an employee's dated rows (rewards and punishments, attendance, grade salary
// changes): the employee search panel on the left; on the right the employee, the bar "添加",
// "删除", "修改", "返回", the employee's rows, and an edit box shown while a row is added or
// modified, with "确定" and "忽略" on a bar of its own.

#include "app/edit_modes.h"
#include "app/function_screen.h"
#include "db/sorted_query_model.h"
#include "records/event_book.h"

#include <functional>
#include <optional>
#include <vector>

class EmployeeHeader;
class EmployeeSearchPanel;
class QGroupBox;
class QTableView;

class EventEditor : public FunctionScreen {
    Q_OBJECT
public:
    struct Texts {
        QString titleBar;  // "  人事资料记录卡 >> 奖惩情况编辑"
        QString box;       // the edit box's heading, "奖惩编辑"
        QString boxBar;    // the caption of its bar, "  奖惩纪录编辑框" (none when empty)
        int fieldsPerRow = 2;
        bool modifyBeforeDelete = false;  // "添加", "修改", "删除" rather than "添加", "删除", "修改"
    };
    // What the editor shows and stores. The rows' first column is 自动编号, then the shown
    // columns; each field's stored value is read from the column named as the field's column.
    struct Source {
        const edit::Fields &fields;
        QString listField;  // the field whose drop-down lists listItems()
        std::function<QList<code_items::Item>(const QSqlDatabase &)> listItems;
        std::vector<records::EventColumn> shown;
        std::function<QSqlQuery(const QSqlDatabase &, const QString &employee)> rows;
        // Both throw sql::Failure, with the refused value's message where a check refuses.
        std::function<void(const QSqlDatabase &, const QString &employee, const edit::Values &, std::optional<edit::RecordedRow> row)> save;
        std::function<void(const QSqlDatabase &, qint64 rowId)> remove;
    };
    static Source sourceOf(const records::EventBook &book);

    EventEditor(ScreenHost &host, const QString &className, const Texts &texts, const Source &source);

    EmployeeSearchPanel *search() const { return search_; }
    QTableView *rows() const { return grid_; }
    SortedQueryModel *rowModel() const { return model_; }
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
    void beginEditing(edit::Mode mode);
    void finishEditing();
    std::optional<qint64> selectedRowId() const;

    Source source_;
    EmployeeSearchPanel *search_;
    EmployeeHeader *header_;
    QTableView *grid_;
    SortedQueryModel *model_;
    QGroupBox *box_;
    edit::ModeBar *bar_;
    std::vector<QWidget *> controls_;  // in the order of the source's fields
    QString employee_;
    std::optional<edit::RecordedRow> editedRow_;  // the row being modified; none while adding
};

// "奖惩情况编辑": rewards and punishments.
class Tfrmjcjlbj : public EventEditor {
    Q_OBJECT
public:
    explicit Tfrmjcjlbj(ScreenHost &host);
};

// "考勤情况编辑": attendance.
class Tfrmkqjlbj : public EventEditor {
    Q_OBJECT
public:
    explicit Tfrmkqjlbj(ScreenHost &host);
};
