#include "stats/statistics_screen.h"

#include "app/notify.h"
#include "app/title_strip.h"
#include "db/clock.h"
#include "db/database.h"
#include "db/sql.h"
#include "reports/print_preview.h"
#include "stats/group_caption_bar.h"
#include "stats/pie_view.h"
#include "app/striped_grid.h"
#include "stats/work_tables.h"

#include <QCalendarWidget>
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

int columnOf(const QSqlQueryModel *model, const QString &field)
{
    return model->record().indexOf(field);
}

}  // namespace

StatisticsScreen::StatisticsScreen(ScreenHost &host, const StatisticsDescription &description)
    : FunctionScreen(host, description.className, Reenable::ByReturnButton), description_(description)
{
    setFrameShape(QFrame::NoFrame);
    host.workArea()->installEventFilter(this);
    setGeometry(host.workArea()->rect());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeTitleStrip(description.titleBar, this));

    auto *toolbar = new QHBoxLayout;
    toolbar->setContentsMargins(6, 4, 6, 4);
    auto *print = new QPushButton(QStringLiteral("打印"), this);
    connect(print, &QPushButton::clicked, this, [this] {
        try {
            // Each preview opens once the one before it is closed.
            for (const report::Document &d : stats::printedReports(database::shared(), description_.workTable, built_))
                report::preview(d, this);
        } catch (const sql::Failure &e) {
            notify::show(this, notify::Kind::Error, QStringLiteral("打印失败"), e.message());
        }
    });
    toolbar->addWidget(print);
    for (const stats::ChartButton &chart : description.charts) {
        auto *b = new QPushButton(chart.caption, this);
        connect(b, &QPushButton::clicked, this, [this, &chart] { showChart(chart); });
        toolbar->addWidget(b);
    }
    toolbar->addStretch();
    auto *back = new QPushButton(QStringLiteral("返回"), this);
    connect(back, &QPushButton::clicked, this, &StatisticsScreen::returnToMainWindow);
    toolbar->addWidget(back);
    layout->addLayout(toolbar);

    auto *dateRow = new QHBoxLayout;
    dateRow->setContentsMargins(6, 2, 6, 2);
    auto *label = new QLabel(description.gridLabel, this);
    label->setStyleSheet("font-size: 15px; font-weight: bold;");
    dateRow->addWidget(label);
    dateRow->addStretch();
    dateRow->addWidget(new QLabel(QStringLiteral("截止日期"), this));
    cutoff_ = new QDateEdit(clock_source::today(), this);
    cutoff_->setCalendarPopup(true);
    cutoff_->setDisplayFormat("yyyy-MM-dd");
    connect(cutoff_->calendarWidget(), &QCalendarWidget::clicked, this, &StatisticsScreen::cutoffChosen);
    connect(cutoff_, &QDateEdit::editingFinished, this, &StatisticsScreen::cutoffChosen);
    dateRow->addWidget(cutoff_);
    layout->addLayout(dateRow);

    grid_ = new StripedGrid(this);
    model_ = new QSqlQueryModel(this);
    grid_->setModel(model_);
    captions_ = new GroupCaptionBar(grid_, this);
    layout->addWidget(captions_);
    layout->addWidget(grid_, 1);

    insertdata();
}

void StatisticsScreen::cutoffChosen()
{
    if (cutoff_->date() != built_)
        insertdata();
}

void StatisticsScreen::insertdata()
{
    const stats::WorkTable &table = stats::workTables().at(description_.workTable);
    const QSqlDatabase db = database::shared();
    host().setWaitBoxVisible(true);
    try {
        table.rebuild(db, cutoff_->date());
        built_ = cutoff_->date();
    } catch (const sql::Failure &e) {
        host().setWaitBoxVisible(false);
        notify::show(this, notify::Kind::Error, QStringLiteral("统计失败"),
                     QStringLiteral("统计表未能重建，仍显示上次的结果。\n%1").arg(e.message()));
    }
    host().setWaitBoxVisible(false);

    QStringList fields;
    for (const GridColumn &column : description_.columns)
        fields << column.field;
    model_->setQuery(table.gridQuery(fields.join(',')), db);
    for (size_t i = 0; i < description_.columns.size(); ++i)
        model_->setHeaderData(int(i), Qt::Horizontal, description_.columns[i].title);
    std::vector<GroupCaptionBar::Span> spans;
    for (const GroupCaption &g : description_.groups)
        spans.push_back({g.caption, columnOf(model_, g.firstField), columnOf(model_, g.lastField)});
    captions_->setSpans(spans);
    grid_->resizeColumnsToContents();
    grid_->selectRow(0);
}

QWidget *StatisticsScreen::showChart(const stats::ChartButton &chart)
{
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return nullptr;
    auto *view = new TfrmPie(stats::pieFromRow(model_->record(current.row()), description_.nameColumn, chart),
                             host().workArea());
    view->show();
    view->raise();
    return view;
}

bool StatisticsScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == host().workArea() && event->type() == QEvent::Resize)
        setGeometry(host().workArea()->rect());
    return FunctionScreen::eventFilter(watched, event);
}
