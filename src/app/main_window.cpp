#include "app/main_window.h"

#include "app/function_screen.h"
#include "app/help_window.h"
#include "app/notify.h"
#include "app/operator_settings.h"
#include "app/picture_frame.h"
#include "app/prompt.h"
#include "db/database.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace navigation_texts;

namespace {
constexpr int kNavigatorWidth = 180;
constexpr int kEdgeWidth = 4;

QFrame *verticalBevel(QWidget *parent)
{
    auto *bevel = new QFrame(parent);
    bevel->setFrameShape(QFrame::VLine);
    bevel->setFrameShadow(QFrame::Sunken);
    return bevel;
}
}  // namespace

TfrmMain::TfrmMain(const ScreenRegistry &registry, QWidget *parent)
    : QMainWindow(parent), registry_(registry)
{
    setObjectName("TfrmMain");
    setWindowTitle(kProductTitle);
    buildMenuBar();

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildTopBar());

    auto *row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(buildNavigator());
    edge_ = new QFrame(central);
    edge_->setFixedWidth(kEdgeWidth);
    edge_->setStyleSheet("background: #7f9db9;");
    row->addWidget(edge_);

    auto *work = new PictureFrame(":/workarea.png", central);
    work->setObjectName("workArea");
    work_ = work;
    row->addWidget(work_, 1);
    column->addLayout(row, 1);
    setCentralWidget(central);

    waitBox_ = new QFrame(work_);
    waitBox_->setFrameShape(QFrame::Box);
    waitBox_->setStyleSheet("QFrame { background: #fffbe6; }");
    auto *waitLayout = new QVBoxLayout(waitBox_);
    waitLayout->addWidget(new QLabel(QStringLiteral("正在处理数据，请稍后......"), waitBox_));
    auto *animation = new QProgressBar(waitBox_);
    animation->setRange(0, 0);
    animation->setTextVisible(false);
    animation->setFixedHeight(10);
    waitLayout->addWidget(animation);
    waitBox_->setFixedSize(260, 70);
    waitBox_->hide();
    connect(work, &PictureFrame::resized, this, [this] {
        waitBox_->move(centredOrigin(work_->size(), waitBox_->size()));
    });

    statusBar();
    expandGroup(0);
    // F1 works over every screen and dialog of the program.
    auto *f1 = new QShortcut(QKeySequence::HelpContents, this);
    f1->setContext(Qt::ApplicationShortcut);
    connect(f1, &QShortcut::activated, this, &TfrmMain::showHelp);
}

QWidget *TfrmMain::workArea() const { return work_; }

bool TfrmMain::available(const NavAction &action) const
{
    // An entry with nothing behind it is greyed rather than silently doing nothing.
    if (action.kind == NavAction::Inert)
        return false;
    return action.kind != NavAction::Open || registry_.contains(action.target);
}

QAbstractButton *TfrmMain::actionButton(QAbstractButton *button, const NavAction &action)
{
    button->setEnabled(available(action));
    connect(button, &QAbstractButton::clicked, this, [this, action] { run(action); });
    return button;
}

void TfrmMain::buildMenuBar()
{
    for (const MenuEntry &entry : menuEntries()) {
        if (entry.items.empty()) {
            QAction *own = menuBar()->addAction(entry.title);
            own->setEnabled(available(entry.ownAction));
            connect(own, &QAction::triggered, this, [this, a = entry.ownAction] { run(a); });
            continue;
        }
        QMenu *menu = menuBar()->addMenu(entry.title);
        for (const MenuItem &item : entry.items) {
            if (item.caption.isEmpty()) {
                menu->addSeparator();
                continue;
            }
            QAction *a = menu->addAction(item.caption);
            a->setEnabled(available(item.action));
            connect(a, &QAction::triggered, this, [this, act = item.action] { run(act); });
        }
    }
}

