#include "records/personal_training_screen.h"

#include "app/failure_message.h"
#include "app/striped_grid.h"
#include "db/sorted_query_model.h"
#include "db/sql.h"
#include "records/employee_header.h"
#include "records/employee_search_panel.h"
#include "records/training.h"
#include "reports/grid_report.h"
#include "reports/print_preview.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

Tfrmgrpxjltj::Tfrmgrpxjltj(ScreenHost &host) : FunctionScreen(host, "Tfrmgrpxjltj")
{
    search_ = new EmployeeSearchPanel(host.database(), {records::ListBase::CurrentDepartment, EmployeeSearchPanel::Arrows::Absent}, this);
    header_ = new EmployeeHeader(this);
    grid_ = new StripedGrid(this);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setStretchLastSection(true);
    model_ = new SortedQueryModel(this);
    grid_->setModel(model_);

    auto *bar = new QHBoxLayout;
    for (const QString &caption : {QStringLiteral("打印"), QStringLiteral("返回")}) {
        auto *b = new QPushButton(caption, this);
        b->setMinimumWidth(80);
        bar->addWidget(b);
    }
    bar->addStretch();
    connect(button(QStringLiteral("打印")), &QPushButton::clicked, this, &Tfrmgrpxjltj::print);
    connect(button(QStringLiteral("返回")), &QPushButton::clicked, this, &QWidget::close);

    QVBoxLayout *right = layOutSearchScreen(this, QStringLiteral("  职工培训纪录 >> 职工个人培训情况统计"), search_, header_);
    right->addWidget(grid_, 1);
    right->addLayout(bar);
    resize(host.workArea()->size().boundedTo(QSize(1100, 720)));

    connect(search_, &EmployeeSearchPanel::employeeChanged, this, &Tfrmgrpxjltj::showEmployee);
    search_->start();
}

void Tfrmgrpxjltj::showEmployee(const QString &code, const QString &name)
{
    header_->showEmployee(code, name);
    try {
        if (code.isEmpty())
            model_->clear();
        else {
            model_->setQuery(records::training::employeeCourses(host().database(), code));
            markMeasuredColumns(*model_, records::training::kMeasuredTitles);
        }
    } catch (const sql::Failure &e) {
        model_->clear();
        failure_message::show(this, e, {.reading = true});
    }
    if (model_->rowCount() > 0)
        grid_->selectRow(0);
}

void Tfrmgrpxjltj::print()
{
    const QString subtitle = QStringLiteral("职工编号：%1  职工姓名：%2").arg(header_->code(), header_->name());
    report::preview(report::layoutGrid(objectName(), QStringLiteral("职工个人培训情况"), subtitle, *model_), this);
}
