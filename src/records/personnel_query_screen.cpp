#include "records/personnel_query_screen.h"

#include "app/prompt.h"
#include "app/search_bar.h"
#include "app/title_strip.h"
#include "query/condition_list.h"
#include "query/detail_window.h"
#include "records/personnel_query.h"
#include "records/work_dynamics_view.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

Tfrmzggzdtcx::Tfrmzggzdtcx(ScreenHost &host) : FunctionScreen(host, "Tfrmzggzdtcx")
{
    setGeometry(host.workArea()->rect());
    list_ = new ConditionList(host.database(), records::personnelRecordListing, records::personnelRecordColumns(), this);
    auto *frame = new QGroupBox(QStringLiteral("动态信息"), this);
    auto *listColumn = new QVBoxLayout(frame);
    listColumn->addWidget(new SearchBar(this, {list_}));
    listColumn->addWidget(list_);

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(6, 4, 6, 4);
    const auto addButton = [&](const QString &caption, auto slot) {
        auto *b = new QPushButton(caption, this);
        b->setMinimumWidth(80);
        connect(b, &QPushButton::clicked, this, slot);
        bar->addWidget(b);
    };
    addButton(QStringLiteral("详细信息"), &Tfrmzggzdtcx::showDetails);
    addButton(QStringLiteral("返回"), &QWidget::close);
    addButton(QStringLiteral("查询条件"), [this] { list_->askCondition(this->host().workArea()); });
    bar->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeTitleStrip(QStringLiteral("  人事资料记录卡 >> 人事资料查询"), this));
    layout->addLayout(bar);
    layout->addWidget(frame, 1);

    detail_ = new DetailWindow(list_, host, "Tfrmgzdtxxxx", [](QWidget *window, const QString &code) {
        static_cast<Tfrmgzdtxxxx *>(window)->showEmployee(code);
    });
    list_->showList({});
}

Tfrmgzdtxxxx *Tfrmzggzdtcx::detailView() const { return qobject_cast<Tfrmgzdtxxxx *>(detail_->window()); }

void Tfrmzggzdtcx::showDetails()
{
    const QString code = list_->currentValue("职工编码");
    if (code.isEmpty()) {
        prompt::ask(QStringLiteral("错误提示"), QStringLiteral("列表中没有可以显示的员工！"), false, this);
        return;
    }
    detail_->open(code);
}