QWidget *TfrmMain::buildTopBar()
{
    auto *bar = new PictureFrame(":/topbar.png", this);
    bar->setObjectName("topBar");
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(4, 2, 8, 2);

    quickLaunch_ = new QWidget(bar);
    quickLaunch_->setObjectName("quickLaunchBar");
    auto *buttons = new QHBoxLayout(quickLaunch_);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(2);
    bool first = true;
    for (const QuickLaunchButton &q : quickLaunchButtons()) {
        if (!first)
            buttons->addWidget(verticalBevel(quickLaunch_));
        first = false;
        auto *b = new QToolButton(quickLaunch_);
        b->setText(q.line1 + '\n' + q.line2);
        b->setAutoRaise(true);
        b->setMinimumSize(64, 44);
        actionButton(b, {NavAction::Open, q.screenClass});
        buttons->addWidget(b);
    }
    layout->addWidget(quickLaunch_);
    layout->addStretch();

    toggle_ = new QPushButton(kHideNavigator, bar);
    toggle_->setObjectName("navigatorToggle");
    connect(toggle_, &QPushButton::clicked, this, &TfrmMain::toggleNavigator);
    layout->addWidget(toggle_);
    return bar;
}

QWidget *TfrmMain::buildNavigator()
{
    navigator_ = new QFrame(this);
    navigator_->setObjectName("navigator");
    navigator_->setFixedWidth(kNavigatorWidth);
    navigator_->setStyleSheet(
        "#navigator { background: #dfe8f1; }"
        "QPushButton[groupHeader=\"true\"] { font-weight: bold; padding: 5px; background: #9cc0de; }"
        "QPushButton[groupHeader=\"false\"] { padding: 3px; }");
    auto *layout = new QVBoxLayout(navigator_);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(1);

    const std::vector<NavGroup> &groups = navigatorGroups();
    for (size_t i = 0; i < groups.size(); ++i) {
        const NavGroup &group = groups[i];
        const bool last = i + 1 == groups.size();
        if (last)
            layout->addStretch();  // "退出系统" is pinned to the bottom of the strip
        auto *header = new QPushButton(group.header, navigator_);
        header->setProperty("groupHeader", true);
        const int index = int(i);
        if (group.buttons.empty())
            header->setEnabled(available(group.headerAction));
        connect(header, &QPushButton::clicked, this, [this, index] { pressGroupHeader(index); });
        layout->addWidget(header);
        groupHeaders_.push_back(header);

        auto *panel = new QWidget(navigator_);
        auto *panelLayout = new QVBoxLayout(panel);
        panelLayout->setContentsMargins(6, 2, 6, 4);
        panelLayout->setSpacing(1);
        for (const NavButton &nb : group.buttons) {
            auto *b = new QPushButton(nb.caption, panel);
            b->setProperty("groupHeader", false);
            actionButton(b, nb.action);
            b->setVisible(!nb.hidden);
            if (nb.hidden)
                b->setProperty("hiddenEntry", true);
            panelLayout->addWidget(b);
        }
        layout->addWidget(panel);
        groupPanels_.push_back(panel);
    }
    return navigator_;
}

void TfrmMain::expandGroup(int index)
{
    expanded_ = index;
    for (size_t i = 0; i < groupPanels_.size(); ++i)
        groupPanels_[i]->setVisible(int(i) == index);
}

void TfrmMain::pressGroupHeader(int index)
{
    const NavGroup &group = navigatorGroups().at(size_t(index));
    if (group.buttons.empty() && group.headerAction.kind == NavAction::Quit) {
        run(group.headerAction);
        return;
    }
    expandGroup(index);
    if (group.buttons.empty())
        run(group.headerAction);
}

void TfrmMain::run(const NavAction &action)
{
    switch (action.kind) {
    case NavAction::Open:
        openScreen(action.target);
        break;
    case NavAction::Information:
        notify::show(this, notify::Kind::Information, kProductTitle, action.target);
        break;
    case NavAction::Quit:
        close();
        break;
    case NavAction::Help:
        showHelp();
        break;
    case NavAction::Inert:
        break;
    }
}

