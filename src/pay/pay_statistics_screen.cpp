#include "pay/pay_statistics_screen.h"

#include "app/column_totals.h"
#include "app/failure_message.h"
#include "app/grid_export.h"
#include "app/period_boxes.h"
#include "app/striped_grid.h"
#include "app/title_strip.h"
#include "db/sql.h"
#include "pay/pay_grids.h"
#include "pay/pay_sheets.h"
#include "reports/grid_report.h"
#include "reports/print_preview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

PayStatisticsScreen::PayStatisticsScreen(ScreenHost &host, Period period)
    : FunctionScreen(host, period == Period::Month ? "TFrmgsygztj" : "TFrmgsngztj"), period_(period)
{
    setGeometry(host.workArea()->rect());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeTitleStrip(period == Period::Month ? QStringLiteral("  职工工资表 >> 公司月工资统计")
                                                              : QStringLiteral("  职工工资表 >> 公司年工资统计"),
                                     this));
    auto *header = new QHBoxLayout;
    header->setContentsMargins(6, 4, 6, 4);
    header->addWidget(new QLabel(QStringLiteral("现在是"), this));
    year_ = makeYearBox(this);
    header->addWidget(year_);
    header->addWidget(new QLabel(QStringLiteral("年"), this));
    if (period == Period::Month) {
        month_ = makeMonthBox(this);
        rememberPayMonth(year_, month_);
        header->addWidget(month_);
        header->addWidget(new QLabel(QStringLiteral("月工资统计"), this));
    } else {
        header->addWidget(new QLabel(QStringLiteral("工资统计"), this));
    }
    header->addStretch();
    auto *print = new QPushButton(QStringLiteral("打印"), this);
    auto *back = new QPushButton(QStringLiteral("返回"), this);
    connect(print, &QPushButton::clicked, this, &PayStatisticsScreen::print);
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    header->addWidget(print);
    header->addWidget(back);
    layout->addLayout(header);

    tabs_ = new QTabWidget(this);
    for (const pay::Sheet &s : pay::sheets()) {
        auto *grid = new StripedGrid(tabs_);
        auto *model = new RowsModel(QStringList{QStringLiteral("单位名称")} + s.amountColumns(), grid);
        pay::markMoneyColumns(*model);
        grid->setModel(model);
        // A table of departments in a fixed order with the company's total under it.
        grid->setSortable(false);
        grid->setTotalsShown(true);
        tabs_->addTab(grid, QStringLiteral("            ") + s.tab.trimmed());
        grids_.push_back(grid);
        models_.push_back(model);
    }
    layout->addWidget(tabs_, 1);
    connect(year_, &QSpinBox::valueChanged, this, &PayStatisticsScreen::rebuild);
    if (month_)
        connect(month_, &QSpinBox::valueChanged, this, &PayStatisticsScreen::rebuild);
    rebuild();
}

QString PayStatisticsScreen::windowTitleText() const
{
    return period_ == Period::Month ? QStringLiteral("公司月工资统计") : QStringLiteral("公司年工资统计");
}

QString PayStatisticsScreen::periodText() const
{
    return period_ == Period::Month ? QStringLiteral("%1年%2月").arg(year_->value()).arg(month_->value(), 2, 10, QChar('0'))
                                    : QStringLiteral("%1年").arg(year_->value());
}

QDate PayStatisticsScreen::from() const
{
    return QDate(year_->value(), period_ == Period::Month ? month_->value() : 1, 1);
}

QDate PayStatisticsScreen::to() const
{
    return period_ == Period::Month ? from() : QDate(year_->value(), 12, 1);
}

void PayStatisticsScreen::rebuild()
{
    // A year of a large organisation takes seconds: the months summed so far are shown, and
    // "取消" stops between two months.
    QProgressDialog progress(QStringLiteral("正在统计%1的工资…").arg(periodText()), QStringLiteral("取消"), 0, 1, this);
    progress.setWindowTitle(windowTitleText());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kShowProgressAfterMs);
    std::optional<std::vector<pay::Grid>> grids;
    try {
        grids = pay::statisticsGrids(host().database(), from(), to(), [&](int done, int total) {
            progress.setMaximum(total);
            progress.setValue(done);
            return !progress.wasCanceled();
        });
    } catch (const sql::Failure &e) {
        progress.reset();  // closed before the message, which it would otherwise cover
        failure_message::show(this, e, {.reading = true});
    }
    // Stopped or failed: empty tables rather than another period's rows under this one's title.
    for (size_t i = 0; i < models_.size(); ++i) {
        models_[i]->setRows(grids ? grids->at(i).rows : QList<QVariantList>{});
        grids_[i]->resizeColumnsToContents();
        grid_export::setExportTitle(*grids_[i], QStringLiteral("%1 %2").arg(windowTitleText(), periodText()));
    }
}

void PayStatisticsScreen::print()
{
    const int tab = tabs_->currentIndex();
    const QString title = QStringLiteral("%1（%2）").arg(windowTitleText(), tabs_->tabText(tab).trimmed());
    RowsModel &model = *models_.at(size_t(tab));
    report::preview(report::layoutGrid(objectName(), title, periodText(), model,
                                       column_totals::printed(column_totals::totals(model))),
                    this);
}
