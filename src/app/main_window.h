#pragma once
// The frame of the program: menu bar, top bar with the quick-launch buttons and the
// navigation toggle, the navigator, the work area that hosts one function screen at a time,
// and the status bar. Screens are opened by class name through the screen registry.

#include "app/navigation.h"
#include "app/screen_host.h"
#include "app/screen_registry.h"

#include <QFrame>
#include <QMainWindow>
#include <vector>

class QAbstractButton;
class Tfrmhelp;
class QPushButton;
class FunctionScreen;

class TfrmMain : public QMainWindow, public ScreenHost {
    Q_OBJECT
public:
    explicit TfrmMain(const ScreenRegistry &registry, QWidget *parent = nullptr);

    QSqlDatabase database() const override;
    void Form1Enabled(bool enabled) override;
    QWidget *workArea() const override;
    void setWaitBoxVisible(bool visible) override;
    bool navigatorShown() const override;
    void setNavigatorShown(bool shown) override;
    void toggleNavigator();
    QWidget *openWindow(const QString &className, const QString &argument) override;

    // Opens the screen registered under `className` in the work area; nullptr if none is.
    FunctionScreen *openScreen(const QString &className);
    void run(const NavAction &action);
    // The user guide, at the section about the screen in front (F1, "帮助").
    Tfrmhelp *showHelp();
    // The window class of the screen or further window in front of the work area; empty for none.
    QString screenInFront() const;

    QWidget *navigator() const { return navigator_; }
    QWidget *quickLaunchBar() const { return quickLaunch_; }
    QPushButton *navigatorToggle() const { return toggle_; }
    QWidget *waitBox() const { return waitBox_; }
    QWidget *edgeStrip() const { return edge_; }
    int expandedGroup() const { return expanded_; }
    void pressGroupHeader(int index);
    // The size and navigator the logged-in operator left the window with, and keeping them.
    void restoreRemembered();
    void remember() const;
    QWidget *groupPanel(int index) const { return groupPanels_.at(size_t(index)); }
    QPushButton *groupHeader(int index) const { return groupHeaders_.at(size_t(index)); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool available(const NavAction &action) const;
    QAbstractButton *actionButton(QAbstractButton *button, const NavAction &action);
    QWidget *buildTopBar();
    QWidget *buildNavigator();
    void buildMenuBar();
    void expandGroup(int index);

    const ScreenRegistry &registry_;
    QWidget *navigator_ = nullptr;
    QWidget *quickLaunch_ = nullptr;
    QPushButton *toggle_ = nullptr;
    QWidget *work_ = nullptr;
    QFrame *edge_ = nullptr;
    QFrame *waitBox_ = nullptr;
    Tfrmhelp *help_ = nullptr;
    std::vector<QPushButton *> groupHeaders_;
    std::vector<QWidget *> groupPanels_;
    int expanded_ = 0;
};
