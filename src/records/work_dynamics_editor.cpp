#include "records/work_dynamics_editor.h"

#include "app/failure_message.h"
#include "app/field_controls.h"
#include "app/prompt.h"
#include "db/code_items.h"
#include "db/sorted_query_model.h"
#include "db/sql.h"
#include "records/employee_header.h"
#include "records/employee_search_panel.h"
#include "records/event_book.h"
#include "records/history_panels.h"
#include "records/work_dynamics.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

using edit::Action;
using edit::Mode;

namespace {

const QString kErrorTitle = QStringLiteral("错误信息");
const int kTitleGroup = 1;  // "职称动态": its title list follows the chosen category

const records::HistoryGroup &groupAt(int group) { return records::historyGroups()[size_t(group)]; }

}  // namespace

Tfrmgzdtbj::Tfrmgzdtbj(ScreenHost &host) : FunctionScreen(host, "Tfrmgzdtbj")
{
    search_ = new EmployeeSearchPanel(host.database(), {records::ListBase::CurrentDepartment, EmployeeSearchPanel::Arrows::Active}, this);
    header_ = new EmployeeHeader(this);
    panels_ = new HistoryPanels(host.database(), this);
    bar_ = new edit::ModeBar({{Action::Add, "添加", [this] { add(); }},
                              {Action::Delete, "删除", [this] { remove(); }},
                              {Action::Modify, "修改", [this] { modify(); }},
                              {Action::Return, "返回", [this] { close(); }},
                              {Action::Save, "保存", [this] { save(); }},
                              {Action::Ignore, "忽略", [this] { ignore(); }}},
                             {.minimumWidth = 80}, this);
    bar_->enable(search_, edit::ModeBar::When::Browsing);

    // Each group's edit strip: the change date and the code lists, hidden until edited.
    for (int g = 0; g < panels_->groupCount(); ++g) {
        Strip strip{new QWidget(panels_->panel(g)), {}};
        auto *row = new QHBoxLayout(strip.widget);
        row->setContentsMargins(0, 0, 0, 0);
        for (const edit::Field &f : groupAt(g).fields) {
            QWidget *control = edit::makeControl(f, strip.widget);
            row->addWidget(new QLabel(f.label, strip.widget));
            row->addWidget(control, f.kind == edit::Kind::Date ? 0 : 1);
            strip.controls.push_back(control);
        }
        strip.widget->hide();
        panels_->panelLayout(g)->addWidget(strip.widget);
        bar_->enable(panels_->grid(g), edit::ModeBar::When::Browsing);
        connect(panels_->grid(g)->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                &Tfrmgzdtbj::updateRowShown);
        strips_.push_back(strip);
    }
    try {
        for (int g = 0; g < panels_->groupCount(); ++g)
            for (size_t i = 0; i < groupAt(g).fields.size(); ++i) {
                const edit::Field &f = groupAt(g).fields[i];
                if (f.kind == edit::Kind::CodeList && f.filterColumn.isEmpty())
                    edit::fillCodeList(static_cast<QComboBox *>(strips_[size_t(g)].controls[i]),
                                       code_items::codeItems(host.database(), f.listTable()));
            }
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.title = kErrorTitle, .reading = true});
    }
    connect(static_cast<QComboBox *>(control(kTitleGroup, "类别编码")), &QComboBox::currentIndexChanged, this,
            [this] { refillTitles(edit::valueOf(control(kTitleGroup, "类别编码"))); });

    QVBoxLayout *right = layOutSearchScreen(this, QStringLiteral("  人事资料记录卡 >> 工作动态编辑"), search_, header_);
    right->addWidget(panels_, 1);
    right->addWidget(bar_);
    resize(host.workArea()->size().boundedTo(QSize(1180, 760)));

    panels_->trackCurrentGroup();
    connect(panels_, &HistoryPanels::currentGroupChanged, this, &Tfrmgzdtbj::updateRowShown);
    connect(search_, &EmployeeSearchPanel::employeeChanged, this, &Tfrmgzdtbj::showEmployee);
    search_->start();
    panels_->grid(0)->setFocus();
}

QWidget *Tfrmgzdtbj::control(int group, const QString &key) const
{
    const edit::Fields &fields = groupAt(group).fields;
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].key() == key)
            return strips_[size_t(group)].controls[i];
    return nullptr;
}

void Tfrmgzdtbj::showEmployee(const QString &code, const QString &name)
{
    header_->showEmployee(code, name);
    panels_->showEmployee(code);
    updateRowShown();
}

