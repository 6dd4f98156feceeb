#include "pay/appraisal_statistics_screen.h"

#include "app/failure_message.h"
#include "app/period_boxes.h"
#include "app/striped_grid.h"
#include "app/title_strip.h"
#include "db/sql.h"
#include "reports/grid_report.h"
#include "reports/print_preview.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

AppraisalStatisticsScreen::AppraisalStatisticsScreen(ScreenHost &host, pay::AppraisalCounts kind)
    : FunctionScreen(host, kind == pay::AppraisalCounts::Shares ? "Tfrmndkhzb" : "Tfrmndkhtj"), kind_(kind)
{
    const bool shares = kind == pay::AppraisalCounts::Shares;
    setGeometry(host.workArea()->rect());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeTitleStrip(shares ? QStringLiteral(" 等级工资及年度考核 >> 年度考核占比分析")
                                            : QStringLiteral(" 等级工资及年度考核 >> 年度考核统计"),
                                     this));
    auto *bar = new QHBoxLayout;
    auto *print = new QPushButton(QStringLiteral("打印"), this);
    connect(print, &QPushButton::clicked, this, &AppraisalStatisticsScreen::print);
    auto *back = new QPushButton(QStringLiteral("返回"), this);
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    bar->addWidget(print);
    bar->addStretch();
    bar->addWidget(back);
    layout->addLayout(bar);

    auto *label = new QHBoxLayout;
    label->addWidget(new QLabel(shares ? QStringLiteral("分析表") : QStringLiteral("统计表"), this));
    label->addStretch();
    label->addWidget(new QLabel(QStringLiteral("考核年度"), this));
    year_ = makeYearBox(this);
    label->addWidget(year_);
    layout->addLayout(label);

    grid_ = new StripedGrid(this);
    grid_->verticalHeader()->hide();
    rows_ = new RowsModel(pay::appraisalStatisticsTitles(kind), this);
    grid_->setModel(rows_);
    grid_->setSortable(false);  // a statistics table keeps its fixed row order
    layout->addWidget(grid_, 1);

    connect(year_, &QSpinBox::valueChanged, this, &AppraisalStatisticsScreen::rebuild);
    rebuild();
}

void AppraisalStatisticsScreen::rebuild()
{
    try {
        rows_->setRows(pay::appraisalStatistics(host().database(), year_->value(), kind_).rows);
        grid_->resizeColumnsToContents();
    } catch (const sql::Failure &e) {
        rows_->setRows({});
        failure_message::show(this, e, {.reading = true});
    }
}

void AppraisalStatisticsScreen::print()
{
    const QString title = kind_ == pay::AppraisalCounts::Shares ? QStringLiteral("年度考核结果占比分析表")
                                                                : QStringLiteral("年度考核统计表");
    report::preview(report::layoutGrid(objectName(), title, QStringLiteral("%1年度").arg(year_->value()), *rows_), this);
}
