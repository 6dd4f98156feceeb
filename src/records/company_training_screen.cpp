#include "records/company_training_screen.h"

#include "app/failure_message.h"
#include "app/search_bar.h"
#include "app/striped_grid.h"
#include "app/title_strip.h"
#include "db/sorted_query_model.h"
#include "db/sql.h"
#include "records/training.h"
#include "reports/grid_report.h"
#include "reports/print_preview.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kShow = QStringLiteral("显示详细信息");
const QString kHide = QStringLiteral("隐藏详细信息");

StripedGrid *listIn(QGroupBox *frame, SortedQueryModel *model)
{
    auto *grid = new StripedGrid(frame);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setModel(model);
    (new QVBoxLayout(frame))->addWidget(grid);
    return grid;
}

}  // namespace

Tfrmgspxqktj::Tfrmgspxqktj(ScreenHost &host) : FunctionScreen(host, "Tfrmgspxqktj")
{
    setGeometry(host.workArea()->rect());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(makeTitleStrip(QStringLiteral("  职工培训记录 >> 公司培训情况统计"), this));

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(6, 4, 6, 4);
    auto *print = new QPushButton(QStringLiteral("打印"), this);
    // The caption names what the button does: the list is shown at first.
    details_ = new QPushButton(kHide, this);
    auto *back = new QPushButton(QStringLiteral("返回"), this);
    for (QPushButton *b : {print, details_, back}) {
        b->setMinimumWidth(80);
        bar->addWidget(b);
    }
    connect(print, &QPushButton::clicked, this, &Tfrmgspxqktj::print);
    connect(details_, &QPushButton::clicked, this, &Tfrmgspxqktj::toggleDetails);
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    bar->addStretch();
    // The range starts on 1 January of the current year and ends today.
    range_ = new DateRangeBoxes(this);
    connect(range_, &DateRangeBoxes::rangeChosen, this, &Tfrmgspxqktj::showCourses);
    bar->addWidget(range_);
    layout->addLayout(bar);

    auto *courseFrame = new QGroupBox(QStringLiteral("培训记录"), this);
    courseRows_ = new SortedQueryModel(this);
    courses_ = listIn(courseFrame, courseRows_);
    layout->addWidget(courseFrame, 3);
    participantFrame_ = new QGroupBox(QStringLiteral("培训职工"), this);
    participantRows_ = new SortedQueryModel(this);
    participants_ = listIn(participantFrame_, participantRows_);
    static_cast<QVBoxLayout *>(participantFrame_->layout())->insertWidget(0, new SearchBar(this, {participants_}));
    layout->addWidget(participantFrame_, 2);

    connect(courses_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &Tfrmgspxqktj::showParticipants);
    showCourses();
}

void Tfrmgspxqktj::showCourses()
{
    try {
        courseRows_->setQuery(records::training::coursesBetween(host().database(), range_->from(), range_->to()));
        markMeasuredColumns(*courseRows_, records::training::kMeasuredTitles);
    } catch (const sql::Failure &e) {
        courseRows_->clear();
        failure_message::show(this, e, {.reading = true});
    }
    if (courseRows_->rowCount() > 0)
        courses_->selectRow(0);
    showParticipants();
}

void Tfrmgspxqktj::showParticipants()
{
    const QModelIndex current = courses_->currentIndex();
    try {
        if (current.isValid()) {
            participantRows_->setQuery(records::training::participants(host().database(), courseRows_->index(current.row(), 0).data().toString()));
            markMeasuredColumns(*participantRows_, records::training::kMeasuredTitles);
        } else {
            participantRows_->clear();
        }
    } catch (const sql::Failure &e) {
        participantRows_->clear();
        failure_message::show(this, e, {.reading = true});
    }
    participants_->setColumnHidden(records::training::kParticipantIdColumn, true);
}

void Tfrmgspxqktj::toggleDetails()
{
    const bool show = participantFrame_->isHidden();
    participantFrame_->setVisible(show);
    details_->setText(show ? kHide : kShow);
}

void Tfrmgspxqktj::print()
{
    report::preview(report::layoutGrid(objectName(), QStringLiteral("公司培训情况统计"), range_->text(), *courseRows_), this);
}
