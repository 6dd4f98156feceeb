#include "app/notify.h"

#include <QMessageBox>

namespace notify {
namespace {
Observer &observer()
{
    static Observer o;
    return o;
}
}  // namespace

void show(QWidget *parent, Kind kind, const QString &title, const QString &text)
{
    if (observer()) {
        observer()(kind, title, text);
        return;
    }
    switch (kind) {
    case Kind::Information:
        QMessageBox::information(parent, title, text);
        break;
    case Kind::Warning:
        QMessageBox::warning(parent, title, text);
        break;
    case Kind::Error:
        QMessageBox::critical(parent, title, text);
        break;
    }
}

void setObserver(Observer o) { observer() = std::move(o); }

}  // namespace notify
