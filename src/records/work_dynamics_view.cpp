#include "records/work_dynamics_view.h"

#include "app/failure_message.h"
#include "app/title_strip.h"
#include "db/sql.h"
#include "records/employee_header.h"
#include "records/history_panels.h"
#include "records/personnel_query.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

Tfrmgzdtxxxx::Tfrmgzdtxxxx(const QSqlDatabase &db, const QString &employeeCode, QWidget *workArea)
    : QFrame(workArea), db_(db)
{
    setObjectName("Tfrmgzdtxxxx");
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);

    header_ = new EmployeeHeader(this);
    auto *back = new QPushButton(QStringLiteral("返回"), this);
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    header_->row()->addWidget(back);

    panels_ = new HistoryPanels(db_, this);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 6);
    column->addWidget(makeTitleStrip(QStringLiteral("  职工花名册 >> 职工基本情况编辑"), this));
    column->addWidget(header_);
    column->addWidget(panels_, 1);
    resize(workArea ? workArea->size().boundedTo(QSize(1000, 640)) : QSize(1000, 640));
    showEmployee(employeeCode);
}

void Tfrmgzdtxxxx::showEmployee(const QString &code)
{
    QString name;
    try {
        name = records::employeeName(db_, code).value_or(QString());
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.reading = true});
    }
    header_->showEmployee(code, name);
    panels_->showEmployee(code);
}

QString Tfrmgzdtxxxx::shownCode() const { return header_->code(); }
