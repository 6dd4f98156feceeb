#include "records/training_editor.h"

#include "app/failure_message.h"
#include "app/field_controls.h"
#include "app/prompt.h"
#include "app/search_bar.h"
#include "app/striped_grid.h"
#include "app/title_strip.h"
#include "db/sorted_query_model.h"
#include "db/sql.h"
#include "records/training.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QSqlRecord>
#include <QVBoxLayout>

using edit::Action;
using edit::Mode;
namespace training = records::training;

namespace {

const QString kErrorTitle = QStringLiteral("错误信息");
const QString kNotWritten = QStringLiteral("这条培训内容无法插入！");
const QString kNotDeleted = QStringLiteral("这条培训内容无法删除！");

// Every query of a side reads all its rows, so that the row just saved can be selected.
void fill(SortedQueryModel *model, QSqlQuery query)
{
    model->setQuery(std::move(query));
    while (model->canFetchMore())
        model->fetchMore();
}

}  // namespace

QWidget *Tfrmpxjlbj::Side::control(const QString &key) const
{
    for (size_t i = 0; i < fields->size(); ++i)
        if ((*fields)[i].key() == key)
            return controls[i];
    return nullptr;
}

std::optional<int> Tfrmpxjlbj::Side::currentRow() const
{
    const QModelIndex current = grid->currentIndex();
    return current.isValid() ? std::optional<int>(current.row()) : std::nullopt;
}

Tfrmpxjlbj::Tfrmpxjlbj(ScreenHost &host) : FunctionScreen(host, "Tfrmpxjlbj")
{
    setGeometry(host.workArea()->rect());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    auto *top = new QHBoxLayout;
    top->addWidget(makeTitleStrip(QStringLiteral("  职工培训纪录 >> 职工培训纪录编辑"), this), 1);
    auto *back = new QPushButton(QStringLiteral("返回"), this);
    back->setMinimumWidth(80);
    connect(back, &QPushButton::clicked, this, &QWidget::close);
    top->addWidget(back);
    layout->addLayout(top);

    divider_ = new QSplitter(Qt::Horizontal, this);
    divider_->setChildrenCollapsible(false);
    layout->addWidget(divider_, 1);
    buildSide(Courses, QStringLiteral("培训内容"), QStringLiteral("培训内容编辑"), training::courseFields());
    buildSide(Participants, QStringLiteral("培训职工记录"), QStringLiteral("培训职工记录编辑"), training::participantFields());
    sides_[Courses].frame->setMinimumWidth(250);
    divider_->setStretchFactor(0, 2);
    divider_->setStretchFactor(1, 3);
    // While one side edits, the other is out of reach; so is "返回".
    for (SideIndex s : {Courses, Participants}) {
        sides_[s].bar->enable(sides_[1 - s].frame, edit::ModeBar::When::Browsing);
        sides_[s].bar->enable(back, edit::ModeBar::When::Browsing);
    }

    reloadCourses({});
    connect(sides_[Courses].grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { reloadParticipants(std::nullopt); });
    reloadParticipants(std::nullopt);
    sides_[Courses].grid->setFocus();
}

void Tfrmpxjlbj::buildSide(SideIndex which, const QString &title, const QString &boxTitle, const edit::Fields &fields)
{
    Side &side = sides_[which];
    side.fields = &fields;
    side.frame = new QGroupBox(title, divider_);
    auto *column = new QVBoxLayout(side.frame);
    side.grid = new StripedGrid(side.frame);
    side.grid->verticalHeader()->hide();
    side.grid->horizontalHeader()->setStretchLastSection(true);
    side.model = new SortedQueryModel(this);
    side.grid->setModel(side.model);
    if (which == Participants)
        column->addWidget(new SearchBar(this, {side.grid}));
    column->addWidget(side.grid, 1);

    side.bar = new edit::ModeBar({{Action::Add, "添加", [this, which] { add(which); }},
                                  {Action::Delete, "删除", [this, which] { remove(which); }},
                                  {Action::Modify, "修改", [this, which] { modify(which); }},
                                  {Action::Save, "确定", [this, which] { save(which); }},
                                  {Action::Ignore, "忽略", [this, which] { ignore(which); }}},
                                 {.minimumWidth = 70}, side.frame);
    side.bar->enable(side.grid, edit::ModeBar::When::Browsing);
    column->addWidget(side.bar);

    // The edit box: a labelled control per field, "确定" and "忽略" under them.
    side.box = new QGroupBox(boxTitle, side.frame);
    auto *form = new QGridLayout(side.box);
    for (const edit::Field &f : fields) {
        QWidget *c = edit::makeControl(f, side.box);
        const int row = int(side.controls.size());
        form->addWidget(new QLabel(f.label, side.box), row, 0);
        form->addWidget(c, row, 1);
        side.controls.push_back(c);
    }
    auto *confirm = new QHBoxLayout;
    confirm->addStretch();
    confirm->addWidget(side.bar->button(Action::Save));
    confirm->addWidget(side.bar->button(Action::Ignore));
    form->addLayout(confirm, int(side.controls.size()), 0, 1, 2);
    side.box->hide();
    column->addWidget(side.box);
    divider_->addWidget(side.frame);
}

