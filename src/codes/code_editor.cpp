#include "codes/code_editor.h"

#include "app/edit_rows.h"
#include "app/failure_message.h"
#include "app/field_controls.h"
#include "app/prompt.h"
#include "app/striped_grid.h"
#include "app/title_strip.h"
#include "db/code_items.h"
#include "db/sql.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace codes {
namespace {

constexpr QSize kScreenSize(640, 420);
const QString kPasswordStyle = QStringLiteral("lineedit-password-character: 42;");  // "*"
const QString kStoredPasswordShown = QStringLiteral("******");
const QString kRepeatPasswordLabel = QStringLiteral("确认密码");
const QString kPasswordsDiffer = QStringLiteral("两次输入的密码不一致，请重新输入！");

QString comparable(const QVariant &value) { return value.isNull() ? QString() : value.toString(); }

QLineEdit *passwordBox(QWidget *parent, const QString &name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(kPasswordStyle);
    return edit;
}

QStringList gridTitles(const Member &member)
{
    QStringList titles;
    for (const GridColumn &c : member.grid)
        titles << c.title;
    return titles;
}

// The row being modified stays marked blue while the grid is disabled; members without row
// colours show plain rows.
void prepareGrid(QTableView *grid, bool striped)
{
    if (!striped)
        grid->setItemDelegate(new QStyledItemDelegate(grid));
    QPalette palette = grid->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Disabled, role, palette.color(QPalette::Active, role));
    grid->setPalette(palette);
}

}  // namespace

CodeEditor::CodeEditor(ScreenHost &host, const Member &member)
    : FunctionScreen(host, member.className), member_(member), fields_(member.rowFields()),
      model_(new RowsModel(gridTitles(member), this))
{
    setFixedSize(kScreenSize);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 6);
    title_ = makeTitleStrip(member.title, this);
    column->addWidget(title_);

    auto *row = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(buildEditPanel(), 1);
    left->addWidget(buildButtonBar());
    row->addLayout(left, 3);
    row->addWidget(buildListPanel(), 2);
    column->addLayout(row, 1);

    using When = edit::ModeBar::When;
    for (QWidget *w : std::initializer_list<QWidget *>{grid_, up_, down_})
        if (w)
            bar_->enable(w, When::Browsing);
    bar_->enable(nameBox_, When::Editing);
    bar_->enable(codeBox_, When::Adding);
    for (const BoxWidgets &w : boxes_) {
        if (w.box->role == BoxRole::StoredPassword)
            continue;
        for (QWidget *widget : std::initializer_list<QWidget *>{w.control, w.repeat})
            if (widget)
                bar_->enable(widget, When::Editing);
    }
    reload({});
    bar_->setMode(Mode::Browse);
}

QWidget *CodeEditor::buildEditPanel()
{
    auto *panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(panel);
    grid->setColumnStretch(1, 1);
    const auto addRow = [&](const QString &label, QWidget *widget) {
        const int r = grid->rowCount();
        grid->addWidget(new QLabel(label, panel), r, 0);
        grid->addWidget(widget, r, 1);
        return widget;
    };
    const auto control = [&](const edit::Field &field) {
        QWidget *widget = edit::makeControl(field, panel);
        widget->setObjectName(field.label);
        return addRow(field.label, widget);
    };

    codeBox_ = static_cast<QLineEdit *>(control(member_.codeField()));
    codeBox_->installEventFilter(this);
    nameBox_ = static_cast<QLineEdit *>(control(member_.nameField()));
    for (const codes::Box &box : member_.boxes) {
        BoxWidgets w{&box};
        switch (box.role) {
        case BoxRole::Plain:
        case BoxRole::SecondCodeBox:
            w.control = control(box.field);
            break;
        case BoxRole::StoredPassword:
            // What is stored is a hash: only whether there is a password is shown.
            w.control = control(box.field);
            w.control->setEnabled(false);
            break;
        case BoxRole::NewPassword:
            w.control = addRow(box.field.label, passwordBox(panel, box.field.label));
            w.repeat = static_cast<QLineEdit *>(addRow(kRepeatPasswordLabel, passwordBox(panel, kRepeatPasswordLabel)));
            break;
        }
        if (box.field.kind == edit::Kind::CodeList) {
            try {
                edit::fillCodeList(static_cast<QComboBox *>(w.control),
                                   code_items::codeItems(host().database(), box.field.listTable()), edit::Shown::Name,
                                   QString());  // no code chosen
            } catch (const sql::Failure &e) {
                failure_message::show(this, e, {.title = member_.title.trimmed(), .reading = true});
            }
        }
        if (box.role == BoxRole::SecondCodeBox) {
            // Both boxes show the one code column.
            auto *second = static_cast<QLineEdit *>(w.control);
            connect(second, &QLineEdit::textEdited, codeBox_, &QLineEdit::setText);
            connect(codeBox_, &QLineEdit::textEdited, second, &QLineEdit::setText);
        }
        boxes_.push_back(w);
    }
    if (!member_.note.isEmpty()) {
        auto *note = new QLabel(member_.note, panel);
        note->setWordWrap(true);
        note->setStyleSheet("color: #a00000;");
        grid->addWidget(note, grid->rowCount(), 0, 1, 2);
    }
    grid->setRowStretch(grid->rowCount(), 1);
    return panel;
}

