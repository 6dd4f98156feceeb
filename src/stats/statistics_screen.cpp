#include "stats/statistics_screen.h"

#include "app/failure_message.h"
#include "app/grid_export.h"
#include "app/notify.h"
#include "app/operator_settings.h"
#include "app/period_boxes.h"
#include "app/striped_grid.h"
#include "app/title_strip.h"
#include "db/clock.h"
#include "db/sql.h"
#include "reports/print_preview.h"
#include "stats/group_caption_bar.h"
#include "stats/pie_slices.h"
#include "stats/pie_view.h"
#include "stats/statistics_reports.h"

#include <QDateEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QVBoxLayout>

namespace {
const QString kCutoffKey = QStringLiteral("statistics/cutoff");
}

StatisticsScreen::StatisticsScreen(ScreenHost &host, const stats::TableDescription &table)
    : FunctionScreen(host, table.screenClass, Reenable::ByReturnButton), table_(table)
{
    setFrameShape(QFrame::NoFrame);
    host.workArea()->installEventFilter(this);
    setGeometry(host.workArea()->rect());

    // The screen's controls, or a chart in their place.
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    content_ = new QWidget(this);
    outer->addWidget(content_);
    auto *layout = new QVBoxLayout(content_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeTitleStrip(table.titleBar, content_));

    auto *toolbar = new QHBoxLayout;
    toolbar->setContentsMargins(6, 4, 6, 4);
    auto *print = new QPushButton(QStringLiteral("打印"), content_);
    connect(print, &QPushButton::clicked, this, [this] {
        try {
            // Another program (another copy, wenpad-admin rebuild) may have rebuilt the work table
            // for other dates, or changed what it counts, since the screen showed it: the table is
            // built again for the screen's dates first, so the printout is what the screen shows,
            // and read in the same transaction, so it is all of this period.
            const QSqlDatabase db = this->host().database();
            std::vector<report::Document> documents;
            if (table_.readBuilt(db, built_, [&] { documents = stats::printedReports(db, table_, built_); })) {
                insertdata();
                notify::show(this, notify::Kind::Information, QStringLiteral("打印"),
                             QStringLiteral("统计表已被另一程序改动，已按%1重新统计，打印的是重新统计的结果。")
                                 .arg(stats::periodCaption(built_)));
            }
            // Each preview opens once the one before it is closed.
            for (const report::Document &d : documents)
                report::preview(d, this);
        } catch (const sql::Failure &e) {
            failure_message::show(this, e, {.title = QStringLiteral("打印失败"), .reading = true});
        }
    });
    toolbar->addWidget(print);
    for (const stats::Chart &chart : table.charts) {
        auto *b = new QPushButton(chart.caption, content_);
        connect(b, &QPushButton::clicked, this, [this, &chart] { showChart(chart); });
        toolbar->addWidget(b);
    }
    toolbar->addStretch();
    auto *back = new QPushButton(QStringLiteral("返回"), content_);
    connect(back, &QPushButton::clicked, this, &StatisticsScreen::returnToMainWindow);
    toolbar->addWidget(back);
    layout->addLayout(toolbar);
    // Right after "打印", once the bar is in the screen's layout.
    grid_export::addScreenExportButton(*content_, *print, [this] {
        grid_export::exportGridAfter(*this, *grid_, [this] { rebuildIfChanged(QStringLiteral("导出Excel"), QStringLiteral("导出")); });
    });

    auto *dateRow = new QHBoxLayout;
    dateRow->setContentsMargins(6, 2, 6, 2);
    auto *label = new QLabel(table.gridLabel, content_);
    label->setStyleSheet("font-size: 15px; font-weight: bold;");
    dateRow->addWidget(label);
    dateRow->addStretch();
    // A range starts on 1 January of the current year.
    const QDate today = clock_source::today();
    if (table.overRange)
        start_ = addDatePicker(dateRow, QStringLiteral("起始日期"), QDate(today.year(), 1, 1));
    // The operator's last cut-off date, the same on every statistics screen.
    cutoff_ = addDatePicker(dateRow, QStringLiteral("截止日期"),
                            operator_settings::value(kCutoffKey, today).toDate());
    layout->addLayout(dateRow);

    grid_ = new StripedGrid(content_);
    grid_->horizontalHeader()->setSectionsMovable(false);  // the group captions span fixed columns
    model_ = new QSqlQueryModel(this);
    grid_->setModel(model_);
    grid_->setSortable(false);  // a statistics table keeps its fixed row order
    captions_ = new GroupCaptionBar(grid_, content_);
    layout->addWidget(captions_);
    layout->addWidget(grid_, 1);

    insertdata();
}

