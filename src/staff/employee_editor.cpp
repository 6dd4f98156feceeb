#include "staff/employee_editor.h"

#include "app/failure_message.h"
#include "app/field_controls.h"
#include "app/prompt.h"
#include "app/search_bar.h"
#include "app/striped_grid.h"
#include "db/code_items.h"
#include "db/sql.h"
#include "db/windowed_rows.h"
#include "staff/detail_panel.h"
#include "staff/photo_box.h"
#include "staff/photo_picker.h"
#include "staff/staff_lists.h"
#include "app/title_strip.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

using edit::Field;

namespace {
const QString kCode = QStringLiteral("职工编码");
const QString kWorkType = QStringLiteral("zcdtb.类别编码");
const QString kTitle = QStringLiteral("zcdtb.职称编码");
const QString kGrade = QStringLiteral("zwdjdtb.等级编码");
const QString kGradeSalary = QStringLiteral("zwdjdtb.等级工资");
const QString kErrorTitle = QStringLiteral("错误提示");

QTableView *makeGrid(WindowedRows *model, QWidget *parent)
{
    auto *grid = new StripedGrid(parent);
    grid->setModel(model);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

// Opens the grid's rows; the model reads them a window at a time as the grid scrolls.
void openRows(QTableView *grid, const QSqlDatabase &db, const windowed::Listing &listing)
{
    static_cast<WindowedRows *>(grid->model())->open(db, listing);
    grid->setColumnWidth(0, 60);
}
}  // namespace

Tfrmzglr::Tfrmzglr(ScreenHost &host) : FunctionScreen(host, "Tfrmzglr")
{
    departments_ = new WindowedRows({QStringLiteral("编号"), QStringLiteral("单位名称")}, this);
    employees_ = new WindowedRows({QStringLiteral("编码"), QStringLiteral("职工姓名")}, this);

    detail_ = new DetailPanel(edit::makeControl);
    resume_ = new QPlainTextEdit;
    resume_->setObjectName(staff::kResumeColumn);
    // Browse mode disables the panel; its values must stay readable.
    detail_->setStyleSheet("QLineEdit:disabled, QComboBox:disabled { color: black; }");
    pages_ = new QTabWidget(this);
    pages_->addTab(detail_->scrolling(), QStringLiteral("个人信息"));
    pages_->addTab(resume_, QStringLiteral("个人简历"));

    auto *body = new QHBoxLayout;
    body->addWidget(buildLists());
    body->addWidget(pages_, 1);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 6);
    column->addWidget(makeTitleStrip(QStringLiteral("  职工花名册 >> 职工基本情况编辑"), this));
    column->addLayout(body, 1);
    column->addWidget(buildButtonBar());
    bar_->enable(lists_, edit::ModeBar::When::Browsing);
    bar_->enable(detail_, edit::ModeBar::When::ReadOnlyWhileBrowsing);
    bar_->enable(detail_->control(kCode), edit::ModeBar::When::Adding);
    connect(bar_, &edit::ModeBar::modeChanged, this, [this](Mode mode) { resume_->setReadOnly(mode == Mode::Browse); });
    resize(host.workArea()->size().boundedTo(QSize(1180, 780)));

    connect(detail_->photo(), &PhotoBox::doubleClicked, this, &Tfrmzglr::choosePhoto);
    auto *code = static_cast<QLineEdit *>(detail_->control(kCode));
    connect(code, &QLineEdit::editingFinished, this, [code] { code->setText(staff::normalizedCode(code->text())); });
    auto *grade = static_cast<QComboBox *>(detail_->control(kGrade));
    connect(grade, &QComboBox::activated, this, [this, grade] {
        try {
            edit::setValue(detail_->control(kGradeSalary),
                           staff::standardGradeSalary(this->host().database(), grade->currentData().toString()));
        } catch (const sql::Failure &e) {
            failure_message::show(this, e, {.reading = true});
        }
    });
    connect(static_cast<QComboBox *>(detail_->control(kWorkType)), &QComboBox::currentIndexChanged, this,
            &Tfrmzglr::refillTitles);

    try {
        for (const Field &f : staff::detailFields())
            if (f.kind == edit::Kind::CodeList && f.filterField.isEmpty())
                edit::fillCodeList(static_cast<QComboBox *>(detail_->control(f.key())),
                                   code_items::codeItems(host.database(), f.listTable()));
        openRows(departmentGrid_, host.database(), staff::departments());
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.reading = true});
    }
    connect(departmentGrid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &Tfrmzglr::showDepartment);
    connect(employeeGrid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &Tfrmzglr::showEmployee);
    setMode(Mode::Browse);
    if (departments_->rowCount() > 0)
        departmentGrid_->selectRow(0);
    else
        showDepartment();
}

