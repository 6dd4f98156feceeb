#include "records/record_card_screen.h"

#include "app/notify.h"
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

StripedGrid *cardGrid(RowsModel *model, QWidget *parent)
{
    auto *grid = new StripedGrid(parent);
    grid->setModel(model);
    grid->verticalHeader()->hide();
    return grid;
}

}  // namespace

Tfrmygrsjlk::Tfrmygrsjlk(ScreenHost &host) : FunctionScreen(host, "Tfrmygrsjlk")
{
    host.toggleNavigator();
    search_ = new EmployeeSearchPanel(host.database(), {records::ListBase::CurrentDepartment, EmployeeSearchPanel::Arrows::Active}, this);
    header_ = new EmployeeHeader(this);
    date_ = new QDateEdit(clock_source::today(), this);
    date_->setObjectName("cardDate");
    date_->setCalendarPopup(true);
    date_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    header_->row()->addWidget(new QLabel(QStringLiteral("截止日期"), this));
    header_->row()->addWidget(date_);

    skills_ = new RowsModel({}, this);
    rewards_ = new RowsModel({}, this);
    attendance_ = new RowsModel({}, this);
    skillGrid_ = cardGrid(skills_, this);
    rewardsGrid_ = cardGrid(rewards_, this);
    attendanceGrid_ = cardGrid(attendance_, this);

    auto *right = new QSplitter(Qt::Vertical, this);
    right->addWidget(rewardsGrid_);
    right->addWidget(attendanceGrid_);
    body_ = new QSplitter(Qt::Horizontal, this);
    body_->setChildrenCollapsible(false);
    skillGrid_->setMinimumWidth(kNarrowestSkills);
    body_->addWidget(skillGrid_);
    body_->addWidget(right);
    body_->setStretchFactor(1, 1);

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
    records::CardGrid skills, rewards, attendance;
    if (!code.isEmpty()) {
        const QSqlDatabase db = host().database();
        try {
            skills = records::skillGrades(db, code);
            rewards = records::rewardsAndPunishments(db, code);
            records::rebuildYearlyAttendance(db, code, shownYear_);
            attendance = records::yearlyAttendance(db);
        } catch (const sql::Failure &e) {
            notify::show(this, notify::Kind::Error, QStringLiteral("错误信息"), e.message());
        }
    }
    skills_->setRows(skills.titles, skills.rows);
    rewards_->setRows(rewards.titles, rewards.rows);
    attendance_->setRows(attendance.titles, attendance.rows);
    if (attendance_->columnCount() > 0) {
        attendanceGrid_->setColumnWidth(0, 50);
        for (int c = 1; c < attendance_->columnCount(); ++c)
            attendanceGrid_->setColumnWidth(c, 40);
    }
}

void Tfrmygrsjlk::print()
{
    const QString subtitle = QStringLiteral("职工编号：%1　职工姓名：%2").arg(header_->code(), header_->name());
    const QString years = QStringLiteral("考勤情况（%1年至%2年，小时）").arg(shownYear_ - 9).arg(shownYear_);
    report::preview(report::layoutGrids(objectName(), subtitle,
                                        {{QStringLiteral("员工人事资料记录卡——岗位技能档次"), skills_},
                                         {QStringLiteral("员工人事资料记录卡——奖惩情况"), rewards_},
                                         {QStringLiteral("员工人事资料记录卡——") + years, attendance_}}),
                    this);
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
    host().toggleNavigator();
    FunctionScreen::closeEvent(event);
}
