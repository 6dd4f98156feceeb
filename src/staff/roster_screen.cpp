#include "staff/roster_screen.h"

#include "app/failure_message.h"
#include "app/field_controls.h"
#include "app/grid_export.h"
#include "app/prompt.h"
#include "app/screen_registry.h"
#include "app/search_bar.h"
#include "app/striped_grid.h"
#include "app/title_strip.h"
#include "db/sql.h"
#include "db/windowed_rows.h"
#include "reports/print_preview.h"
#include "staff/roster_report.h"
#include "staff/roster_screens.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using roster::LevelRange;

namespace {

const QString kAllCategories = QStringLiteral("所有类别");

void reportFailure(const sql::Failure &failure)
{
    failure_message::show(nullptr, failure, {.reading = true});
}

}  // namespace

RosterScreen::RosterScreen(ScreenHost &host, const roster::Member &member)
    : FunctionScreen(host, member.screenClass), member_(member)
{
    setWindowTitle(member.windowTitle);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 6);

    column->addWidget(makeTitleStrip(member.windowTitle, this));

    auto *body = new QHBoxLayout;
    body->setContentsMargins(6, 0, 6, 0);
    body->addWidget(buildFilters());
    auto *rosterBox = new QGroupBox(QStringLiteral("花名册"), this);
    auto *rosterLayout = new QVBoxLayout(rosterBox);
    grid_ = new StripedGrid(rosterBox);
    model_ = new WindowedRows(roster::fieldTitles(), this);
    grid_->setModel(model_);
    rosterLayout->addWidget(new SearchBar(this, {grid_}));
    rosterLayout->addWidget(grid_);
    body->addWidget(rosterBox, 1);
    column->addLayout(body, 1);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(6, 0, 6, 0);
    buttons->addStretch();
    const auto button = [&](const QString &text, auto slot) {
        auto *b = new QPushButton(text, this);
        b->setMinimumSize(96, 30);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
    };
    button(QStringLiteral("详细信息"), &RosterScreen::showDetails);
    button(QStringLiteral("打印花名册"), &RosterScreen::printRoster);
    button(QStringLiteral("返回"), &RosterScreen::close);
    column->addLayout(buttons);

    // The screen fills the work area and follows it.
    setGeometry(host.workArea()->rect());
    host.workArea()->installEventFilter(this);

    fillLists();
    reload();
}

QWidget *RosterScreen::buildFilters()
{
    auto *box = new QGroupBox(QStringLiteral("查询条件"), this);
    box->setFixedWidth(300);
    auto *layout = new QVBoxLayout(box);

    layout->addWidget(new QLabel(QStringLiteral("单位信息"), box));
    auto *listRow = new QHBoxLayout;
    departments_ = new QTreeWidget(box);
    departments_->setHeaderLabels({QStringLiteral("编号"), QStringLiteral("部门名称")});
    departments_->setRootIsDecorated(false);
    departments_->setColumnWidth(0, 60);
    departments_->header()->setStretchLastSection(true);
    listRow->addWidget(departments_);
    connect(departments_, &QTreeWidget::currentItemChanged, this, [this] {
        if (!filling_)
            reload();
    });
    if (member_.arrowButtons) {
        auto *arrows = new QVBoxLayout;
        arrows->addStretch();
        up_ = new QPushButton(QStringLiteral("▲"), box);
        down_ = new QPushButton(QStringLiteral("▼"), box);
        for (QPushButton *b : {up_, down_}) {
            b->setFixedSize(28, 28);
            arrows->addWidget(b);
        }
        arrows->addStretch();
        connect(up_, &QPushButton::clicked, this, [this] { moveDepartment(-1); });
        connect(down_, &QPushButton::clicked, this, [this] { moveDepartment(1); });
        listRow->addLayout(arrows);
    }
    layout->addLayout(listRow, 1);

    const auto dropDown = [&](const QString &caption) {
        layout->addWidget(new QLabel(caption, box));
        auto *combo = new QComboBox(box);  // pick-only: not editable
        layout->addWidget(combo);
        connect(combo, &QComboBox::currentIndexChanged, this, [this] {
            if (!filling_)
                reload();
        });
        return combo;
    };
    level_ = dropDown(member_.levelCaption);

    auto *ranges = new QHBoxLayout;
    range_ = new QButtonGroup(this);
    const std::pair<LevelRange, const char *> captions[] = {
        {LevelRange::Above, "以上"}, {LevelRange::Equal, "等于"}, {LevelRange::Below, "以下"}};
    for (const auto &[range, text] : captions) {
        auto *radio = new QRadioButton(QString::fromUtf8(text), box);
        range_->addButton(radio, int(range));
        ranges->addWidget(radio);
    }
    range_->button(int(LevelRange::Above))->setChecked(true);
    connect(range_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked && !filling_)
            reload();
    });
    layout->addLayout(ranges);

    if (member_.categoryFilter)
        category_ = dropDown(QStringLiteral("技术类别"));
    if (member_.partyFilter)
        party_ = dropDown(QStringLiteral("政治面貌"));
    return box;
}