QWidget *CodeEditor::buildButtonBar()
{
    using edit::Action;
    std::vector<edit::BarButton> buttons = {{Action::Add, "添加", [this] { add(); }}};
    if (member_.canModify)
        buttons.push_back({Action::Modify, "修改", [this] { modify(); }});
    buttons.insert(buttons.end(), {{Action::Save, "保存", [this] { save(); }},
                                   {Action::Return, "返回", [this] { close(); }},
                                   {Action::Ignore, "忽略", [this] { ignore(); }},
                                   {Action::Delete, "删除", [this] { remove(); }}});
    // The buttons leave the keyboard focus where it is, so pressing one never counts as
    // leaving the code box; "保存" checks the code itself.
    bar_ = new edit::ModeBar(buttons, {.columns = 3, .takeFocus = false}, this);
    return bar_;
}

QWidget *CodeEditor::buildListPanel()
{
    auto *panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(panel);
    listTitle_ = new QLabel(member_.listTitle, panel);
    listTitle_->setObjectName("listTitle");
    listTitle_->setAlignment(Qt::AlignCenter);
    listTitle_->setStyleSheet("font-weight: bold;");
    layout->addWidget(listTitle_);

    grid_ = new StripedGrid(panel);
    grid_->setModel(model_);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setColumnWidth(0, 60);
    prepareGrid(grid_, member_.striped);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showCurrentRow(); });
    layout->addWidget(grid_, 1);

    if (member_.arrowButtons) {
        auto *arrows = new QHBoxLayout;
        arrows->addStretch();
        for (auto [button, arrow, step] : {std::tuple{&up_, Qt::UpArrow, -1}, std::tuple{&down_, Qt::DownArrow, 1}}) {
            *button = new QToolButton(panel);
            (*button)->setArrowType(arrow);
            (*button)->setFocusPolicy(Qt::NoFocus);
            connect(*button, &QToolButton::clicked, this, [this, s = step] { moveCurrent(s); });
            arrows->addWidget(*button);
        }
        layout->addLayout(arrows);
    }
    return panel;
}

int CodeEditor::currentRow() const
{
    const QModelIndex current = grid_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

QSqlRecord CodeEditor::currentRecord() const
{
    const int row = currentRow();
    return row < 0 ? QSqlRecord() : rows_.value(recordOf(row));
}

int CodeEditor::recordOf(int row) const
{
    // Each grid row carries its record's place after the columns shown: the grid may be sorted.
    return model_->rows().value(row).value(int(member_.grid.size()), -1).toInt();
}

void CodeEditor::reload(const QString &selectCode, int fallbackRow)
{
    try {
        rows_ = readRows(host().database(), member_);
    } catch (const sql::Failure &e) {
        rows_.clear();
        failure_message::show(this, e, {.title = member_.title.trimmed(), .reading = true});
    }
    QList<QVariantList> shown;
    int selected = -1;
    for (const QSqlRecord &record : rows_) {
        if (!selectCode.isEmpty() && record.value(member_.codeColumn).toString() == selectCode)
            selected = int(shown.size());
        QVariantList cells;
        for (const GridColumn &c : member_.grid)
            cells << record.value(c.column);
        shown << (cells << int(shown.size()));
    }
    model_->setRows(shown);
    int row = -1;
    for (int r = 0; selected >= 0 && r < model_->rowCount() && row < 0; ++r)
        row = recordOf(r) == selected ? r : -1;
    if (row < 0)
        row = std::min(fallbackRow, model_->rowCount() - 1);
    if (row >= 0)
        grid_->selectRow(row);
    bar_->setRowShown(row >= 0);
    showCurrentRow();
}

void CodeEditor::showCurrentRow()
{
    const QSqlRecord record = currentRecord();
    const edit::Values values = edit::shownRow(fields_, member_.table, record);
    codeBox_->setText(values.value(member_.codeColumn));
    nameBox_->setText(values.value(member_.nameColumn));
    for (const BoxWidgets &w : boxes_) {
        switch (w.box->role) {
        case BoxRole::Plain:
            edit::setValue(w.control, values.value(w.box->field.key()));
            break;
        case BoxRole::SecondCodeBox:
            edit::setValue(w.control, values.value(member_.codeColumn));
            break;
        case BoxRole::StoredPassword:
            edit::setValue(w.control, comparable(record.value(w.box->field.column)).isEmpty() ? QString()
                                                                                              : kStoredPasswordShown);
            break;
        case BoxRole::NewPassword:
            edit::setValue(w.control, {});
            w.repeat->clear();
            break;
        }
    }
}

void CodeEditor::add()
{
    bar_->setMode(Mode::Adding);
    codeBox_->clear();
    nameBox_->clear();
    for (const BoxWidgets &w : boxes_) {
        edit::setValue(w.control, {});
        if (w.repeat)
            w.repeat->clear();
    }
    codeBox_->setFocus();
}

void CodeEditor::modify()
{
    if (currentRow() < 0)
        return;
    bar_->setMode(Mode::Editing);
    nameBox_->setFocus();
}

bool CodeEditor::formatCodeBox()
{
    if (const std::optional<QString> code = formatCode(codeBox_->text())) {
        codeBox_->setText(*code);
        return true;
    }
    prompt::ask(kRefusedTitle, member_.codeFormatMessage, false, this);
    codeBox_->setFocus();
    return false;
}

bool CodeEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == codeBox_ && event->type() == QEvent::FocusOut && mode() == Mode::Adding
        && !member_.codeFormatMessage.isEmpty()) {
        // Only a move to another box counts as leaving it, not a prompt or another window
        // taking the focus.
        switch (static_cast<QFocusEvent *>(event)->reason()) {
        case Qt::MouseFocusReason:
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
            formatCodeBox();
            break;
        default:
            break;
        }
    }
    return FunctionScreen::eventFilter(watched, event);
}

