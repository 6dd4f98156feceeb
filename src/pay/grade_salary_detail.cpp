#include "pay/grade_salary_detail.h"

#include "app/failure_message.h"
#include "app/striped_grid.h"
#include "app/title_strip.h"
#include "db/sql.h"
#include "pay/appraisal_list.h"
#include "records/personnel_query.h"
#include "reports/grid_report.h"
#include "reports/print_preview.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

StripedGrid *makeGrid(RowsModel *rows, QWidget *parent)
{
    auto *grid = new StripedGrid(parent);
    grid->verticalHeader()->hide();
    grid->setModel(rows);
    grid->setMinimumWidth(150);
    return grid;
}

}  // namespace

TFrmzwdjxxxx::TFrmzwdjxxxx(const QSqlDatabase &db, const QString &employeeCode, QWidget *workArea)
    : QFrame(workArea), db_(db)
{
    setObjectName("TFrmzwdjxxxx");
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);

    auto *employee = new QHBoxLayout;
    code_ = new QLabel(this);
    name_ = new QLabel(this);
    for (QLabel *value : {code_, name_})
        value->setStyleSheet("color: navy;");
    employee->addWidget(new QLabel(QStringLiteral("职工编码："), this));
    employee->addWidget(code_);
    employee->addSpacing(30);
    employee->addWidget(new QLabel(QStringLiteral("职工姓名："), this));
    employee->addWidget(name_);
    employee->addStretch();

    auto *bar = new QHBoxLayout;
    auto *print = new QPushButton(QStringLiteral("打印一览表"), this);
    connect(print, &QPushButton::clicked, this, &TFrmzwdjxxxx::print);
    auto *back = new QPushButton(QStringLiteral("返回"), this);
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    bar->addWidget(print);
    bar->addStretch();
    bar->addWidget(back);

    gradeSalaries_ = new RowsModel({}, this);
    results_ = new RowsModel({}, this);
    auto *sides = new QSplitter(Qt::Horizontal, this);
    sides->setChildrenCollapsible(false);
    sides->addWidget(makeGrid(gradeSalaries_, sides));
    sides->addWidget(makeGrid(results_, sides));
    sides->setStretchFactor(0, 3);
    sides->setStretchFactor(1, 2);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 6);
    column->addWidget(makeTitleStrip(QStringLiteral(" 等级工资及年度考核 >> 等级工资及年度考核详细信息"), this));
    column->addLayout(employee);
    column->addLayout(bar);
    column->addWidget(sides, 1);
    resize(workArea ? workArea->size().boundedTo(QSize(1000, 640)) : QSize(1000, 640));
    showEmployee(employeeCode);
}

void TFrmzwdjxxxx::showEmployee(const QString &code)
{
    code_->setText(code);
    try {
        name_->setText(records::employeeName(db_, code).value_or(QString()));
        history_ = pay::gradeSalaryHistoryGrid(db_, code);
        appraisals_ = pay::appraisalResultsGrid(db_, code);
    } catch (const sql::Failure &e) {
        name_->clear();
        history_.rows.clear();
        appraisals_.rows.clear();
        failure_message::show(this, e, {.reading = true});
    }
    gradeSalaries_->setRows(history_.titles, history_.rows);
    results_->setRows(appraisals_.titles, appraisals_.rows);
}

QString TFrmzwdjxxxx::shownCode() const { return code_->text(); }

void TFrmzwdjxxxx::print()
{
    // Both grids as shown, side by side, under the employee's code and name.
    const pay::Grid both = pay::sideBySide(history_, appraisals_);
    report::preview(report::layoutGrid(objectName(), QStringLiteral("员工等级（职务）工资变动及年度考核一览表"),
                                       QStringLiteral("职工编码：%1    职工姓名：%2").arg(code_->text(), name_->text()),
                                       both.titles, both.rows),
                    this);
}
