#include "pay/salary_query_screen.h"

#include "app/column_totals.h"
#include "app/date_range_boxes.h"
#include "app/failure_message.h"
#include "app/grid_export.h"
#include "app/period_boxes.h"
#include "app/search_bar.h"
#include "app/striped_grid.h"
#include "app/title_strip.h"
#include "db/sql.h"
#include "pay/salary_query.h"
#include "query/condition_dialog.h"
#include "reports/grid_report.h"
#include "reports/layout.h"
#include "reports/print_preview.h"

#include <QApplication>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSqlQueryModel>
#include <QTabWidget>
#include <QVBoxLayout>

Tfrmzggzzhcx::Tfrmzggzzhcx(ScreenHost &host) : FunctionScreen(host, "Tfrmzggzzhcx")
{
    setGeometry(host.workArea()->rect());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(makeTitleStrip(QStringLiteral("  职工工资表 >> 职工工资综合查询"), this));

    auto *header = new QHBoxLayout;
    header->setContentsMargins(6, 4, 6, 4);
    year_ = makeYearBox(this);
    header->addWidget(year_);
    header->addWidget(new QLabel(QStringLiteral("年"), this));
    month_ = makeMonthBox(this);
    header->addWidget(month_);
    header->addWidget(new QLabel(QStringLiteral("月"), this));
    header->addSpacing(16);
    auto *range = new DateRangeBoxes(this);
    header->addWidget(range);
    from_ = range->fromBox();
    to_ = range->toBox();
    header->addStretch();
    for (const auto &[caption, action] : {std::pair{QStringLiteral("查询条件"), &Tfrmzggzzhcx::askCondition},
                                          {QStringLiteral("打印"), &Tfrmzggzzhcx::print}}) {
        auto *b = new QPushButton(caption, this);
        connect(b, &QPushButton::clicked, this, action);
        header->addWidget(b);
    }
    auto *back = new QPushButton(QStringLiteral("返回"), this);
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    header->addWidget(back);
    layout->addLayout(header);

    // One result, shown by sheet.
    result_ = new QSqlQueryModel(this);
    tabs_ = new QTabWidget(this);
    for (const pay::Sheet &s : pay::sheets()) {
        auto *columns = new pay::SalarySheetColumns(s, this);
        columns->setSourceModel(result_);
        auto *grid = new StripedGrid(tabs_);
        grid->setModel(columns);
        grid->setTotalsShown(true);  // the range's totals
        tabs_->addTab(grid, QStringLiteral("            ") + s.tab.trimmed());
        sheets_.push_back(columns);
        grids_.push_back(grid);
    }
    layout->addWidget(new SearchBar(this, grids_));
    layout->addWidget(tabs_, 1);

    for (QSpinBox *box : {year_, month_})
        connect(box, &QSpinBox::valueChanged, this, &Tfrmzggzzhcx::showChosenMonth);
    for (QDateEdit *box : {from_, to_})
        connect(box, &QDateEdit::dateChanged, this, [this] { showList(condition_); });
    showList({});
}

QAbstractItemModel *Tfrmzggzzhcx::sheetRows(int tab) const { return sheets_.at(size_t(tab)); }

void Tfrmzggzzhcx::showChosenMonth()
{
    const QDate first(year_->value(), month_->value(), 1);
    {
        const QSignalBlocker fromBlocked(from_), toBlocked(to_);
        from_->setDate(first);
        to_->setDate(first.addMonths(1).addDays(-1));
    }
    showList(condition_);
}

void Tfrmzggzzhcx::showList(const query::Condition &condition)
{
    const pay::MonthRange months(from_->date(), to_->date());
    QVariantList totals;
    try {
        // The totals first: a failure (a sum beyond range) then leaves the list as it was.
        totals = pay::salaryQueryTotals(host().database(), months, condition);
        result_->setQuery(pay::salaryQuery(host().database(), months, condition));
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.title = QStringLiteral("查询失败"), .reading = true});
        return;
    }
    condition_ = condition;
    for (size_t tab = 0; tab < grids_.size(); ++tab) {
        // The range's totals stand under the rows read so far, until every row is read.
        const auto *columns = static_cast<pay::SalarySheetColumns *>(sheets_[tab]);
        std::vector<column_totals::Total> sheetTotals(size_t(columns->columnCount()));
        for (int c = 0; c < columns->columnCount(); ++c) {
            const QVariant sum = totals.value(columns->sourceColumn(c));
            if (sum.isNull())
                continue;
            const bool whole = pay::isWholeYuan(columns->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
            sheetTotals[size_t(c)] = {whole ? column_totals::Total::Whole : column_totals::Total::Amount, sum.toLongLong()};
        }
        grids_[tab]->setTotalsOfAll(std::move(sheetTotals));
        grid_export::setExportTitle(*grids_[tab], QStringLiteral("职工工资综合查询 %1").arg(coverage()));
    }
}

QString Tfrmzggzzhcx::coverage() const
{
    const pay::MonthRange months(from_->date(), to_->date());
    const QString format = QStringLiteral("yyyy年MM月");
    QString text = months.first == months.last ? months.first.toString(format)
                                               : report::dateRangeText(months.first, months.last, format);
    if (!condition_.description.isEmpty())
        text += QStringLiteral("（查询条件：%1）").arg(condition_.description);
    return text;
}

void Tfrmzggzzhcx::askCondition()
{
    // Each confirmed search starts again from the base; a cancelled dialog changes nothing.
    if (const std::optional<query::Condition> condition = Tfrmzgcx::ask(host().database(), host().workArea(), this))
        showList(*condition);
}

void Tfrmzggzzhcx::print()
{
    const int tab = tabs_->currentIndex();
    const QString subtitle = coverage();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The printout holds every row, so its totals are the sums of those rows.
    QAbstractItemModel &rows = *sheets_.at(size_t(tab));
    while (rows.canFetchMore({}))
        rows.fetchMore({});
    const report::Document document =
        report::layoutGrid(objectName(), QStringLiteral("职工工资综合查询（%1）").arg(tabs_->tabText(tab).trimmed()), subtitle,
                           rows, column_totals::printed(column_totals::totals(rows)));
    QApplication::restoreOverrideCursor();
    report::preview(document, this);
}
