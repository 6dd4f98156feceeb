#include "records/record_card_screen.h"

#include "app/failure_message.h"
#include "app/period_boxes.h"
#include "app/striped_grid.h"
#include "db/clock.h"
#include "db/sql.h"
#include "records/employee_header.h"
#include "records/employee_search_panel.h"
#include "records/record_card.h"
#include "reports/grid_report.h"
#include "reports/print_preview.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

const QString kHideSearch = QStringLiteral("隐藏查找条件");
const QString kShowSearch = QStringLiteral("显示查找条件");
constexpr int kNarrowestSkills = 200;  // the skill-grade side never becomes narrower

}  // namespace

Tfrmygrsjlk::Tfrmygrsjlk(ScreenHost &host) : FunctionScreen(host, "Tfrmygrsjlk")
{
    navigatorWasShown_ = host.navigatorShown();
    host.setNavigatorShown(false);
    search_ = new EmployeeSearchPanel(host.database(), {records::ListBase::CurrentDepartment, EmployeeSearchPanel::Arrows::Active}, this);
    header_ = new EmployeeHeader(this);
    // The card follows the box's dateChanged (below), whether a date is picked, typed or set.
    date_ = makeDatePicker(clock_source::today(), this, [] {});
    date_->setObjectName("cardDate");
    header_->row()->addWidget(new QLabel(QStringLiteral("截止日期"), this));
    header_->row()->addWidget(date_);

    for (size_t i = 0; i < models_.size(); ++i) {
        models_[i] = new RowsModel({}, this);
        grids_[i] = new StripedGrid(this);
        grids_[i]->setModel(models_[i]);
        grids_[i]->verticalHeader()->hide();
    }

    auto *right = new QSplitter(Qt::Vertical, this);
    right->addWidget(grids_[1]);
    right->addWidget(grids_[2]);
    body_ = new QSplitter(Qt::Horizontal, this);
    body_->setChildrenCollapsible(false);
    grids_[0]->setMinimumWidth(kNarrowestSkills);
    body_->addWidget(grids_[0]);
    body_->addWidget(right);
    // The skill grades start at two fifths of the width.
    body_->setStretchFactor(0, 2);
    body_->setStretchFactor(1, 3);

    auto *bar = new QHBoxLayout;
    auto *toggle = new QPushButton(kHideSearch, this);
    auto *back = new QPushButton(QStringLiteral("返回"), this);
    auto *print = new QPushButton(QStringLiteral("打印"), this);
    connect(toggle, &QPushButton::clicked, this, [this, toggle] {
        const bool show = search_->isHidden();
        search_->setVisible(show);
        toggle->setText(show ? kHideSearch : kShowSearch);
    });
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    connect(print, &QPushButton::clicked, this, &Tfrmygrsjlk::print);
    for (QPushButton *b : {toggle, back, print}) {
        b->setMinimumWidth(90);
        bar->addWidget(b);
    }
    bar->addStretch();

    QVBoxLayout *column = layOutSearchScreen(this, QStringLiteral("  人事资料记录卡 >> 员工人事资料记录卡"), search_, header_);
    column->addWidget(body_, 1);
    column->addLayout(bar);
    // The card fills the work area, which grows once the navigator is gone.
    resize(host.workArea()->size());
    host.workArea()->installEventFilter(this);

    // Only the year matters to the card: other date changes leave kqtjb as it is.
    connect(date_, &QDateEdit::dateChanged, this, [this](const QDate &date) {
        if (date.year() != shownYear_)
            showCard();
    });
    connect(search_, &EmployeeSearchPanel::employeeChanged, this, &Tfrmygrsjlk::showCard);
    search_->start();
}

void Tfrmygrsjlk::showCard()
{
    const QString code = search_->currentCode();
    header_->showEmployee(code, search_->currentName());
    shownYear_ = date_->date().year();
    std::vector<records::CardGrid> card(models_.size());
    if (!code.isEmpty()) {
        try {
            card = records::recordCard(host().database(), code, shownYear_);
        } catch (const sql::Failure &e) {
            failure_message::show(this, e, {.reading = true});
        }
    }
    for (size_t i = 0; i < models_.size(); ++i) {
        models_[i]->setRows(card[i].titles, card[i].rows);
        if (!card[i].caption.isEmpty())
            captions_[i] = card[i].caption;
    }
    // The yearly hours, fractions as stored.
    QList<int> years;
    for (int c = 1; c < models_[2]->columnCount(); ++c)
        years << c;
    models_[2]->setMeasuredColumns(years);
    StripedGrid *attendance = grids_[2];
    for (int c = 0; c < models_[2]->columnCount(); ++c)
        attendance->setColumnWidth(c, c == 0 ? 50 : 40);
}

void Tfrmygrsjlk::print()
{
    const QString subtitle = QStringLiteral("职工编号：%1　职工姓名：%2").arg(header_->code(), header_->name());
    std::vector<report::GridPart> parts;
    for (size_t i = 0; i < models_.size(); ++i)
        parts.push_back({QStringLiteral("员工人事资料记录卡　") + captions_[i], models_[i]});
    report::preview(report::layoutGrids(objectName(), subtitle, parts), this);
}

bool Tfrmygrsjlk::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == host().workArea() && event->type() == QEvent::Resize)
        resize(host().workArea()->size());
    return FunctionScreen::eventFilter(watched, event);
}

void Tfrmygrsjlk::closeEvent(QCloseEvent *event)
{
    host().workArea()->removeEventFilter(this);
    host().setNavigatorShown(navigatorWasShown_);
    FunctionScreen::closeEvent(event);
}