void StatisticsScreen::rebuildIfChanged(const QString &title, const QString &action)
{
    // Another program (another copy, wenpad-admin rebuild) may have rebuilt the work table for
    // other dates, or changed what it counts, since the screen showed it: the table is built
    // again for the screen's dates first, so what is printed or exported is what the screen shows.
    if (table_.holds(host().database(), built_))
        return;
    insertdata();
    notify::show(this, notify::Kind::Information, title,
                 QStringLiteral("统计表已被另一程序改动，已按%1重新统计，%2的是重新统计的结果。")
                     .arg(stats::periodCaption(built_), action));
}

QDateEdit *StatisticsScreen::addDatePicker(QHBoxLayout *row, const QString &label, const QDate &start)
{
    row->addWidget(new QLabel(label, content_));
    QDateEdit *picker = makeDatePicker(start, content_, [this] { cutoffChosen(); });
    row->addWidget(picker);
    return picker;
}

stats::Period StatisticsScreen::chosenPeriod() const
{
    return start_ ? stats::Period(start_->date(), cutoff_->date()) : stats::Period(cutoff_->date());
}

void StatisticsScreen::cutoffChosen()
{
    const stats::Period chosen = chosenPeriod();
    operator_settings::setValue(kCutoffKey, chosen.to);
    if (chosen.to != built_.to || chosen.from != built_.from)
        insertdata();
}

void StatisticsScreen::insertdata()
{
    const QSqlDatabase db = host().database();
    const std::vector<stats::WorkColumn> columns = table_.gridColumns();
    QStringList fields;
    for (const stats::WorkColumn &column : columns)
        fields << column.key;
    host().setWaitBoxVisible(true);
    try {
        // Built again only when the dates or what it counts have changed since the last build;
        // the rows are read whole before another operator may build the table for his dates.
        const stats::Period chosen = chosenPeriod();
        table_.readBuilt(db, chosen, [&] {
            model_->setQuery(table_.gridQuery(fields.join(',')), db);
            while (model_->canFetchMore())
                model_->fetchMore();
        });
        built_ = chosen;
    } catch (const sql::Failure &e) {
        host().setWaitBoxVisible(false);
        failure_message::show(this, e, {.title = QStringLiteral("统计失败"), .lead = failure_text::kNotRebuilt});
    }
    host().setWaitBoxVisible(false);
    for (size_t i = 0; i < columns.size(); ++i)
        model_->setHeaderData(int(i), Qt::Horizontal, columns[i].gridTitle);
    // A caption spans its columns and the share after the last of them.
    std::vector<GroupCaptionBar::Span> spans;
    for (const stats::GroupCaption &g : table_.groups) {
        const int last = std::max(fields.indexOf(g.last), fields.indexOf(g.last + "zb"));
        spans.push_back({g.grid, int(fields.indexOf(g.first)), last});
    }
    captions_->setSpans(spans);
    grid_->resizeColumnsToContents();
    grid_->selectRow(0);
    if (built_.to.isValid())
        grid_export::setExportTitle(*grid_, xlsx::screenTitle(table_.titleBar) + ' ' + stats::periodCaption(built_));
}

QWidget *StatisticsScreen::showChart(const stats::Chart &chart)
{
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return nullptr;
    stats::ChartButton button{chart.caption, chart.suffix, {}};
    for (const QString &key : chart.keys)
        button.slices.emplace_back(key, table_.value(key).slice);
    auto *view = new TfrmPie(stats::pieFromRow(model_->record(current.row()), table_.nameColumn, button), this);
    // The chart takes the controls' place, so that nothing under it is reachable with Tab.
    layout()->addWidget(view);
    content_->hide();
    connect(view, &QObject::destroyed, content_, &QWidget::show);
    view->show();
    view->returnButton()->setFocus();
    return view;
}

bool StatisticsScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == host().workArea() && event->type() == QEvent::Resize)
        setGeometry(host().workArea()->rect());
    return FunctionScreen::eventFilter(watched, event);
}
