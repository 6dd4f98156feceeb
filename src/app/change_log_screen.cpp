#include "app/failure_message.h"
#include "app/change_log_screen.h"

#include "app/date_range_boxes.h"
#include "app/notify.h"
#include "app/prompt.h"
#include "app/screen_registry.h"
#include "app/striped_grid.h"
#include "app/title_strip.h"
#include "db/change_log.h"
#include "db/rights.h"
#include "db/sql.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("操作日志");
}

Tfrmczrz::Tfrmczrz(ScreenHost &host) : FunctionScreen(host, "Tfrmczrz")
{
    setGeometry(host.workArea()->rect());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeTitleStrip(QStringLiteral("  基础数据维护 >> 操作日志"), this));

    auto *filters = new QHBoxLayout;
    filters->setContentsMargins(6, 4, 6, 4);
    filters->addWidget(new QLabel(QStringLiteral("职工编码"), this));
    employee_ = new QLineEdit(this);
    employee_->setMaximumWidth(90);
    filters->addWidget(employee_);
    filters->addWidget(new QLabel(QStringLiteral("操作员"), this));
    writer_ = new QComboBox(this);
    writer_->setEditable(true);
    writer_->setMinimumWidth(110);
    filters->addWidget(writer_);
    filters->addWidget(new QLabel(QStringLiteral("数据表"), this));
    table_ = new QComboBox(this);
    table_->setMinimumWidth(90);
    filters->addWidget(table_);
    range_ = new DateRangeBoxes(this);
    filters->addWidget(range_);
    filters->addStretch();
    auto *find = new QPushButton(QStringLiteral("查询"), this);
    connect(find, &QPushButton::clicked, this, &Tfrmczrz::showEntries);
    filters->addWidget(find);
    auto *clear = new QPushButton(QStringLiteral("清除起始日期以前的日志"), this);
    clear->setEnabled(rights::mayWrite(rights::session().role, rights::Area::Upkeep));
    connect(clear, &QPushButton::clicked, this, &Tfrmczrz::clearOld);
    filters->addWidget(clear);
    auto *back = new QPushButton(QStringLiteral("返回"), this);
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    filters->addWidget(back);
    layout->addLayout(filters);

    rows_ = new QSqlQueryModel(this);
    grid_ = new StripedGrid(this);
    grid_->setModel(rows_);
    layout->addWidget(grid_, 1);

    writer_->addItem(QString());
    table_->addItem(QString());
    try {
        table_->addItems(change_log::tablesLogged(host.database(), rights::session().role));
        writer_->addItems(change_log::writersLogged(host.database()));
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {kTitle, {}, {}, true});
    }
    connect(range_, &DateRangeBoxes::rangeChosen, this, &Tfrmczrz::showEntries);
    connect(employee_, &QLineEdit::returnPressed, this, &Tfrmczrz::showEntries);
    showEntries();
}

void Tfrmczrz::showEntries()
{
    const change_log::Filter filter{employee_->text().trimmed(), writer_->currentText().trimmed(), table_->currentText(),
                                    range_->from(), range_->to()};
    try {
        QSqlQuery q = change_log::entries(host().database(), filter, rights::session().role);
        sql::exec(q);
        rows_->setQuery(std::move(q));
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {kTitle, {}, {}, true});
    }
}

void Tfrmczrz::clearOld()
{
    const QDate before = range_->from();
    if (prompt::ask(QStringLiteral("删除提示"),
                    QStringLiteral("确定要清除%1以前的日志吗？").arg(before.toString(Qt::ISODate)), true, this)
        != prompt::Ok)
        return;
    try {
        const int removed = change_log::clearBefore(host().database(), before);
        notify::show(this, notify::Kind::Information, kTitle, QStringLiteral("已清除%1条日志。").arg(removed));
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {kTitle});
    }
    showEntries();
}

void registerChangeLogScreen(ScreenRegistry &registry)
{
    registry.add(QStringLiteral("Tfrmczrz"), {Placement::Stored, [](ScreenHost &host) { return new Tfrmczrz(host); }});
}
