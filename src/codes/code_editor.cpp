#include "codes/code_editor.h"

#include "app/notify.h"
#include "app/prompt.h"
#include "app/striped_grid.h"
#include "app/title_strip.h"
#include "db/database.h"
#include "db/money.h"
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

QVariant textOrNull(const QString &text) { return text.isEmpty() ? QVariant() : QVariant(text); }

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
    : FunctionScreen(host, member.className), member_(member), model_(new RowsModel(gridTitles(member), this))
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

    reload({});
    setMode(Mode::Browse);
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
    };
    const auto lineEdit = [&](const QString &label) {
        auto *edit = new QLineEdit(panel);
        edit->setObjectName(label);
        addRow(label, edit);
        return edit;
    };

    codeBox_ = lineEdit(member_.codeLabel);
    codeBox_->installEventFilter(this);
    nameBox_ = lineEdit(member_.nameLabel);
    for (const codes::Box &box : member_.boxes) {
        BoxWidgets w{&box};
        switch (box.kind) {
        case BoxKind::Text:
        case BoxKind::Money:
        case BoxKind::SecondCodeBox:
            w.edit = lineEdit(box.label);
            break;
        case BoxKind::List:
            w.list = new QComboBox(panel);
            w.list->setObjectName(box.label);
            w.list->addItem({}, QVariant());  // no code chosen
            try {
                for (const auto &[code, name] : listItems(database::shared(), box))
                    w.list->addItem(name, code);
            } catch (const sql::Failure &e) {
                notify::show(this, notify::Kind::Error, member_.title.trimmed(), e.message());
            }
            addRow(box.label, w.list);
            break;
        case BoxKind::StoredPassword:
            // What is stored is a hash: only whether there is a password is shown.
            w.edit = lineEdit(box.label);
            w.edit->setReadOnly(true);
            break;
        case BoxKind::NewPassword:
            w.edit = passwordBox(panel, box.label);
            addRow(box.label, w.edit);
            w.repeat = passwordBox(panel, kRepeatPasswordLabel);
            addRow(kRepeatPasswordLabel, w.repeat);
            break;
        }
        if (box.kind == BoxKind::SecondCodeBox) {
            // Both boxes show the one code column.
            connect(w.edit, &QLineEdit::textEdited, codeBox_, &QLineEdit::setText);
            connect(codeBox_, &QLineEdit::textEdited, w.edit, &QLineEdit::setText);
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

template <typename Handler>
QPushButton *CodeEditor::addButton(QWidget *bar, const QString &caption, Handler handler)
{
    auto *button = new QPushButton(caption, bar);
    button->setObjectName(caption);
    // The buttons leave the keyboard focus where it is, so pressing one never counts as
    // leaving the code box; "保存" checks the code itself.
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

QWidget *CodeEditor::buildButtonBar()
{
    auto *bar = new QWidget(this);
    auto *grid = new QGridLayout(bar);
    grid->setContentsMargins(0, 0, 0, 0);
    add_ = addButton(bar, QStringLiteral("添加"), &CodeEditor::add);
    if (member_.canModify)
        modify_ = addButton(bar, QStringLiteral("修改"), &CodeEditor::modify);
    save_ = addButton(bar, QStringLiteral("保存"), &CodeEditor::save);
    return_ = addButton(bar, QStringLiteral("返回"), [this] { close(); });
    ignore_ = addButton(bar, QStringLiteral("忽略"), &CodeEditor::ignore);
    delete_ = addButton(bar, QStringLiteral("删除"), &CodeEditor::remove);
    int i = 0;
    for (QPushButton *b : {add_, modify_, save_, return_, ignore_, delete_})
        if (b) {
            grid->addWidget(b, i / 3, i % 3);
            ++i;
        }
    return bar;
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

void CodeEditor::setMode(Mode mode)
{
    mode_ = mode;
    const bool browsing = mode == Mode::Browse;
    for (QWidget *w : std::initializer_list<QWidget *>{add_, modify_, delete_, return_, grid_, up_, down_})
        if (w)
            w->setEnabled(browsing);
    save_->setEnabled(!browsing);
    ignore_->setEnabled(!browsing);
    nameBox_->setEnabled(!browsing);
    codeBox_->setEnabled(mode == Mode::Add);
    for (const BoxWidgets &w : boxes_) {
        const bool editable = !browsing && w.box->kind != BoxKind::StoredPassword;
        for (QWidget *widget : std::initializer_list<QWidget *>{w.edit, w.list, w.repeat})
            if (widget)
                widget->setEnabled(editable);
    }
}

int CodeEditor::currentRow() const
{
    const QModelIndex current = grid_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

QSqlRecord CodeEditor::currentRecord() const { return rows_.value(currentRow()); }

void CodeEditor::reload(const QString &selectCode, int fallbackRow)
{
    try {
        rows_ = readRows(database::shared(), member_);
    } catch (const sql::Failure &e) {
        rows_.clear();
        notify::show(this, notify::Kind::Error, member_.title.trimmed(), e.message());
    }
    QList<QVariantList> shown;
    int row = -1;
    for (const QSqlRecord &record : rows_) {
        if (!selectCode.isEmpty() && record.value(member_.codeColumn).toString() == selectCode)
            row = int(shown.size());
        QVariantList cells;
        for (const GridColumn &c : member_.grid)
            cells << record.value(c.column);
        shown << cells;
    }
    model_->setRows(shown);
    if (row < 0)
        row = std::min(fallbackRow, model_->rowCount() - 1);
    if (row >= 0)
        grid_->selectRow(row);
    showCurrentRow();
}

void CodeEditor::showCurrentRow()
{
    const QSqlRecord record = currentRecord();
    const auto text = [&](const QString &column) { return comparable(record.value(column)); };
    codeBox_->setText(text(member_.codeColumn));
    nameBox_->setText(text(member_.nameColumn));
    for (const BoxWidgets &w : boxes_) {
        const QVariant value = w.box->column.isEmpty() ? QVariant() : record.value(w.box->column);
        switch (w.box->kind) {
        case BoxKind::Text:
        case BoxKind::SecondCodeBox:
            w.edit->setText(comparable(value));
            break;
        case BoxKind::Money:
            w.edit->setText(value.isNull() ? QString() : money::formatYuan(value.toLongLong()));
            break;
        case BoxKind::List:
            w.list->setCurrentIndex(std::max(0, w.list->findData(value.isNull() ? QVariant() : value)));
            break;
        case BoxKind::StoredPassword:
            w.edit->setText(comparable(value).isEmpty() ? QString() : kStoredPasswordShown);
            break;
        case BoxKind::NewPassword:
            w.edit->clear();
            w.repeat->clear();
            break;
        }
    }
}

void CodeEditor::add()
{
    setMode(Mode::Add);
    codeBox_->clear();
    nameBox_->clear();
    for (const BoxWidgets &w : boxes_) {
        for (QLineEdit *edit : {w.edit, w.repeat})
            if (edit)
                edit->clear();
        if (w.list)
            w.list->setCurrentIndex(0);
    }
    codeBox_->setFocus();
}

void CodeEditor::modify()
{
    if (currentRow() < 0)
        return;
    setMode(Mode::Modify);
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
    if (watched == codeBox_ && event->type() == QEvent::FocusOut && mode_ == Mode::Add
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
    if (mode_ == Mode::Modify)
        change.originalCode = currentRecord().value(member_.codeColumn).toString();
    change.values.insert(member_.codeColumn, codeBox_->text());
    change.values.insert(member_.nameColumn, textOrNull(nameBox_->text()));
    for (const BoxWidgets &w : boxes_) {
        switch (w.box->kind) {
        case BoxKind::Text:
            change.values.insert(w.box->column, textOrNull(w.edit->text()));
            break;
        case BoxKind::Money:
            if (w.edit->text().trimmed().isEmpty()) {
                change.values.insert(w.box->column, QVariant());
            } else if (const std::optional<qint64> amount = money::parseYuan(w.edit->text())) {
                change.values.insert(w.box->column, qlonglong(*amount));
            } else {
                prompt::ask(kErrorTitle, w.box->label + QStringLiteral("格式错误，请重新输入！"), false, this);
                w.edit->setFocus();
                return std::nullopt;
            }
            break;
        case BoxKind::List:
            change.values.insert(w.box->column, w.list->currentData());
            break;
        case BoxKind::SecondCodeBox:  // the same column as the code box, kept in step with it
        case BoxKind::StoredPassword:
            break;
        case BoxKind::NewPassword:
            if (w.edit->text() != w.repeat->text()) {
                prompt::ask(kErrorTitle, kPasswordsDiffer, false, this);
                w.edit->setFocus();
                return std::nullopt;
            }
            if (!w.edit->text().isEmpty())
                change.password = w.edit->text();
            break;
        }
    }
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
    if (mode_ == Mode::Browse)
        return;
    if (mode_ == Mode::Add && !member_.codeFormatMessage.isEmpty() && !formatCodeBox())
        return;
    const std::optional<RowChange> change = typedRow();
    if (!change)
        return;
    if (!unchanged(*change)) {
        try {
            saveRow(database::shared(), member_, *change);
        } catch (const std::exception &) {
            // Duplicate, empty or still-used code, or a name gzb cannot take: the typed
            // values stay so the user can correct them or press "忽略".
            prompt::ask(kErrorTitle, kSaveRefused, false, this);
            return;
        }
    }
    const int row = currentRow();
    setMode(Mode::Browse);
    reload(change->values.value(member_.codeColumn).toString(), std::max(row, 0));
}

void CodeEditor::ignore()
{
    setMode(Mode::Browse);
    showCurrentRow();
}

void CodeEditor::remove()
{
    const int row = currentRow();
    if (mode_ != Mode::Browse || row < 0)
        return;
    const DeleteTexts &texts = deleteTexts(member_);
    if (prompt::ask(kDeleteTitle, texts.question, true, this) != prompt::Ok)
        return;
    try {
        deleteRow(database::shared(), member_, currentRecord().value(member_.codeColumn).toString());
    } catch (const Refused &e) {
        prompt::ask(kRefusedTitle, e.message(), false, this);
        return;
    } catch (const sql::Failure &) {
        prompt::ask(kRefusedTitle, texts.refusal, false, this);
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
