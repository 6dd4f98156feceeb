#include "query/basic_situation_screen.h"

#include "app/notify.h"
#include "app/prompt.h"
#include "app/title_strip.h"
#include "db/sql.h"
#include "query/basic_situation.h"
#include "query/condition_dialog.h"
#include "reports/print_preview.h"
#include "staff/roster_report.h"
#include "app/striped_grid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QVBoxLayout>
#include <memory>

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
    title_->setMaxLength(40);
    bar->addWidget(title_);
    addButton(QStringLiteral("打印花名册"), &Tfrmzgjbqkcx::printRoster);
    bar->addStretch();
    addButton(QStringLiteral("返回"), &QWidget::close);
    layout->addLayout(bar);

    grid_ = new StripedGrid(this);
    model_ = new QSqlQueryModel(this);
    grid_->setModel(model_);
    layout->addWidget(grid_, 1);
    showList({});
}

void Tfrmzgjbqkcx::showList(const query::Condition &condition)
{
    try {
        model_->setQuery(query::basicSituationQuery(host().database(), condition));
    } catch (const sql::Failure &e) {
        notify::show(this, notify::Kind::Error, QStringLiteral("查询失败"), e.message());
        return;
    }
    condition_ = condition;
    const auto &columns = query::basicSituationColumns();
    for (size_t i = 0; i < columns.size(); ++i)
        model_->setHeaderData(int(i), Qt::Horizontal, columns[i].title);
    grid_->selectRow(0);
}

void Tfrmzgjbqkcx::askCondition()
{
    std::unique_ptr<Tfrmzgcx> dialog;
    try {
        dialog = std::make_unique<Tfrmzgcx>(host().database(), host().workArea());
    } catch (const sql::Failure &e) {
        notify::show(this, notify::Kind::Error, QStringLiteral("查询失败"), e.message());
        return;
    }
    if (dialog->exec() == QDialog::Accepted)
        showList(dialog->condition());
}

void Tfrmzgjbqkcx::showDetails()
{
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid()) {
        prompt::ask(QStringLiteral("错误提示"), QStringLiteral("列表中没有可以显示的员工！"), false, this);
        return;
    }
    host().openWindow("Tfrmgrxxzl", model_->record(current.row()).value("职工编码").toString());
}

void Tfrmzgjbqkcx::printRoster()
{
    try {
        // The rows now listed, under the typed title (none when the box is empty).
        report::preview(roster::layoutRoster("Trepcxxx", title_->text(),
                                             query::basicSituationRosterRows(host().database(), condition_)),
                        this);
    } catch (const sql::Failure &e) {
        notify::show(this, notify::Kind::Error, QStringLiteral("打印失败"), e.message());
    }
}
