#include "records/company_events_screen.h"

#include "app/failure_message.h"
#include "app/grid_export.h"
#include "app/search_bar.h"
#include "app/striped_grid.h"
#include "app/title_strip.h"
#include "db/clock.h"
#include "db/sorted_query_model.h"
#include "db/sql.h"
#include "export/xlsx_export.h"
#include "records/company_attendance.h"
#include "app/date_range_boxes.h"
#include "reports/grid_report.h"
#include "reports/print_preview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CompanyEventsScreen::CompanyEventsScreen(ScreenHost &host, const QString &className, const QString &titleBar,
                                         const QString &sortCaption)
    : FunctionScreen(host, className, Reenable::ByReturnButton), printedTitle_(titleBar.section(QStringLiteral(">>"), -1).trimmed())
{
    setGeometry(host.workArea()->rect());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeTitleStrip(titleBar, this));

    auto *toolbar = new QHBoxLayout;
    toolbar->setContentsMargins(6, 4, 6, 4);
    auto *caption = new QLabel(QStringLiteral("统计表"), this);
    caption->setStyleSheet("font-size: 15px; font-weight: bold;");
    toolbar->addWidget(caption);
    const QDate today = clock_source::today();
    dates_ = new DateRangeBoxes(QStringLiteral("截止日期"), QStringLiteral("截止日期"), QDate(today.year(), 1, 1), today, this);
    toolbar->addWidget(dates_, 1);
    auto *print = new QPushButton(QStringLiteral("打印"), this);
    sort_ = new QPushButton(sortCaption, this);
    auto *back = new QPushButton(QStringLiteral("返回"), this);
    connect(print, &QPushButton::clicked, this, &CompanyEventsScreen::print);
    connect(back, &QPushButton::clicked, this, &CompanyEventsScreen::returnToMainWindow);
    for (QPushButton *b : {print, sort_, back}) {
        b->setMinimumWidth(90);
        toolbar->addWidget(b);
    }
    layout->addLayout(toolbar);

    grid_ = new StripedGrid(this);
    layout->addWidget(new SearchBar(this, {grid_}));
    layout->addWidget(grid_, 1);
    connect(dates_, &DateRangeBoxes::rangeChosen, this, &CompanyEventsScreen::start);
}

void CompanyEventsScreen::start()
{
    // The workbook says which dates it covers, as the printout does.
    grid_export::setExportTitle(*grid_, printedTitle_ + ' ' + dates_->text());
    build();
}

void CompanyEventsScreen::print()
{
    report::preview(report::layoutGrid(objectName(), printedTitle_, dates_->text(), *grid_->model()), this);
}

Tfrmgsjctjb::Tfrmgsjctjb(ScreenHost &host)
    : CompanyEventsScreen(host, "Tfrmgsjctjb", QStringLiteral("  人事资料记录卡 >> 公司奖惩情况统计"), QStringLiteral("按职工排序"))
{
    model_ = new RowsModel({}, grid());  // titled by the listing
    grid()->setModel(model_);
    connect(sortButton(), &QPushButton::clicked, this, &Tfrmgsjctjb::toggleOrder);
    start();
}

void Tfrmgsjctjb::build()
{
    try {
        const records::Listing listing = records::companyRewards(host().database(), dates()->from(), dates()->to(), order_);
        model_->setRows(listing.titles, listing.rows);
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.reading = true});
    }
    if (model_->rowCount() > 0)
        grid()->selectRow(0);
}

void Tfrmgsjctjb::toggleOrder()
{
    const bool byDate = order_ == records::RewardOrder::ByDate;
    order_ = byDate ? records::RewardOrder::ByEmployee : records::RewardOrder::ByDate;
    sortButton()->setText(byDate ? QStringLiteral("按时间排序") : QStringLiteral("按员工排序"));
    grid()->clearSort();  // the button's order replaces a column's
    build();
}

Tfrmgskqtjb::Tfrmgskqtjb(ScreenHost &host)
    : CompanyEventsScreen(host, "Tfrmgskqtjb", QStringLiteral("  人事资料记录卡 >> 公司考勤情况统计"), QStringLiteral("按职工排序"))
{
    model_ = new SortedQueryModel(this);
    grid()->setModel(model_);
    sortButton()->setEnabled(false);
    sortButton()->setToolTip(QStringLiteral("统计表已按职工编码排列"));
    start();
}

void Tfrmgskqtjb::build()
{
    const QSqlDatabase db = host().database();
    model_->clear();  // the grid's reading would keep the table from being replaced
    host().setWaitBoxVisible(true);
    try {
        records::rebuildCompanyAttendance(db, dates()->from(), dates()->to());
    } catch (const sql::Failure &e) {
        host().setWaitBoxVisible(false);
        failure_message::show(this, e, {.title = QStringLiteral("统计失败"), .lead = failure_text::kNotRebuilt});
    }
    host().setWaitBoxVisible(false);
    showTable();
}

void Tfrmgskqtjb::showTable()
{
    const QSqlDatabase db = host().database();
    try {
        model_->setQuery(records::companyAttendanceQuery(db), db);
        const QStringList titles = records::companyAttendanceTitles(db);
        for (int c = 0; c < titles.size(); ++c) {
            model_->setHeaderData(c, Qt::Horizontal, titles[c]);
            model_->setHeaderData(c, Qt::Horizontal, c >= 2, xlsx::kMeasuredColumnRole);  // hours as stored
        }
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.reading = true});
        return;
    }
    // Each kind's column as wide as nine digits, once the grid has fitted the others.
    QMetaObject::invokeMethod(
        this,
        [this] {
            const int width = grid()->fontMetrics().horizontalAdvance(QLatin1Char('2')) * 9;
            for (int c = 2; c < model_->columnCount(); ++c)
                grid()->setColumnWidth(c, width);
        },
        Qt::QueuedConnection);
    if (model_->rowCount() > 0)
        grid()->selectRow(0);
}