std::optional<qint64> Tfrmgzdtbj::selectedRowId() const
{
    const int g = panels_->currentGroup();
    const QModelIndex current = panels_->grid(g)->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return panels_->model(g)->index(current.row(), records::kRowIdColumn).data().toLongLong();
}

void Tfrmgzdtbj::updateRowShown() { bar_->setRowShown(selectedRowId().has_value()); }

void Tfrmgzdtbj::refillTitles(const QString &category)
{
    auto *titles = static_cast<QComboBox *>(control(kTitleGroup, "职称编码"));
    try {
        edit::fillCodeList(titles, category.isEmpty() ? QList<code_items::Item>{}
                                                      : code_items::codeItems(host().database(), "zcdmb",
                                                                              {.column = "技术分类", .value = category}));
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.title = kErrorTitle, .reading = true});
    }
}

void Tfrmgzdtbj::add()
{
    if (panels_->employee().isEmpty())
        return;  // no employee to add a change for
    editedRow_.reset();
    for (QWidget *c : strips_[size_t(panels_->currentGroup())].controls)
        edit::setValue(c, {});
    beginEditing(Mode::Adding);
}

void Tfrmgzdtbj::modify()
{
    const std::optional<qint64> id = selectedRowId();
    if (!id)
        return;
    const int g = panels_->currentGroup();
    const QSqlRecord row = panels_->model(g)->record(panels_->grid(g)->currentIndex().row());
    editedRow_ = edit::RecordedRow{*id, edit::asRead(row)};
    // In field order, so the category is set before the title list it fills.
    const edit::Fields &fields = groupAt(g).fields;
    for (size_t i = 0; i < fields.size(); ++i)
        edit::setValue(strips_[size_t(g)].controls[i], edit::shownValue(fields[i], row.value(fields[i].column)));
    beginEditing(Mode::Editing);
}

void Tfrmgzdtbj::beginEditing(Mode mode)
{
    const Strip &strip = strips_[size_t(panels_->currentGroup())];
    bar_->setMode(mode);
    strip.widget->show();
    strip.controls.front()->setFocus();
}

void Tfrmgzdtbj::save()
{
    const int g = panels_->currentGroup();
    edit::Values values;
    const edit::Fields &fields = groupAt(g).fields;
    for (size_t i = 0; i < fields.size(); ++i)
        values.insert(fields[i].key(), edit::valueOf(strips_[size_t(g)].controls[i]));
    try {
        records::saveHistoryRow(host().database(), groupAt(g), panels_->employee(), values, editedRow_);
    } catch (const sql::Failure &e) {
        // The row stays pending for correcting or "忽略". The program's refusal names the field;
        // a value the database refuses gets the screen's refusal alone.
        const QString refused = QStringLiteral("由于本动态信息无法变动！");
        if (e.kind() == sql::Failure::Kind::Refused)
            prompt::ask(kErrorTitle, refused + '\n' + e.message(), false, this);
        else
            failure_message::show(this, e, {.title = kErrorTitle, .refusal = refused});
        return;
    }
    const int row = editedRow_ ? panels_->grid(g)->currentIndex().row() : -1;
    finishEditing();
    panels_->reload(g);
    // The saved row stays selected: the new one is the last recorded.
    SortedQueryModel *model = panels_->model(g);
    while (row < 0 && model->canFetchMore())
        model->fetchMore();
    panels_->grid(g)->selectRow(row < 0 ? model->rowCount() - 1 : row);
}

void Tfrmgzdtbj::ignore() { finishEditing(); }

void Tfrmgzdtbj::finishEditing()
{
    const int g = panels_->currentGroup();
    strips_[size_t(g)].widget->hide();
    editedRow_.reset();
    bar_->setMode(Mode::Browse);
    updateRowShown();
    panels_->grid(g)->setFocus();
}

void Tfrmgzdtbj::remove()
{
    const int g = panels_->currentGroup();
    const std::optional<qint64> id = selectedRowId();
    if (!id)
        return;
    // The first row (the entry-time one) stays: without it the employee has no such history.
    if (panels_->grid(g)->currentIndex().row() == 0) {
        prompt::ask(kErrorTitle, QStringLiteral("由于此动态信息不能删除！"), false, this);
        return;
    }
    if (prompt::ask(QStringLiteral("删除提示"), QStringLiteral("确定要删除此动态信息吗？"), true, this) != prompt::Ok)
        return;
    try {
        records::deleteRecordedRow(host().database(), groupAt(g).tableName(), *id);
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.title = kErrorTitle, .refusal = QStringLiteral("由于本员工信息无法删除！")});
    }
    panels_->reload(g);
    updateRowShown();
}
