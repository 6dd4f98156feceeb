#include "app/screen_registry.h"

void ScreenRegistry::add(const QString &className, ScreenEntry entry)
{
    entries_.insert(className, std::move(entry));
}

const ScreenEntry *ScreenRegistry::find(const QString &className) const
{
    const auto it = entries_.constFind(className);
    return it == entries_.constEnd() ? nullptr : &it.value();
}

void ScreenRegistry::addWindow(const QString &className, WindowFactory factory)
{
    windows_.insert(className, std::move(factory));
}

const WindowFactory *ScreenRegistry::findWindow(const QString &className) const
{
    const auto it = windows_.constFind(className);
    return it == windows_.constEnd() ? nullptr : &it.value();
}

QPoint centredOrigin(const QSize &area, const QSize &screen)
{
    return {(area.width() - screen.width()) / 2, (area.height() - screen.height()) / 2};
}