void RosterScreen::fillLists()
{
    filling_ = true;
    const QSqlDatabase db = host().database();
    try {
        // "全部" has no code: every department.
        departments_->addTopLevelItem(new QTreeWidgetItem({QString(), QStringLiteral("全部")}));
        for (const code_items::Item &d : roster::departments(db))
            departments_->addTopLevelItem(new QTreeWidgetItem({d.code, d.name}));
        departments_->setCurrentItem(departments_->topLevelItem(0));

        const roster::Filter opening = roster::openingFilter(db, member_);
        edit::fillCodeList(level_, roster::levelItems(db, member_), edit::Shown::CodeName);
        edit::setValue(level_, opening.level);
        if (category_)
            edit::fillCodeList(category_, roster::categoryItems(db), edit::Shown::CodeName, kAllCategories);
        if (party_) {
            edit::fillCodeList(party_, roster::partyItems(db), edit::Shown::CodeName);
            edit::setValue(party_, opening.party);
        }
    } catch (const sql::Failure &failure) {
        reportFailure(failure);
    }
    filling_ = false;
}

QRadioButton *RosterScreen::rangeButton(LevelRange range) const
{
    return qobject_cast<QRadioButton *>(range_->button(int(range)));
}

roster::Filter RosterScreen::filter() const
{
    roster::Filter f;
    const QTreeWidgetItem *department = departments_->currentItem();
    if (department && !department->text(0).isEmpty())
        f.department = department->text(0);
    f.level = edit::valueOf(level_);
    f.range = LevelRange(range_->checkedId());
    if (category_)
        f.category = edit::valueOf(category_);
    if (party_)
        f.party = edit::valueOf(party_);
    return f;
}

void RosterScreen::reload()
{
    try {
        model_->open(host().database(), roster::listing(host().database(), member_, filter()));
    } catch (const sql::Failure &failure) {
        reportFailure(failure);
    }
    grid_export::setExportTitle(*grid_, QStringLiteral("%1 %2").arg(xlsx::screenTitle(member_.windowTitle), coverage()));
    if (model_->rowCount() > 0)
        grid_->selectRow(0);
}

QString RosterScreen::coverage() const
{
    const QTreeWidgetItem *department = departments_->currentItem();
    QStringList parts{department ? department->text(1) : QStringLiteral("全部"),
                      level_->currentText() + range_->checkedButton()->text()};
    if (category_)
        parts << category_->currentText();
    if (party_)
        parts << party_->currentText();
    return parts.join(' ');
}

void RosterScreen::moveDepartment(int step)
{
    // Down stops at the last row, up at the first department (the arrows never reach "全部").
    const int row = departments_->indexOfTopLevelItem(departments_->currentItem()) + step;
    if (row >= 1 && row < departments_->topLevelItemCount())
        departments_->setCurrentItem(departments_->topLevelItem(row));
}

void RosterScreen::showDetails()
{
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid()) {
        prompt::ask(QStringLiteral("错误提示"), QStringLiteral("花名册中没有职工，无法显示详细信息。"), false, this);
        return;
    }
    host().openWindow(QStringLiteral("Tfrmgrxxzl"), model_->value(current.row(), roster::Code).toString());
}

void RosterScreen::printRoster()
{
    // The party roster prints nothing for the catch-all party "00".
    if (party_ && edit::valueOf(party_) == QStringLiteral("00"))
        return;
    const QString partyItem = party_ ? party_->currentText() : QString();
    try {
        // The rows shown, in the order shown, read again page by page as the printout needs them.
        report::preview(roster::layoutRosterFromSource(member_.reportClass, roster::printedTitle(member_, partyItem),
                                                       roster::rosterRows(host().database(), model_->listing()), coverage()),
                        this);
    } catch (const sql::Failure &failure) {
        reportFailure(failure);
    }
}

bool RosterScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return FunctionScreen::eventFilter(watched, event);
}

void registerRosterScreens(ScreenRegistry &registry)
{
    for (const roster::Member &m : roster::members())
        registry.add(m.screenClass, {Placement::Stored, [&m](ScreenHost &host) { return new RosterScreen(host, m); }});
}
