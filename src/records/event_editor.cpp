#include "records/event_editor.h"

#include "app/failure_message.h"
#include "app/field_controls.h"
#include "app/prompt.h"
#include "app/striped_grid.h"
#include "db/sorted_query_model.h"
#include "db/sql.h"
#include "export/xlsx_export.h"
#include "records/attendance.h"
#include "records/employee_header.h"
#include "records/employee_search_panel.h"
#include "records/rewards.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSqlRecord>
#include <QVBoxLayout>

using edit::Action;
using edit::Mode;

namespace {

const QString kErrorTitle = QStringLiteral("错误信息");

}  // namespace

EventEditor::Source EventEditor::sourceOf(const records::EventBook &book)
{
    return {book.fields,
            book.kindField,
            book.kindItems,
            book.editorColumns,
            [&book](const QSqlDatabase &db, const QString &employee) { return records::eventRows(db, book, employee); },
            [&book](const QSqlDatabase &db, const QString &employee, const edit::Values &values, std::optional<edit::RecordedRow> row) {
                records::saveEvent(db, book, employee, values, row);
            },
            [&book](const QSqlDatabase &db, qint64 rowId) { records::deleteRecordedRow(db, book.table, rowId); }};
}

EventEditor::EventEditor(ScreenHost &host, const QString &className, const Texts &texts, const Source &source)
    : FunctionScreen(host, className), source_(source)
{
    search_ = new EmployeeSearchPanel(host.database(), {records::ListBase::CurrentDepartment, EmployeeSearchPanel::Arrows::Absent}, this);
    header_ = new EmployeeHeader(this);
    std::vector<edit::BarButton> buttons = {{Action::Add, "添加", [this] { add(); }},
                                            {Action::Delete, "删除", [this] { remove(); }},
                                            {Action::Modify, "修改", [this] { modify(); }},
                                            {Action::Return, "返回", [this] { close(); }},
                                            {Action::Save, "确定", [this] { save(); }},
                                            {Action::Ignore, "忽略", [this] { ignore(); }}};
    if (texts.modifyBeforeDelete)
        std::swap(buttons[1], buttons[2]);
    bar_ = new edit::ModeBar(buttons, {.minimumWidth = 80}, this);
    bar_->enable(search_, edit::ModeBar::When::Browsing);

    grid_ = new StripedGrid(this);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    model_ = new SortedQueryModel(this);
    grid_->setModel(model_);
    bar_->enable(grid_, edit::ModeBar::When::Browsing);

    // The edit box: one labelled control per field, then its bar with "确定" and "忽略".
    box_ = new QGroupBox(texts.box, this);
    auto *form = new QGridLayout(box_);
    const int perRow = texts.fieldsPerRow;
    for (const edit::Field &f : source.fields) {
        QWidget *c = edit::makeControl(f, box_);
        const int at = int(controls_.size());
        form->addWidget(new QLabel(f.label, box_), at / perRow, (at % perRow) * 2);
        form->addWidget(c, at / perRow, (at % perRow) * 2 + 1);
        controls_.push_back(c);
    }
    auto *boxBar = new QHBoxLayout;
    if (!texts.boxBar.isEmpty()) {
        auto *caption = new QLabel(texts.boxBar, box_);
        caption->setStyleSheet("color: navy;");
        boxBar->addWidget(caption);
    }
    boxBar->addStretch();
    boxBar->addWidget(bar_->button(Action::Save));
    boxBar->addWidget(bar_->button(Action::Ignore));
    form->addLayout(boxBar, (int(controls_.size()) + perRow - 1) / perRow, 0, 1, perRow * 2);
    box_->hide();
    try {
        edit::fillCodeList(static_cast<QComboBox *>(control(source.listField)), source.listItems(host.database()));
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.title = kErrorTitle, .reading = true});
    }

    QVBoxLayout *right = layOutSearchScreen(this, texts.titleBar, search_, header_);
    right->addWidget(bar_);
    right->addWidget(grid_, 1);
    right->addWidget(box_);
    resize(host.workArea()->size().boundedTo(QSize(1100, 720)));

    connect(search_, &EmployeeSearchPanel::employeeChanged, this, &EventEditor::showEmployee);
    search_->start();
    grid_->setFocus();
}

QWidget *EventEditor::control(const QString &key) const
{
    for (size_t i = 0; i < source_.fields.size(); ++i)
        if (source_.fields[i].key() == key)
            return controls_[i];
    return nullptr;
}

void EventEditor::showEmployee(const QString &code, const QString &name)
{
    header_->showEmployee(code, name);
    employee_ = code;
    reload();
}

