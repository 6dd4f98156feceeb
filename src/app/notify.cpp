#include "app/notify.h"

#include "reports/print_progress.h"

#include <QMessageBox>
#include <QPushButton>

namespace notify {
namespace {
Observer &observer()
{
    static Observer o;
    return o;
}
Answerer &answerer()
{
    static Answerer a;
    return a;
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

void setObserver(Observer o)
{
    // What stops printing is told through the same observer.
    report::setTeller(o ? report::Teller([o](QWidget *, report::Tone tone, const QString &title, const QString &text,
                                                  const QString &) {
        o(tone == report::Tone::Information ? Kind::Information : Kind::Error, title, text);
    })
                        : report::Teller());
    observer() = std::move(o);
}

bool ask(QWidget *parent, const QString &title, const QString &text)
{
    if (answerer())
        return answerer()(title, text);
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QPushButton *yes = box.addButton(QStringLiteral("是"), QMessageBox::YesRole);
    box.setDefaultButton(box.addButton(QStringLiteral("否"), QMessageBox::NoRole));
    box.exec();
    return box.clickedButton() == yes;
}

void setAnswerer(Answerer a) { answerer() = std::move(a); }

}  // namespace notify