QWidget *Tfrmzglr::buildLists()
{
    lists_ = new QWidget(this);
    lists_->setFixedWidth(230);
    auto *column = new QVBoxLayout(lists_);
    column->setContentsMargins(0, 0, 0, 0);
    const auto addList = [&](const QString &heading, QTableView *grid, const QString &name) {
        auto *head = new QHBoxLayout;
        head->addWidget(new QLabel(heading, lists_), 1);
        for (const auto &[arrow, delta] : {std::pair{QStringLiteral("▲"), -1}, std::pair{QStringLiteral("▼"), 1}}) {
            auto *b = new QPushButton(arrow, lists_);
            b->setObjectName(name + (delta < 0 ? "Up" : "Down"));
            b->setFixedWidth(28);
            connect(b, &QPushButton::clicked, this, [this, grid, delta] { step(grid, delta); });
            head->addWidget(b);
        }
        column->addLayout(head);
        column->addWidget(grid, 1);
    };
    // Finds in the whole register and goes to the employee's department.
    auto *find = new SearchBar(this);
    connect(find, &SearchBar::textEdited, this, &Tfrmzglr::findEmployee);
    column->addWidget(find);
    departmentGrid_ = makeGrid(departments_, lists_);
    employeeGrid_ = makeGrid(employees_, lists_);
    addList(QStringLiteral("部门信息"), departmentGrid_, "department");
    addList(QStringLiteral("员工信息"), employeeGrid_, "employee");
    return lists_;
}

QWidget *Tfrmzglr::buildButtonBar()
{
    using edit::Action;
    bar_ = new edit::ModeBar({{Action::Add, "添加", [this] { add(); }},
                              {Action::Delete, "删除", [this] { remove(); }},
                              {Action::Return, "返回", [this] { close(); }},
                              {Action::Save, "保存", [this] { save(); }},
                              {Action::Ignore, "忽略", [this] { cancel(); }},
                              {Action::Modify, "修改", [this] { edit(); }}},
                             {.minimumWidth = 80}, this);
    auto *row = new QWidget(this);
    buttonRow_ = new QHBoxLayout(row);
    buttonRow_->setContentsMargins(0, 0, 0, 0);
    buttonRow_->addWidget(bar_, 1);
    return row;
}

QPushButton *Tfrmzglr::addBrowsingButton(const QString &caption, const std::function<void()> &act)
{
    auto *b = new QPushButton(caption, this);
    connect(b, &QPushButton::clicked, this, act);
    bar_->enable(b, edit::ModeBar::When::Browsing);
    b->setEnabled(mode() == Mode::Browse);
    buttonRow_->addWidget(b);
    return b;
}

QPushButton *Tfrmzglr::button(const QString &caption) const
{
    for (QPushButton *b : findChildren<QPushButton *>())
        if (b->objectName() == caption || b->text() == caption)
            return b;
    return nullptr;
}

void Tfrmzglr::showDepartment()
{
    const QModelIndex current = departmentGrid_->currentIndex();
    const QString department = current.isValid() ? departments_->value(current.row(), 0).toString() : QString();
    try {
        openRows(employeeGrid_, host().database(), staff::departmentEmployees(department));
    } catch (const sql::Failure &e) {
        employees_->clear();
        failure_message::show(this, e, {.reading = true});
    }
    if (employees_->rowCount() > 0)
        employeeGrid_->selectRow(0);
    else
        showEmployee();
    bar_->setRowShown(employees_->rowCount() > 0);
}

void Tfrmzglr::showEmployee()
{
    const QModelIndex current = employeeGrid_->currentIndex();
    std::optional<staff::EmployeeRecord> record;
    if (current.isValid() && employees_->rowCount() > 0) {
        try {
            record = staff::loadEmployee(host().database(), employees_->value(current.row(), 0).toString());
        } catch (const sql::Failure &e) {
            failure_message::show(this, e, {.reading = true});
        }
    }
    showRecord(record.value_or(staff::EmployeeRecord{}));
}