QString TfrmMain::screenInFront() const
{
    const QObjectList children = work_->children();
    // Children stack in order: the last one shown is in front.
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        const auto *w = qobject_cast<const QWidget *>(*it);
        if (w && w != waitBox_ && w->isVisible() && !w->objectName().isEmpty())
            return w->objectName();
    }
    return {};
}

Tfrmhelp *TfrmMain::showHelp()
{
    if (!help_)
        help_ = new Tfrmhelp(this);
    help_->showPlace(help::placeOf(screenInFront()));
    return help_;
}

FunctionScreen *TfrmMain::openScreen(const QString &className)
{
    const ScreenEntry *entry = registry_.find(className);
    if (!entry)
        return nullptr;
    FunctionScreen *screen = entry->create(*this);
    if (!screen)
        return nullptr;
    if (entry->placement == Placement::Centred)
        screen->move(centredOrigin(work_->size(), screen->size()));
    screen->show();
    screen->raise();
    return screen;
}

QSqlDatabase TfrmMain::database() const { return database::shared(); }

QWidget *TfrmMain::openWindow(const QString &className, const QString &argument)
{
    const WindowFactory *factory = registry_.findWindow(className);
    if (!factory)
        return nullptr;
    QWidget *window = (*factory)(*this, argument);
    if (window) {
        window->show();
        window->raise();
    }
    return window;
}

void TfrmMain::Form1Enabled(bool enabled)
{
    const QList<QAction *> entries = menuBar()->actions();
    const std::vector<MenuEntry> &table = menuEntries();
    // Every top-level entry but the last ("帮助") follows the argument.
    for (qsizetype i = 0; i + 1 < entries.size(); ++i) {
        const MenuEntry &entry = table.at(size_t(i));
        entries[i]->setEnabled(enabled && (!entry.items.empty() || available(entry.ownAction)));
    }
    quickLaunch_->setEnabled(enabled);
    navigator_->setEnabled(enabled);
}

void TfrmMain::setWaitBoxVisible(bool visible)
{
    if (visible != waitBox_->isVisible()) {
        if (visible)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }
    waitBox_->move(centredOrigin(work_->size(), waitBox_->size()));
    waitBox_->setVisible(visible);
    if (visible) {
        waitBox_->raise();
        waitBox_->repaint();
    }
}

void TfrmMain::toggleNavigator() { setNavigatorShown(!navigatorShown()); }

bool TfrmMain::navigatorShown() const { return !navigator_->isHidden(); }

void TfrmMain::setNavigatorShown(bool show)
{
    navigator_->setVisible(show);
    edge_->setVisible(show);
    toggle_->setText(show ? kHideNavigator : kShowNavigator);
}

void TfrmMain::restoreRemembered()
{
    const QByteArray geometry = operator_settings::value("mainWindow/geometry").toByteArray();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    if (navigator_->isHidden() == operator_settings::value("mainWindow/navigatorShown", true).toBool())
        toggleNavigator();
    const int group = operator_settings::value("mainWindow/expandedGroup", 0).toInt();
    if (group >= 0 && size_t(group) < groupPanels_.size() && !navigatorGroups().at(size_t(group)).buttons.empty())
        expandGroup(group);
}

void TfrmMain::remember() const
{
    operator_settings::setValue("mainWindow/geometry", saveGeometry());
    operator_settings::setValue("mainWindow/navigatorShown", !navigator_->isHidden());
    operator_settings::setValue("mainWindow/expandedGroup", expanded_);
    operator_settings::flush();
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (prompt::ask(QStringLiteral("退出提示"), QStringLiteral("您确定要退出本系统吗？"), true, this)
        == prompt::Ok) {
        remember();
        event->accept();
    } else {
        event->ignore();
    }
}
