#include "pay/appraisal_list_screen.h"

#include "app/failure_message.h"
#include "app/search_bar.h"
#include "app/title_strip.h"
#include "db/sql.h"
#include "pay/appraisal_list.h"
#include "pay/grade_salary_detail.h"
#include "query/condition_list.h"
#include "query/detail_window.h"
#include "reports/grid_report.h"
#include "reports/print_preview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Tfrmndkhcx::Tfrmndkhcx(ScreenHost &host) : FunctionScreen(host, "Tfrmndkhcx")
{
    setGeometry(host.workArea()->rect());
    list_ = new ConditionList(host.database(), pay::appraisalListing, pay::appraisalListColumns(), this);

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(6, 4, 6, 4);
    const auto addButton = [&](const QString &caption, auto slot) {
        auto *b = new QPushButton(caption, this);
        b->setMinimumWidth(80);
        connect(b, &QPushButton::clicked, this, slot);
        bar->addWidget(b);
    };
    addButton(QStringLiteral("详细信息"), &Tfrmndkhcx::showDetails);
    addButton(QStringLiteral("查询条件"), [this] { list_->askCondition(this->host().workArea()); });
    addButton(QStringLiteral("打印"), &Tfrmndkhcx::print);
    bar->addStretch();
    addButton(QStringLiteral("返回"), &QWidget::close);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeTitleStrip(QStringLiteral(" 等级工资及年度考核 >> 等级工资及年度考核查询"), this));
    auto *label = new QLabel(QStringLiteral("花名册"), this);
    label->setContentsMargins(6, 2, 6, 0);
    layout->addWidget(label);
    layout->addLayout(bar);
    layout->addWidget(new SearchBar(this, {list_}));
    layout->addWidget(list_, 1);

    detail_ = new DetailWindow(list_, host, "TFrmzwdjxxxx", [](QWidget *window, const QString &code) {
        static_cast<TFrmzwdjxxxx *>(window)->showEmployee(code);
    });
    list_->showList({});
}

TFrmzwdjxxxx *Tfrmndkhcx::detailScreen() const { return qobject_cast<TFrmzwdjxxxx *>(detail_->window()); }

// With nobody listed the detail screen opens with empty grids.
void Tfrmndkhcx::showDetails() { detail_->open(list_->currentValue("职工编码")); }

void Tfrmndkhcx::print()
{
    // Every row the condition lists, not only those the grid has fetched so far.
    host().setWaitBoxVisible(true);
    try {
        const pay::Grid grid = pay::appraisalListGrid(host().database(), list_->condition());
        const report::Document document = report::layoutGrid(
            objectName(), QStringLiteral("员工等级（职务）工资变动及年度考核一览表"), list_->coverage(), grid.titles, grid.rows);
        host().setWaitBoxVisible(false);
        report::preview(document, this);
    } catch (const sql::Failure &e) {
        host().setWaitBoxVisible(false);
        failure_message::show(this, e, {.title = QStringLiteral("打印失败"), .reading = true});
    }
}