QString Tfrmpxjlbj::currentCourse() const
{
    const std::optional<int> row = sides_[Courses].currentRow();
    return row ? sides_[Courses].model->index(*row, 0).data().toString() : QString();
}

void Tfrmpxjlbj::reloadCourses(const QString &select)
{
    Side &side = sides_[Courses];
    try {
        fill(side.model, training::courses(host().database()));
    } catch (const sql::Failure &e) {
        side.model->clear();
        failure_message::show(this, e, {.title = kErrorTitle, .reading = true});
    }
    for (const auto &[column, title] : std::vector<std::pair<int, QString>>{{0, "编码"}, {1, "培训日期"}, {2, "累计时数"}, {3, "训练内容"}})
        side.model->setHeaderData(column, Qt::Horizontal, title);
    markMeasuredColumns(*side.model, training::kMeasuredTitles);
    int row = 0;
    for (int r = 0; r < side.model->rowCount(); ++r)
        if (side.model->index(r, 0).data().toString() == select)
            row = r;
    if (side.model->rowCount() > 0)
        side.grid->selectRow(row);
    side.bar->setRowShown(side.model->rowCount() > 0);
}

void Tfrmpxjlbj::reloadParticipants(std::optional<qint64> select)
{
    Side &side = sides_[Participants];
    const QString course = currentCourse();
    try {
        if (course.isEmpty())
            side.model->clear();
        else
            fill(side.model, training::participants(host().database(), course));
    } catch (const sql::Failure &e) {
        side.model->clear();
        failure_message::show(this, e, {.title = kErrorTitle, .reading = true});
    }
    side.grid->setColumnHidden(training::kParticipantIdColumn, true);
    markMeasuredColumns(*side.model, training::kMeasuredTitles);
    int row = 0;
    for (int r = 0; r < side.model->rowCount(); ++r)
        if (select && side.model->index(r, training::kParticipantIdColumn).data().toLongLong() == *select)
            row = r;
    if (side.model->rowCount() > 0)
        side.grid->selectRow(row);
    side.bar->setRowShown(side.model->rowCount() > 0);
}

void Tfrmpxjlbj::add(SideIndex which)
{
    if (which == Participants && currentCourse().isEmpty())
        return;  // a participant belongs to a course
    Side &side = sides_[which];
    editedCourse_.reset();
    editedParticipant_.reset();
    for (QWidget *c : side.controls)
        edit::setValue(c, {});
    side.bar->setMode(Mode::Adding);
    side.box->show();
    side.controls.front()->setFocus();
}

void Tfrmpxjlbj::modify(SideIndex which)
{
    Side &side = sides_[which];
    const std::optional<int> row = side.currentRow();
    if (!row)
        return;
    const QSqlRecord record = side.model->record(*row);
    for (size_t i = 0; i < side.fields->size(); ++i) {
        const edit::Field &f = (*side.fields)[i];
        edit::setValue(side.controls[i], edit::shownValue(f, record.value(f.column)));
    }
    if (which == Courses)
        editedCourse_ = record.value("培训编码").toString();
    else
        editedParticipant_ = record.value("自动编号").toLongLong();
    side.bar->setMode(Mode::Editing);
    side.box->show();
    side.controls.front()->setFocus();
}

void Tfrmpxjlbj::save(SideIndex which)
{
    const Side &side = sides_[which];
    edit::Values values;
    for (size_t i = 0; i < side.fields->size(); ++i)
        values.insert((*side.fields)[i].key(), edit::valueOf(side.controls[i]));
    std::optional<qint64> participant;
    try {
        if (which == Courses)
            training::saveCourse(host().database(), values, editedCourse_);
        else
            participant = training::saveParticipant(host().database(), currentCourse(), values, editedParticipant_);
    } catch (const sql::Failure &e) {
        // The row stays pending, for correcting or "忽略"; the reason names what was refused.
        failure_message::show(this, e, {.title = kErrorTitle, .refusal = kNotWritten, .lead = kNotWritten});
        return;
    }
    finishEditing(which);
    if (which == Courses) {
        reloadCourses(values.value("培训编码").trimmed());
        reloadParticipants(std::nullopt);
    } else {
        reloadParticipants(participant);
    }
}

void Tfrmpxjlbj::ignore(SideIndex which) { finishEditing(which); }

void Tfrmpxjlbj::finishEditing(SideIndex which)
{
    Side &side = sides_[which];
    side.box->hide();
    editedCourse_.reset();
    editedParticipant_.reset();
    side.bar->setMode(Mode::Browse);
    side.bar->setRowShown(side.model->rowCount() > 0);
    side.grid->setFocus();
}

void Tfrmpxjlbj::remove(SideIndex which)
{
    const Side &side = sides_[which];
    const std::optional<int> row = side.currentRow();
    if (!row)
        return;
    if (prompt::ask(QStringLiteral("删除提示"), QStringLiteral("确定要删除这条培训内容吗？"), true, this) != prompt::Ok)
        return;
    try {
        if (which == Courses)
            training::deleteCourse(host().database(), currentCourse());
        else
            training::deleteParticipant(host().database(),
                                        side.model->index(*row, training::kParticipantIdColumn).data().toLongLong());
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.title = kErrorTitle, .refusal = kNotDeleted});
    }
    if (which == Courses)
        reloadCourses({});
    reloadParticipants(std::nullopt);
}
