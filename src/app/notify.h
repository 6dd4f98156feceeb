#pragma once
// Plain message boxes with a single OK button (information, warnings, start-up errors), and
// yes/no questions outside any screen. Tests install an observer that records the message
// instead of showing a box, and an answerer for the questions.

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

// A question with "是" and "否"; true for "是". Closing the box any other way answers "否".
bool ask(QWidget *parent, const QString &title, const QString &text);

using Answerer = std::function<bool(const QString &title, const QString &text)>;
void setAnswerer(Answerer answerer);  // an empty answerer asks the person again
using ScopedAnswerer = ScopedHook<Answerer, &setAnswerer>;

}  // namespace notify
