#pragma once
// The code table editor: one screen class that shows any member of the code table family.
// Browse mode lists the rows; "添加" and "修改" open the boxes for one row, "保存" writes it and
// "忽略" drops the change; "删除" asks first. Every box is found by its label (object name).

#include "app/edit_modes.h"
#include "app/function_screen.h"
#include "codes/code_members.h"
#include "codes/code_rows.h"

#include <optional>
#include <vector>

class RowsModel;
class QLabel;
class QLineEdit;
class QTableView;
class QToolButton;

namespace codes {

class CodeEditor : public FunctionScreen {
    Q_OBJECT
public:
    using Mode = edit::Mode;

    CodeEditor(ScreenHost &host, const Member &member);

    Mode mode() const { return bar_->mode(); }
    QTableView *grid() const { return grid_; }
    QLabel *titleStrip() const { return title_; }
    QLabel *listTitle() const { return listTitle_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct BoxWidgets {
        const codes::Box *box;
        QWidget *control = nullptr;
        QLineEdit *repeat = nullptr;  // NewPassword: the repetition
    };

    QWidget *buildEditPanel();
    QWidget *buildButtonBar();
    QWidget *buildListPanel();

    void add();
    void modify();
    void save();
    void ignore();
    void remove();
    void moveCurrent(int step);

    int currentRow() const;
    QSqlRecord currentRecord() const;  // empty when there is no row
    int recordOf(int row) const;       // the place in rows_ of a grid row
    void reload(const QString &selectCode, int fallbackRow = 0);
    void showCurrentRow();
    bool formatCodeBox();  // the zero-padding, or the member's message with the focus back
    std::optional<RowChange> typedRow();  // nothing after a message about bad input
    bool unchanged(const RowChange &change) const;

    const Member &member_;
    const edit::Fields fields_;  // the code, the name and the plain boxes
    edit::ModeBar *bar_ = nullptr;
    QList<QSqlRecord> rows_;  // every column of the listed rows
    RowsModel *model_;        // the grid's columns of them
    QLabel *title_ = nullptr;
    QLabel *listTitle_ = nullptr;
    QLineEdit *codeBox_ = nullptr;
    QLineEdit *nameBox_ = nullptr;
    std::vector<BoxWidgets> boxes_;
    QTableView *grid_ = nullptr;
    QToolButton *up_ = nullptr;
    QToolButton *down_ = nullptr;
};

}  // namespace codes
