#include "records/timeline_screen.h"

#include "app/failure_message.h"
#include "app/grid_export.h"
#include "app/notify.h"
#include "app/striped_grid.h"
#include "db/sorted_query_model.h"
#include "db/sql.h"
#include "records/employee_header.h"
#include "records/employee_search_panel.h"
#include "records/timeline.h"
#include "reports/print_preview.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

Tfrmgzdttj::Tfrmgzdttj(ScreenHost &host) : FunctionScreen(host, "Tfrmgzdttj")
{
    search_ = new EmployeeSearchPanel(host.database(), {records::ListBase::CurrentDepartment, EmployeeSearchPanel::Arrows::Inert}, this);
    header_ = new EmployeeHeader(this);

    grid_ = new StripedGrid(this);
    model_ = new SortedQueryModel(this);
    grid_->setModel(model_);
    grid_->horizontalHeader()->setStretchLastSection(true);

    auto *bar = new QHBoxLayout;
    // The first "打印" prints the timeline; the second builds it again.
    const std::vector<std::pair<QString, void (Tfrmgzdttj::*)()>> buttons = {
        {"print", &Tfrmgzdttj::print}, {"back", nullptr}, {"rebuild", &Tfrmgzdttj::showTimeline}};
    for (const auto &[name, action] : buttons) {
        auto *b = new QPushButton(name == "back" ? QStringLiteral("返回") : QStringLiteral("打印"), this);
        b->setObjectName(name);
        b->setMinimumWidth(80);
        if (action)
            connect(b, &QPushButton::clicked, this, action);
        else
            connect(b, &QPushButton::clicked, this, &QWidget::close);
        bar->addWidget(b);
    }
    bar->addStretch();

    QVBoxLayout *right = layOutSearchScreen(this, QStringLiteral("  人事资料记录卡 >> 个人工作动态统计"), search_, header_);
    right->addWidget(grid_, 1);
    right->addLayout(bar);
    grid_export::addScreenExportButton(*this, *findChild<QPushButton *>("print"), [this] { exportTimeline(); });
    resize(host.workArea()->size().boundedTo(QSize(1000, 700)));

    connect(search_, &EmployeeSearchPanel::employeeChanged, this, &Tfrmgzdttj::showTimeline);
    search_->start();
}

void Tfrmgzdttj::showTimeline()
{
    const QString code = search_->currentCode();
    header_->showEmployee(code, search_->currentName());
    try {
        records::rebuildTimeline(host().database(), code);
        model_->setQuery(records::timelineRows(host().database(), code));
    } catch (const sql::Failure &e) {
        model_->clear();
        failure_message::show(this, e, {.reading = true});
        return;
    }
    grid_->setColumnWidth(0, 100);
    if (model_->rowCount() > 0)
        grid_->selectRow(0);
}

void Tfrmgzdttj::rebuildIfChanged(const QString &title, const QString &action)
{
    // Another copy of the program may have built the work table for another employee since
    // this one was shown: built again first, so what is printed or exported is what the screen
    // shows.
    if (records::timelineHolds(host().database(), search_->currentCode()))
        return;
    showTimeline();
    notify::show(this, notify::Kind::Information, title,
                 QStringLiteral("工作动态统计表已被另一程序改动，已重新统计，%1的是重新统计的结果。").arg(action));
}

void Tfrmgzdttj::print()
{
    try {
        rebuildIfChanged(QStringLiteral("打印"), QStringLiteral("打印"));
        report::preview(records::printedTimeline(host().database(), search_->currentCode(), search_->currentName()), this);
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.title = QStringLiteral("打印失败"), .reading = true});
    }
}

void Tfrmgzdttj::exportTimeline()
{
    grid_export::exportGridAfter(*this, *grid_, [this] { rebuildIfChanged(QStringLiteral("导出Excel"), QStringLiteral("导出")); });
}