void EventEditor::reload()
{
    try {
        if (employee_.isEmpty())
            model_->clear();
        else
            model_->setQuery(source_.rows(host().database(), employee_));
    } catch (const sql::Failure &e) {
        model_->clear();
        failure_message::show(this, e, {.title = kErrorTitle, .reading = true});
    }
    while (model_->canFetchMore())
        model_->fetchMore();
    // Shown: the source's columns; the key and the stored fields stay hidden.
    const int shown = int(source_.shown.size());
    for (int c = 0; c < model_->columnCount(); ++c)
        grid_->setColumnHidden(c, c == records::kEventIdColumn || c > shown);
    if (model_->columnCount() > shown)
        for (int c = 0; c < shown; ++c) {
            model_->setHeaderData(c + 1, Qt::Horizontal, source_.shown[size_t(c)].title);
            if (source_.shown[size_t(c)].money)
                model_->setHeaderData(c + 1, Qt::Horizontal, true, xlsx::kMoneyColumnRole);
            if (source_.shown[size_t(c)].measured)
                model_->setHeaderData(c + 1, Qt::Horizontal, true, xlsx::kMeasuredColumnRole);
        }
    if (model_->rowCount() > 0)
        grid_->selectRow(0);
    bar_->setRowShown(model_->rowCount() > 0);
}

std::optional<qint64> EventEditor::selectedRowId() const
{
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return model_->index(current.row(), records::kEventIdColumn).data().toLongLong();
}

void EventEditor::add()
{
    if (employee_.isEmpty())
        return;  // no employee to add a row for
    editedRow_.reset();
    for (QWidget *c : controls_)
        edit::setValue(c, {});
    beginEditing(Mode::Adding);
}

void EventEditor::modify()
{
    const std::optional<qint64> id = selectedRowId();
    if (!id)
        return;
    const QSqlRecord row = model_->record(grid_->currentIndex().row());
    editedRow_ = edit::RecordedRow{*id, edit::asRead(row)};
    const edit::Fields &fields = source_.fields;
    // The lists first: choosing one may fill in other fields (a grade its standard salary),
    // which the stored values then replace.
    for (bool lists : {true, false})
        for (size_t i = 0; i < fields.size(); ++i)
            if ((fields[i].kind == edit::Kind::CodeList) == lists)
                edit::setValue(controls_[i], edit::shownValue(fields[i], row.value(fields[i].column)));
    beginEditing(Mode::Editing);
}

void EventEditor::beginEditing(Mode mode)
{
    bar_->setMode(mode);
    box_->show();
    controls_.front()->setFocus();
}

void EventEditor::save()
{
    edit::Values values;
    for (size_t i = 0; i < source_.fields.size(); ++i)
        values.insert(source_.fields[i].key(), edit::valueOf(controls_[i]));
    try {
        source_.save(host().database(), employee_, values, editedRow_);
    } catch (const sql::Failure &e) {
        // The box stays open with what was typed, for correcting or "忽略"; the reason names the field.
        const QString notSaved = QStringLiteral("这条动态信息无法保存！");
        failure_message::show(this, e, {.title = kErrorTitle, .refusal = notSaved, .lead = notSaved});
        return;
    }
    const int row = editedRow_ ? grid_->currentIndex().row() : -1;
    finishEditing();
    reload();
    // The saved row stays selected: a new one is the last recorded.
    grid_->selectRow(row < 0 ? model_->rowCount() - 1 : row);
}

void EventEditor::ignore() { finishEditing(); }

void EventEditor::finishEditing()
{
    box_->hide();
    editedRow_.reset();
    bar_->setMode(Mode::Browse);
    bar_->setRowShown(model_->rowCount() > 0);
    grid_->setFocus();
}

void EventEditor::remove()
{
    const std::optional<qint64> id = selectedRowId();
    if (!id)
        return;
    if (prompt::ask(QStringLiteral("删除提示"), QStringLiteral("确定要删除这条动态信息吗？"), true, this) != prompt::Ok)
        return;
    try {
        source_.remove(host().database(), *id);
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.title = kErrorTitle, .refusal = QStringLiteral("这条动态信息无法删除！")});
    }
    reload();
}

Tfrmjcjlbj::Tfrmjcjlbj(ScreenHost &host)
    : EventEditor(host, "Tfrmjcjlbj",
                  {QStringLiteral("  人事资料记录卡 >> 奖惩情况编辑"), QStringLiteral("奖惩编辑"), QStringLiteral("  奖惩纪录编辑框")},
                  sourceOf(records::rewardBook()))
{
}

Tfrmkqjlbj::Tfrmkqjlbj(ScreenHost &host)
    : EventEditor(host, "Tfrmkqjlbj",
                  {QStringLiteral("  人事资料记录卡 >> 考勤情况编辑"), QStringLiteral("考勤编辑"), QStringLiteral("考勤记录编辑框")},
                  sourceOf(records::attendanceBook()))
{
}
