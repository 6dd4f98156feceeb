#include "pay/grade_salary_editor.h"

#include "app/field_controls.h"
#include "app/notify.h"
#include "app/prompt.h"
#include "app/striped_grid.h"
#include "db/code_items.h"
#include "db/sql.h"
#include "export/xlsx_export.h"
#include "pay/grade_salary.h"
#include "records/employee_header.h"
#include "records/employee_search_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QVBoxLayout>

using edit::Action;
using edit::Mode;

namespace {

const QString kErrorTitle = QStringLiteral("错误信息");

const records::HistoryGroup &group() { return pay::gradeSalaryGroup(); }

}  // namespace

Tfrmzwdjbj::Tfrmzwdjbj(ScreenHost &host) : FunctionScreen(host, "Tfrmzwdjbj")
{
    search_ = new EmployeeSearchPanel(host.database(), {records::ListBase::CurrentDepartment, EmployeeSearchPanel::Arrows::Absent}, this);
    header_ = new EmployeeHeader(this);
    bar_ = new edit::ModeBar({{Action::Add, "添加", [this] { add(); }},
                              {Action::Modify, "修改", [this] { modify(); }},
                              {Action::Delete, "删除", [this] { remove(); }},
                              {Action::Return, "返回", [this] { close(); }},
                              {Action::Save, "确定", [this] { save(); }},
                              {Action::Ignore, "忽略", [this] { ignore(); }}},
                             {.minimumWidth = 80}, this);
    bar_->enable(search_, edit::ModeBar::When::Browsing);

    grid_ = new StripedGrid(this);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setStretchLastSection(true);
    model_ = new QSqlQueryModel(this);
    grid_->setModel(model_);
    bar_->enable(grid_, edit::ModeBar::When::Browsing);

    // The edit box: one labelled control per field, "确定" and "忽略" under them.
    box_ = new QGroupBox(QStringLiteral("等级工资变动"), this);
    auto *form = new QGridLayout(box_);
    for (const edit::Field &f : group().fields) {
        QWidget *c = edit::makeControl(f, box_);
        form->addWidget(new QLabel(f.label, box_), int(controls_.size()), 0);
        form->addWidget(c, int(controls_.size()), 1);
        controls_.push_back(c);
    }
    auto *confirm = new QHBoxLayout;
    confirm->addStretch();
    confirm->addWidget(bar_->button(Action::Save));
    confirm->addWidget(bar_->button(Action::Ignore));
    form->addLayout(confirm, int(controls_.size()), 0, 1, 2);
    box_->hide();
    try {
        edit::fillCodeList(static_cast<QComboBox *>(control("等级编码")), code_items::codeItems(host.database(), "zwdjdmb"));
    } catch (const sql::Failure &e) {
        notify::show(this, notify::Kind::Error, kErrorTitle, e.message());
    }
    connect(static_cast<QComboBox *>(control("等级编码")), &QComboBox::currentIndexChanged, this,
            &Tfrmzwdjbj::fillStandardSalary);

    QVBoxLayout *right = layOutSearchScreen(this, QStringLiteral(" 等级工资及年度考核 >> 等级工资动态编辑"), search_, header_);
    right->addWidget(bar_);
    right->addWidget(grid_, 1);
    right->addWidget(box_);
    resize(host.workArea()->size().boundedTo(QSize(1100, 720)));

    connect(search_, &EmployeeSearchPanel::employeeChanged, this, &Tfrmzwdjbj::showEmployee);
    search_->start();
    grid_->setFocus();
}

QWidget *Tfrmzwdjbj::control(const QString &key) const
{
    const edit::Fields &fields = group().fields;
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].key() == key)
            return controls_[i];
    return nullptr;
}

void Tfrmzwdjbj::showEmployee(const QString &code, const QString &name)
{
    header_->showEmployee(code, name);
    employee_ = code;
    reload();
}

