#include "records/personal_events_screen.h"

#include "app/failure_message.h"
#include "app/striped_grid.h"
#include "db/sql.h"
#include "records/attendance.h"
#include "app/date_range_boxes.h"
#include "records/employee_header.h"
#include "records/employee_search_panel.h"
#include "records/rewards.h"
#include "reports/grid_report.h"
#include "reports/print_preview.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const int kCardsPerRow = 3;

}  // namespace

PersonalEventsScreen::PersonalEventsScreen(ScreenHost &host, const Kind &kind)
    : FunctionScreen(host, kind.className), kind_(kind)
{
    search_ = new EmployeeSearchPanel(host.database(), {kind.employees, EmployeeSearchPanel::Arrows::Active}, this);
    header_ = new EmployeeHeader(this);
    dates_ = new DateRangeBoxes(this);

    grid_ = new StripedGrid(this);
    model_ = new RowsModel({}, grid_);  // titled by the listing
    grid_->setModel(model_);

    auto *bar = new QHBoxLayout;
    auto *print = new QPushButton(QStringLiteral("打印"), this);
    auto *back = new QPushButton(QStringLiteral("返回"), this);
    connect(print, &QPushButton::clicked, this, &PersonalEventsScreen::print);
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    bar->addStretch();
    bar->addWidget(print);
    bar->addWidget(back);

    QVBoxLayout *right = layOutSearchScreen(this, kind.titleBar, search_, header_);
    right->addWidget(dates_);
    right->addWidget(grid_, 1);
    if (kind.cards) {
        summary_ = new QGroupBox(QStringLiteral("考勤统计"), this);
        cardGrid_ = new QGridLayout(summary_);
        right->addWidget(summary_);
    }
    right->addLayout(bar);
    resize(host.workArea()->size().boundedTo(QSize(1000, 700)));

    connect(dates_, &DateRangeBoxes::rangeChosen, this, &PersonalEventsScreen::reload);
    connect(search_, &EmployeeSearchPanel::employeeChanged, this, &PersonalEventsScreen::reload);
    search_->start();
}

void PersonalEventsScreen::reload()
{
    const QString code = search_->currentCode();
    header_->showEmployee(code, search_->currentName());
    QList<QPair<QString, QString>> cards;
    try {
        const QSqlDatabase db = host().database();
        // Read with nobody chosen too: no rows, but the grid's titles.
        const records::Listing listing = kind_.rows(db, code, dates_->from(), dates_->to());
        model_->setRows(listing.titles, listing.rows);
        model_->setMeasuredColumns(listing.measuredColumns);
        if (kind_.cards && !code.isEmpty())
            for (const records::AttendanceTotal &t : records::employeeAttendanceTotals(db, code, dates_->from(), dates_->to()))
                cards.append({t.kind, records::hoursText(t.hours)});
    } catch (const sql::Failure &e) {
        model_->setRows({});
        failure_message::show(this, e, {.reading = true});
    }
    if (kind_.cards)
        showCards(cards);
}

QList<QPair<QString, QString>> PersonalEventsScreen::cards() const { return cards_; }

void PersonalEventsScreen::showCards(const QList<QPair<QString, QString>> &cards)
{
    while (QLayoutItem *item = cardGrid_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    cards_ = cards;
    for (int i = 0; i < cards.size(); ++i) {
        auto *card = new QFrame(summary_);
        card->setFrameShape(QFrame::StyledPanel);
        card->setStyleSheet("QFrame { background: #f4f8ec; }");
        auto *line = new QHBoxLayout(card);
        line->addWidget(new QLabel(cards[i].first, card));
        line->addStretch();
        auto *hours = new QLabel(cards[i].second + QStringLiteral(" 小时"), card);
        hours->setStyleSheet("color: navy;");
        line->addWidget(hours);
        cardGrid_->addWidget(card, i / kCardsPerRow, i % kCardsPerRow);
    }
}

void PersonalEventsScreen::print()
{
    QString subtitle = QStringLiteral("%1 %2　%3").arg(search_->currentCode(), search_->currentName(), dates_->text());
    QStringList totals;
    for (const auto &[kind, hours] : cards_)
        totals << QStringLiteral("%1 %2 小时").arg(kind, hours);
    if (!totals.isEmpty())
        subtitle += QStringLiteral("　合计：") + totals.join(QStringLiteral("，"));
    report::preview(report::layoutGrid(objectName(), kind_.printedTitle, subtitle, *model_), this);
}

Tfrmjcqktj::Tfrmjcqktj(ScreenHost &host)
    : PersonalEventsScreen(host, {"Tfrmjcqktj", QStringLiteral("  人事资料记录卡 >> 个人奖惩情况统计"),
                                  QStringLiteral("个人奖惩情况统计"), records::ListBase::AllEmployees,
                                  records::employeeRewards, false})
{
}

Tfrmkqqktj::Tfrmkqqktj(ScreenHost &host)
    : PersonalEventsScreen(host, {"Tfrmkqqktj", QStringLiteral("  人事资料记录卡 >> 个人考勤情况统计"),
                                  QStringLiteral("个人考勤情况统计"), records::ListBase::CurrentDepartment,
                                  records::employeeAttendance, true})
{
}
