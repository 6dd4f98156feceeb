#include "pay/pay_comparison_screen.h"

#include "app/failure_message.h"
#include "app/period_boxes.h"
#include "app/striped_grid.h"
#include "app/title_strip.h"
#include "db/sql.h"
#include "reports/grid_report.h"
#include "reports/print_preview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

bool monthly(pay::ComparisonSpan span) { return span == pay::ComparisonSpan::Months; }

}  // namespace

PayComparisonScreen::PayComparisonScreen(ScreenHost &host, pay::ComparisonSpan span)
    : FunctionScreen(host, monthly(span) ? "TFrmgsygzdz" : "TFrmgsngzdz"), span_(span)
{
    setGeometry(host.workArea()->rect());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeTitleStrip(monthly(span) ? QStringLiteral("  职工工资表 >> 公司月工资统计对照表")
                                                   : QStringLiteral("  职工工资表 >> 公司年工资统计对照表"),
                                     this));
    auto *header = new QHBoxLayout;
    header->setContentsMargins(6, 4, 6, 4);
    header->addWidget(new QLabel(QStringLiteral("现在是"), this));
    year_ = makeYearBox(this);
    header->addWidget(year_);
    header->addWidget(new QLabel(QStringLiteral("年"), this));
    header->addWidget(new QLabel(monthly(span) ? QStringLiteral("月工资统计") : QStringLiteral("工资统计"), this));
    header->addStretch();
    auto *print = new QPushButton(QStringLiteral("打印"), this);
    auto *back = new QPushButton(QStringLiteral("返回"), this);
    connect(print, &QPushButton::clicked, this, &PayComparisonScreen::print);
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    header->addWidget(print);
    header->addWidget(back);
    layout->addLayout(header);

    auto *tab = new QTabBar(this);
    tab->addTab(QStringLiteral("            工资表"));
    layout->addWidget(tab);
    grid_ = new StripedGrid(this);
    model_ = new RowsModel({}, grid_);
    grid_->setModel(model_);
    grid_->setSortable(false);  // a statistics table keeps its fixed row order
    layout->addWidget(grid_, 1);
    connect(year_, &QSpinBox::valueChanged, this, &PayComparisonScreen::rebuild);
    rebuild();
}

void PayComparisonScreen::rebuild()
{
    try {
        pay::Grid g = pay::comparisonGrid(host().database(), span_, year_->value());
        model_->setRows(g.titles, g.rows);
        grid_->resizeColumnsToContents();
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.reading = true});
    }
}

void PayComparisonScreen::print()
{
    const QString title = monthly(span_) ? QStringLiteral("公司月工资统计对照表") : QStringLiteral("公司年工资统计对照表");
    const QString period = monthly(span_) ? QStringLiteral("%1年").arg(year_->value())
                                          : QStringLiteral("%1年—%2年").arg(year_->value() - 9).arg(year_->value());
    report::preview(report::layoutGrid(objectName(), title, period, *model_), this);
}
