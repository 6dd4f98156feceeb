#pragma once
// Plain message boxes with a single OK button (information, warnings, start-up errors).
// Tests install an observer that records the message instead of showing a box.

#include "db/scoped_hook.h"

#include <QString>
#include <functional>

class QWidget;

namespace notify {

enum class Kind { Information, Warning, Error };

void show(QWidget *parent, Kind kind, const QString &title, const QString &text);

using Observer = std::function<void(Kind, const QString &title, const QString &text)>;
void setObserver(Observer observer);  // an empty observer shows real boxes again
using ScopedObserver = ScopedHook<Observer, &setObserver>;

}  // namespace notify