std::optional<RowChange> CodeEditor::typedRow()
{
    RowChange change;
    if (mode() == Mode::Editing) {
        change.originalCode = currentRecord().value(member_.codeColumn).toString();
        change.asRead = edit::asRead(currentRecord());
    }
    edit::Values values = {{member_.codeColumn, codeBox_->text()}, {member_.nameColumn, nameBox_->text()}};
    for (const BoxWidgets &w : boxes_) {
        switch (w.box->role) {
        case BoxRole::Plain:
            values.insert(w.box->field.key(), edit::valueOf(w.control));
            if (!edit::passes(host().database(), w.box->field, values)) {
                prompt::ask(kErrorTitle, w.box->field.message, false, this);
                w.control->setFocus();
                return std::nullopt;
            }
            break;
        case BoxRole::SecondCodeBox:  // the same column as the code box, kept in step with it
        case BoxRole::StoredPassword:
            break;
        case BoxRole::NewPassword: {
            const QString typed = edit::valueOf(w.control);
            if (typed != w.repeat->text()) {
                prompt::ask(kErrorTitle, kPasswordsDiffer, false, this);
                w.control->setFocus();
                return std::nullopt;
            }
            if (!typed.isEmpty())
                change.password = typed;
            break;
        }
        }
    }
    change.values = edit::storedRow(fields_, member_.table, values);
    return change;
}

bool CodeEditor::unchanged(const RowChange &change) const
{
    if (change.originalCode.isEmpty() || change.password)
        return false;
    const QSqlRecord original = currentRecord();
    for (auto it = change.values.begin(); it != change.values.end(); ++it)
        if (comparable(it.value()) != comparable(original.value(it.key())))
            return false;
    return true;
}

void CodeEditor::save()
{
    if (mode() == Mode::Browse)
        return;
    if (mode() == Mode::Adding && !member_.codeFormatMessage.isEmpty() && !formatCodeBox())
        return;
    const std::optional<RowChange> change = typedRow();
    if (!change)
        return;
    if (!unchanged(*change)) {
        try {
            saveRow(host().database(), member_, *change);
        } catch (const sql::Failure &e) {
            // Duplicate, empty or still-used code, or a name gzb cannot take: the typed
            // values stay so the user can correct them or press "忽略".
            failure_message::show(this, e, {.title = kErrorTitle, .refusal = kSaveRefused});
            return;
        }
    }
    const int row = currentRow();
    bar_->setMode(Mode::Browse);
    reload(change->values.value(member_.codeColumn).toString(), std::max(row, 0));
}

void CodeEditor::ignore()
{
    bar_->setMode(Mode::Browse);
    showCurrentRow();
}

void CodeEditor::remove()
{
    const int row = currentRow();
    if (mode() != Mode::Browse || row < 0)
        return;
    const DeleteTexts &texts = deleteTexts(member_);
    if (prompt::ask(kDeleteTitle, texts.question, true, this) != prompt::Ok)
        return;
    try {
        deleteRow(host().database(), member_, currentRecord().value(member_.codeColumn).toString());
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.title = kRefusedTitle, .refusal = texts.refusal});
        return;
    }
    reload({}, row);
}

void CodeEditor::moveCurrent(int step)
{
    const int row = currentRow() + step;
    if (row >= 0 && row < model_->rowCount())
        grid_->selectRow(row);
}

}  // namespace codes
