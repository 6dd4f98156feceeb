#include "records/employee_search_panel.h"

#include "app/failure_message.h"
#include "app/search_bar.h"
#include "app/striped_grid.h"
#include "app/title_strip.h"
#include "db/code_items.h"
#include "db/sql.h"
#include "db/windowed_rows.h"
#include "records/employee_header.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kAllDepartments = QStringLiteral("所有部门");

void reportFailure(QWidget *parent, const sql::Failure &e)
{
    failure_message::show(parent, e, {.reading = true});
}

}  // namespace

EmployeeSearchPanel::EmployeeSearchPanel(const QSqlDatabase &db, Options options, QWidget *parent)
    : QWidget(parent), db_(db), options_(options)
{
    setObjectName("employeeSearch");
    auto *criteria = new QGroupBox(QStringLiteral("查找条件"), this);
    auto *form = new QFormLayout(criteria);
    department_ = new QComboBox(criteria);
    // Ctrl+F applies on the whole screen the panel is part of.
    find_ = new SearchBar(parent ? parent : this);
    form->addRow(QStringLiteral("部门名称"), department_);
    form->addRow(find_);
    if (options_.arrows != Arrows::Absent) {
        auto *arrows = new QHBoxLayout;
        arrows->addStretch();
        up_ = new QPushButton(QStringLiteral("▲"), criteria);
        down_ = new QPushButton(QStringLiteral("▼"), criteria);
        for (QPushButton *b : {up_, down_}) {
            b->setFixedWidth(32);
            arrows->addWidget(b);
        }
        form->addRow(arrows);
        if (options_.arrows == Arrows::Active) {
            connect(up_, &QPushButton::clicked, this, [this] { step(-1); });
            connect(down_, &QPushButton::clicked, this, [this] { step(1); });
        }
    }

    auto *people = new QGroupBox(QStringLiteral("职工信息"), this);
    list_ = new StripedGrid(people);
    model_ = new WindowedRows({QStringLiteral("编码"), QStringLiteral("职工姓名")}, this);
    list_->setModel(model_);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->verticalHeader()->hide();
    (new QVBoxLayout(people))->addWidget(list_);
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &EmployeeSearchPanel::announce);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(criteria);
    column->addWidget(people, 1);
    setFixedWidth(230);

    connect(department_, &QComboBox::activated, this, &EmployeeSearchPanel::search);
    connect(find_, &SearchBar::textEdited, this, &EmployeeSearchPanel::narrow);
}

QLineEdit *EmployeeSearchPanel::findBox() const { return find_->box(); }

void EmployeeSearchPanel::start()
{
    department_->clear();
    department_->addItem(kAllDepartments);
    try {
        for (const code_items::Item &item : code_items::codeItems(db_, QStringLiteral("dwdmb")))
            department_->addItem(item.code + ' ' + item.name, item.code);
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.reading = true});
    }
    department_->setCurrentIndex(0);
    search();
}

void EmployeeSearchPanel::search()
{
    records::EmployeeSearch wanted;
    wanted.department = department_->currentData().toString();  // "所有部门" carries none
    {
        // One announcement for the new list, not one for the reset and one for the first row.
        const QSignalBlocker quiet(list_->selectionModel());
        try {
            model_->open(db_, records::searchListing(db_, options_.base, wanted));
        } catch (const sql::Failure &e) {
            model_->clear();
            failure_message::show(this, e, {.reading = true});
        }
        list_->setColumnWidth(0, 64);
        if (model_->rowCount() > 0)
            list_->selectRow(0);
    }
    announce();
}

void EmployeeSearchPanel::narrow(const QString &text)
{
    {
        const QSignalBlocker quiet(list_->selectionModel());
        try {
            model_->setSearch(text);  // kept for the department chosen next
        } catch (const sql::Failure &e) {
            reportFailure(this, e);
        }
        if (model_->rowCount() > 0)
            list_->selectRow(0);
    }
    announce();
}

QString EmployeeSearchPanel::currentCode() const
{
    const QModelIndex current = list_->currentIndex();
    return current.isValid() ? model_->value(current.row(), 0).toString() : QString();
}

QString EmployeeSearchPanel::currentName() const
{
    const QModelIndex current = list_->currentIndex();
    return current.isValid() ? model_->value(current.row(), 1).toString() : QString();
}

void EmployeeSearchPanel::step(int delta)
{
    const int row = list_->currentIndex().row() + delta;
    if (row >= 0 && row < model_->rowCount())
        list_->selectRow(row);
}

void EmployeeSearchPanel::announce()
{
    emit employeeChanged(currentCode(), currentName());
}

QVBoxLayout *layOutSearchScreen(QWidget *screen, const QString &title, EmployeeSearchPanel *panel,
                                EmployeeHeader *header)
{
    auto *right = new QVBoxLayout;
    right->addWidget(header);
    auto *body = new QHBoxLayout;
    body->addWidget(panel);
    body->addLayout(right, 1);
    auto *column = new QVBoxLayout(screen);
    column->setContentsMargins(2, 2, 2, 6);
    column->addWidget(makeTitleStrip(title, screen));
    column->addLayout(body, 1);
    return right;
}
