#include "query/basic_situation_screen.h"

#include "app/character_limit.h"
#include "app/failure_message.h"
#include "app/prompt.h"
#include "app/search_bar.h"
#include "app/title_strip.h"
#include "db/sql.h"
#include "query/basic_situation.h"
#include "query/condition_list.h"
#include "reports/print_preview.h"
#include "reports/roster_form.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Tfrmzgjbqkcx::Tfrmzgjbqkcx(ScreenHost &host) : FunctionScreen(host, "Tfrmzgjbqkcx")
{
    setGeometry(host.workArea()->rect());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeTitleStrip(QStringLiteral("  职工花名册 >> 职工基本情况查询"), this));

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(6, 4, 6, 4);
    const auto addButton = [&](const QString &caption, auto slot) {
        auto *b = new QPushButton(caption, this);
        connect(b, &QPushButton::clicked, this, slot);
        bar->addWidget(b);
    };
    addButton(QStringLiteral("查询条件"), &Tfrmzgjbqkcx::askCondition);
    addButton(QStringLiteral("详细信息"), &Tfrmzgjbqkcx::showDetails);
    bar->addWidget(new QLabel(QStringLiteral("花名册名称"), this));
    title_ = new QLineEdit(this);
    character_limit::apply(title_, 40);
    bar->addWidget(title_);
    addButton(QStringLiteral("打印花名册"), &Tfrmzgjbqkcx::printRoster);
    bar->addStretch();
    addButton(QStringLiteral("返回"), &QWidget::close);
    layout->addLayout(bar);

    list_ = new ConditionList(host.database(), query::basicSituationListing, query::basicSituationColumns(), this);
    layout->addWidget(new SearchBar(this, {list_}));
    layout->addWidget(list_, 1);
    showList({});
}

WindowedRows *Tfrmzgjbqkcx::model() const { return list_->model(); }

void Tfrmzgjbqkcx::showList(const query::Condition &condition) { list_->showList(condition); }

void Tfrmzgjbqkcx::askCondition() { list_->askCondition(host().workArea()); }

void Tfrmzgjbqkcx::showDetails()
{
    const QString code = list_->currentValue("职工编码");
    if (code.isEmpty()) {
        prompt::ask(QStringLiteral("错误提示"), QStringLiteral("列表中没有可以显示的员工！"), false, this);
        return;
    }
    host().openWindow("Tfrmgrxxzl", code);
}

void Tfrmzgjbqkcx::printRoster()
{
    try {
        // The rows now listed, under the typed title (none when the box is empty), read as their
        // pages are produced; counting them takes a moment on a large register.
        host().setWaitBoxVisible(true);
        const report::Document document = roster::layoutRosterFromSource(
            "Trepcxxx", title_->text(), query::basicSituationRosterSource(host().database(), list_->condition()),
            list_->coverage());
        host().setWaitBoxVisible(false);
        report::preview(document, this);
    } catch (const sql::Failure &e) {
        host().setWaitBoxVisible(false);
        failure_message::show(this, e, {.title = QStringLiteral("打印失败"), .reading = true});
    }
}
