#include "pay/employee_pay_screen.h"

#include "app/column_totals.h"
#include "app/date_range_boxes.h"
#include "app/failure_message.h"
#include "app/grid_export.h"
#include "app/period_boxes.h"
#include "app/striped_grid.h"
#include "db/sql.h"
#include "pay/pay_grids.h"
#include "pay/pay_sheets.h"
#include "records/employee_header.h"
#include "records/employee_search_panel.h"
#include "reports/grid_report.h"
#include "reports/layout.h"
#include "reports/print_preview.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

Tfrmzggzcx::Tfrmzggzcx(ScreenHost &host) : FunctionScreen(host, "Tfrmzggzcx")
{
    search_ = new EmployeeSearchPanel(host.database(), {records::ListBase::CurrentDepartment, EmployeeSearchPanel::Arrows::Inert}, this);
    header_ = new EmployeeHeader(this);

    auto *dates = new QHBoxLayout;
    auto *range = new DateRangeBoxes(this);
    dates->addWidget(range);
    from_ = range->fromBox();
    to_ = range->toBox();
    for (QDateEdit *box : {from_, to_})
        connect(box, &QDateEdit::dateChanged, this, &Tfrmzggzcx::reload);
    dates->addStretch();

    tabs_ = new QTabWidget(this);
    for (const pay::Sheet &s : pay::sheets()) {
        auto *grid = new StripedGrid(tabs_);
        auto *model = new RowsModel(QStringList{QStringLiteral("年月")} + s.amountColumns(), grid);
        pay::markMoneyColumns(*model);
        grid->setModel(model);
        grid->setTotalsShown(true);  // the range's totals
        tabs_->addTab(grid, QStringLiteral("            ") + s.tab.trimmed());
        grids_.push_back(grid);
        models_.push_back(model);
    }

    auto *bar = new QHBoxLayout;
    auto *print = new QPushButton(QStringLiteral("打印"), this);
    auto *back = new QPushButton(QStringLiteral("返回"), this);
    connect(print, &QPushButton::clicked, this, &Tfrmzggzcx::print);
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    bar->addWidget(print);
    bar->addWidget(back);
    bar->addStretch();

    QVBoxLayout *right = layOutSearchScreen(this, QStringLiteral(" 职工工资表 >> 职工工资查询"), search_, header_);
    right->addLayout(dates);
    right->addWidget(tabs_, 1);
    right->addLayout(bar);
    resize(host.workArea()->size().boundedTo(QSize(1000, 700)));

    connect(search_, &EmployeeSearchPanel::employeeChanged, this, &Tfrmzggzcx::reload);
    search_->start();
}

void Tfrmzggzcx::reload()
{
    const QString code = search_->currentCode();
    header_->showEmployee(code, search_->currentName());
    std::vector<pay::Grid> grids(models_.size());
    try {
        if (!code.isEmpty())
            grids = pay::employeeGrids(host().database(), code, from_->date(), to_->date());
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.reading = true});
    }
    for (size_t i = 0; i < models_.size(); ++i) {
        models_[i]->setRows(grids.at(i).rows);
        grids_[i]->resizeColumnsToContents();
        grid_export::setExportTitle(*grids_[i], QStringLiteral("职工工资查询 %1").arg(coverage()));
    }
}

QString Tfrmzggzcx::coverage() const
{
    return QStringLiteral("%1 %2 %3").arg(search_->currentCode(), search_->currentName(),
                                          report::dateRangeText(from_->date(), to_->date(), QStringLiteral("yyyy-MM-dd")));
}

void Tfrmzggzcx::print()
{
    const int tab = tabs_->currentIndex();
    const QString title = QStringLiteral("职工工资查询（%1）").arg(tabs_->tabText(tab).trimmed());
    RowsModel &model = *models_.at(size_t(tab));
    report::preview(report::layoutGrid(objectName(), title, coverage(), model, column_totals::printed(column_totals::totals(model))),
                    this);
}
