#pragma once
// The main window's navigator, quick-launch bar and menu bar, written as tables.

#include <QString>
#include <vector>

struct NavAction {
    enum Kind { Open, Inert, Information, Quit, Help };
    Kind kind = Inert;
    QString target;  // Open: the window class; Information: the message text
};

struct NavButton {
    QString caption;
    NavAction action;
    bool hidden = false;
};

struct NavGroup {
    QString header;
    std::vector<NavButton> buttons;
    NavAction headerAction = {};  // a group without buttons acts from its header
};

struct QuickLaunchButton {
    QString line1;
    QString line2;
    QString screenClass;
};

struct MenuItem {
    QString caption;  // empty: a separator
    NavAction action;
};

struct MenuEntry {
    QString title;
    std::vector<MenuItem> items;
    NavAction ownAction = {};  // an entry without items acts itself
};

const std::vector<NavGroup> &navigatorGroups();
const std::vector<QuickLaunchButton> &quickLaunchButtons();
const std::vector<MenuEntry> &menuEntries();

namespace navigation_texts {
extern const QString kProductTitle;
extern const QString kHideNavigator;
extern const QString kShowNavigator;
}  // namespace navigation_texts