void Tfrmzwdjbj::reload()
{
    try {
        if (employee_.isEmpty())
            model_->clear();
        else
            model_->setQuery(records::historyRows(host().database(), group(), employee_));
    } catch (const sql::Failure &e) {
        model_->clear();
        notify::show(this, notify::Kind::Error, kErrorTitle, e.message());
    }
    while (model_->canFetchMore())
        model_->fetchMore();
    // Shown: 变动时间, 等级名称, 等级工资, 变动理由; the key and the code stay hidden.
    const int shownEnd = records::kDateColumn + 1 + int(group().shown.size());
    for (int c = 0; c < model_->columnCount(); ++c)
        grid_->setColumnHidden(c, c < records::kDateColumn || c >= shownEnd);
    if (model_->columnCount() > pay::kGradeSalaryColumn) {
        model_->setHeaderData(pay::kGradeSalaryColumn, Qt::Horizontal, true, xlsx::kMoneyColumnRole);
        grid_->setColumnWidth(records::kDateColumn, 90);
    }
    if (model_->rowCount() > 0)
        grid_->selectRow(0);
    bar_->setRowShown(model_->rowCount() > 0);
}

std::optional<qint64> Tfrmzwdjbj::selectedRowId() const
{
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return model_->index(current.row(), records::kRowIdColumn).data().toLongLong();
}

void Tfrmzwdjbj::fillStandardSalary()
{
    const QString grade = edit::valueOf(control("等级编码"));
    if (grade.isEmpty())
        return;
    try {
        edit::setValue(control("等级工资"), pay::standardSalary(host().database(), grade));
    } catch (const sql::Failure &e) {
        notify::show(this, notify::Kind::Error, kErrorTitle, e.message());
    }
}

void Tfrmzwdjbj::add()
{
    if (employee_.isEmpty())
        return;  // no employee to add a change for
    editedRow_.reset();
    for (QWidget *c : controls_)
        edit::setValue(c, {});
    beginEditing(Mode::Adding);
}

void Tfrmzwdjbj::modify()
{
    editedRow_ = selectedRowId();
    if (!editedRow_)
        return;
    const QSqlRecord row = model_->record(grid_->currentIndex().row());
    const edit::Fields &fields = group().fields;
    // The grade first: choosing it fills the standard salary, which the stored amount replaces.
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].kind == edit::Kind::CodeList)
            edit::setValue(controls_[i], edit::shownValue(fields[i], row.value(fields[i].column)));
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].kind != edit::Kind::CodeList)
            edit::setValue(controls_[i], edit::shownValue(fields[i], row.value(fields[i].column)));
    beginEditing(Mode::Editing);
}

void Tfrmzwdjbj::beginEditing(Mode mode)
{
    bar_->setMode(mode);
    box_->show();
    controls_.front()->setFocus();
}

void Tfrmzwdjbj::save()
{
    edit::Values values;
    const edit::Fields &fields = group().fields;
    for (size_t i = 0; i < fields.size(); ++i)
        values.insert(fields[i].key(), edit::valueOf(controls_[i]));
    try {
        records::saveHistoryRow(host().database(), group(), employee_, values, editedRow_);
    } catch (const sql::Failure &e) {
        // The box stays open with what was typed, for correcting or "忽略"; the reason names the field.
        prompt::ask(kErrorTitle, QStringLiteral("这条动态信息无法保存！\n%1").arg(e.message()), false, this);
        return;
    }
    const int row = editedRow_ ? grid_->currentIndex().row() : -1;
    finishEditing();
    reload();
    // The saved row stays selected: a new one is the last recorded.
    grid_->selectRow(row < 0 ? model_->rowCount() - 1 : row);
}

void Tfrmzwdjbj::ignore() { finishEditing(); }

void Tfrmzwdjbj::finishEditing()
{
    box_->hide();
    editedRow_.reset();
    bar_->setMode(Mode::Browse);
    bar_->setRowShown(model_->rowCount() > 0);
    grid_->setFocus();
}

void Tfrmzwdjbj::remove()
{
    const std::optional<qint64> id = selectedRowId();
    if (!id)
        return;
    if (prompt::ask(QStringLiteral("删除提示"), QStringLiteral("确定要删除这条动态信息吗？"), true, this) != prompt::Ok)
        return;
    try {
        records::deleteHistoryRow(host().database(), group(), *id);
    } catch (const sql::Failure &) {
        prompt::ask(kErrorTitle, QStringLiteral("这条动态信息无法删除！"), false, this);
    }
    reload();
}
