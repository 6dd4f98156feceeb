#pragma once
// The edit-screen kit: the browse / adding / editing modes and their button bar. The bar
// holds the buttons a screen names (with its own captions and order); switching the mode
// enables them and every widget registered with the bar:
//   browsing  "添加", "修改", "删除", "返回" and the lists (修改 and 删除 only with a row shown)
//   adding    "保存"/"确定", "忽略" and the fields, plus what only a new row may set (its code)
//   editing   "保存"/"确定", "忽略" and the fields
// While adding or editing, Enter in a one-line box or list of the bar's widgets presses
// "保存"/"确定" and Escape presses "忽略".

#include <QWidget>
#include <functional>
#include <map>
#include <vector>

class QPushButton;

namespace edit {

enum class Mode { Browse, Adding, Editing };
enum class Action { Add, Modify, Save, Ignore, Delete, Return };

struct BarButton {
    Action action;
    QString caption;
    std::function<void()> pressed;
};

struct BarLayout {
    int columns = 0;         // buttons per row; 0: one row, right-aligned
    bool takeFocus = true;   // false: pressing a button leaves the focus in the field
    int minimumWidth = 0;
};

class ModeBar : public QWidget {
    Q_OBJECT
public:
    ModeBar(const std::vector<BarButton> &buttons, const BarLayout &layout, QWidget *parent);

    QPushButton *button(Action action) const;  // nullptr when the screen has none

    // Browsing, Editing, Adding: enabled only then. ReadOnlyWhileBrowsing: the widget's boxes
    // are read-only (lists and check boxes disabled) while browsing, so what they show (a
    // photo, say) keeps its colours.
    enum class When { Browsing, Editing, Adding, ReadOnlyWhileBrowsing };
    void enable(QWidget *widget, When when);

    Mode mode() const { return mode_; }
    void setMode(Mode mode);
    // Whether a row is shown that "修改" and "删除" would act on.
    void setRowShown(bool shown);

signals:
    void modeChanged(edit::Mode mode);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply();

    std::map<Action, QPushButton *> buttons_;
    std::vector<std::pair<QWidget *, When>> widgets_;
    Mode mode_ = Mode::Browse;
    bool rowShown_ = true;
};

}  // namespace edit
