#include "staff/personal_sheet_window.h"

#include "app/failure_message.h"
#include "app/field_controls.h"
#include "app/striped_grid.h"
#include "db/change_log.h"
#include "db/rights.h"
#include "db/sql.h"
#include "staff/detail_panel.h"
#include "staff/personal_sheet.h"
#include "staff/photo_box.h"
#include "app/title_strip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTabWidget>
#include <QVBoxLayout>

Tfrmgrxxzl::Tfrmgrxxzl(const QSqlDatabase &db, const QString &employeeCode, QWidget *workArea)
    : QFrame(workArea), db_(db)
{
    setObjectName("Tfrmgrxxzl");
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);

    title_ = makeTitleStrip(QStringLiteral(" [%1]个人基本信息").arg(employeeCode), this);
    detail_ = new DetailPanel([](const edit::Field &, QWidget *parent) {
        auto *shown = new QLineEdit(parent);
        shown->setReadOnly(true);
        return shown;
    });
    resume_ = new QPlainTextEdit;
    resume_->setReadOnly(true);
    pages_ = new QTabWidget(this);
    pages_->addTab(detail_->scrolling(), QStringLiteral("基本信息"));
    pages_->addTab(resume_, QStringLiteral("个人履历表"));
    log_ = new QSqlQueryModel(this);
    auto *logGrid = new StripedGrid;
    logGrid->setModel(log_);
    pages_->addTab(logGrid, QStringLiteral("操作日志"));

    auto *back = new QPushButton(QStringLiteral("返回"), this);
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    auto *bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("按〈返回〉按钮则返回上一层"), this));
    bar->addStretch();
    bar->addWidget(back);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 6);
    column->addWidget(title_);
    column->addWidget(pages_, 1);
    column->addLayout(bar);
    resize(workArea ? workArea->size().boundedTo(QSize(1000, 780)) : QSize(1000, 720));
    showEmployee(employeeCode);
}

void Tfrmgrxxzl::showEmployee(const QString &code)
{
    std::optional<QMap<QString, QString>> sheet;
    try {
        sheet = staff::personalSheet(db_, code);
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.reading = true});
    }
    for (auto it = detail_->controls().cbegin(); it != detail_->controls().cend(); ++it)
        edit::setValue(it.value(), sheet ? sheet->value(it.key()) : QString());
    resume_->setPlainText(sheet ? sheet->value(staff::kResumeColumn) : QString());
    detail_->photo()->showPhoto(sheet ? sheet->value(staff::kPhotoColumn) : QString());
    // Who changed this employee's rows, as far as the operator's role may see.
    try {
        change_log::Filter filter;
        filter.employee = code;
        QSqlQuery entries = change_log::entries(db_, filter, rights::session().role);
        sql::exec(entries);
        log_->setQuery(std::move(entries));
    } catch (const sql::Failure &e) {
        failure_message::show(this, e);
    }
}