void Tfrmzglr::showRecord(const staff::EmployeeRecord &record)
{
    record_ = record;
    // The work type first, so the title list offers that type's titles.
    edit::setValue(detail_->control(kWorkType), record.value(kWorkType));
    refillTitles();
    for (auto it = detail_->controls().cbegin(); it != detail_->controls().cend(); ++it)
        if (it.key() != kWorkType)
            edit::setValue(it.value(), record.value(it.key()));
    resume_->setPlainText(record.value(staff::kResumeColumn));
    photo_ = record.value(staff::kPhotoColumn);
    detail_->photo()->showPhoto(photo_);
}

staff::EmployeeRecord Tfrmzglr::recordFromControls() const
{
    staff::EmployeeRecord record;
    if (mode() == Mode::Editing) {
        record.entryRowIds = record_.entryRowIds;
        record.asRead = record_.asRead;
    }
    for (auto it = detail_->controls().cbegin(); it != detail_->controls().cend(); ++it)
        record.values.insert(it.key(), edit::valueOf(it.value()));
    record.values.insert(staff::kResumeColumn, resume_->toPlainText());
    record.values.insert(staff::kPhotoColumn, photo_);
    return record;
}

void Tfrmzglr::refillTitles()
{
    auto *titles = static_cast<QComboBox *>(detail_->control(kTitle));
    const QString chosen = edit::valueOf(titles);
    const Field *title = staff::findField(kTitle);
    try {
        edit::fillCodeList(titles, code_items::codeItems(host().database(), title->listTable(),
                                                         {title->filterColumn, edit::valueOf(detail_->control(kWorkType))}));
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.reading = true});
    }
    edit::setValue(titles, chosen);  // kept only when the new type offers it
}

void Tfrmzglr::setMode(Mode mode) { bar_->setMode(mode); }

void Tfrmzglr::findEmployee(const QString &text)
{
    std::optional<staff::FoundEmployee> found;
    try {
        found = staff::findEmployee(host().database(), text);
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.reading = true});
    }
    if (!found)
        return;
    const auto rowOf = [](const WindowedRows *rows, const QString &code) {
        for (int r = 0; r < rows->rowCount(); ++r)
            if (rows->value(r, 0).toString() == code)
                return r;
        return -1;
    };
    const int department = rowOf(departments_, found->department);
    if (department < 0)
        return;
    if (departmentGrid_->currentIndex().row() != department)
        departmentGrid_->selectRow(department);
    if (const int employee = rowOf(employees_, found->code); employee >= 0) {
        employeeGrid_->selectRow(employee);
        employeeGrid_->scrollTo(employees_->index(employee, 0));
    }
}

void Tfrmzglr::step(QTableView *grid, int delta)
{
    const int row = grid->currentIndex().row() + delta;
    if (row >= 0 && row < grid->model()->rowCount())
        grid->selectRow(row);
}

void Tfrmzglr::add()
{
    setMode(Mode::Adding);
    showRecord({});
    pages_->setCurrentIndex(0);
    detail_->control(kCode)->setFocus();
}

void Tfrmzglr::edit()
{
    if (record_.code().isEmpty())
        return;
    setMode(Mode::Editing);
}

void Tfrmzglr::save()
{
    // As if the operator had left the code field.
    auto *code = static_cast<QLineEdit *>(detail_->control(kCode));
    code->setText(staff::normalizedCode(code->text()));
    QString message;
    try {
        message = staff::saveEmployee(host().database(), recordFromControls(), mode() == Mode::Adding);
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.title = kErrorTitle});
        return;
    }
    if (!message.isEmpty()) {
        prompt::ask(kErrorTitle, message, false, this);
        return;
    }
    setMode(Mode::Browse);
    showDepartment();
}

void Tfrmzglr::cancel()
{
    setMode(Mode::Browse);
    showEmployee();
}

void Tfrmzglr::remove()
{
    if (record_.code().isEmpty())
        return;
    if (prompt::ask(QStringLiteral("删除提示"), QStringLiteral("确定要删除本员工信息吗？"), true, this) != prompt::Ok)
        return;
    const QString refused = QStringLiteral("由于本员工信息无法删除！");
    try {
        if (staff::removeEmployee(host().database(), record_.code()) == staff::Removal::InUse) {
            prompt::ask(QStringLiteral("错误信息"), refused, false, this);
            return;
        }
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.refusal = refused});
        return;
    }
    showDepartment();
}

void Tfrmzglr::choosePhoto()
{
    if (mode() == Mode::Browse)
        return;
    Tfrmzpxz picker(this);
    if (picker.exec() != QDialog::Accepted)
        return;
    photo_ = QFileInfo(picker.selectedPath()).fileName();
    detail_->photo()->showPhoto(photo_);
}
