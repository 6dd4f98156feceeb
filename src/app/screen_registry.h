#pragma once
// Window class name → how to build that screen. The main window opens every screen through
// this one table; an entry of the navigator or menu whose class is not registered is disabled.

#include "app/screen_host.h"

#include <QMap>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>

class FunctionScreen;

enum class Placement {
    Stored,   // at the position the screen gives itself
    Centred,  // centred in the work area (the code table screens)
};

struct ScreenEntry {
    Placement placement = Placement::Stored;
    std::function<FunctionScreen *(ScreenHost &)> create;
};

// A further window opened by a screen with one argument; it parents itself to the work area.
using WindowFactory = std::function<QWidget *(ScreenHost &, const QString &argument)>;

class ScreenRegistry {
public:
    void add(const QString &className, ScreenEntry entry);
    bool contains(const QString &className) const { return entries_.contains(className); }
    const ScreenEntry *find(const QString &className) const;

    void addWindow(const QString &className, WindowFactory factory);
    const WindowFactory *findWindow(const QString &className) const;

    // Every class registered, screens and further windows.
    QStringList classNames() const { return entries_.keys() + windows_.keys(); }

private:
    QMap<QString, ScreenEntry> entries_;
    QMap<QString, WindowFactory> windows_;
};

// Top-left corner that centres `screen` in `area`, halving with truncation towards zero;
// a screen larger than the area gets a negative offset.
QPoint centredOrigin(const QSize &area, const QSize &screen);

// Every screen the program has, registered by each subsystem.
void registerAllScreens(ScreenRegistry &registry);

// What the subsystems keep in the database file (their work tables), registered before the
// database is opened.
void registerStoredTables();
