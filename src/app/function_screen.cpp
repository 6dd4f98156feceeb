#include "app/function_screen.h"

#include <QCloseEvent>
#include <QPushButton>

FunctionScreen::FunctionScreen(ScreenHost &host, const QString &className, Reenable reenable)
    : QFrame(host.workArea()), host_(host), reenable_(reenable)
{
    setObjectName(className);
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    host_.Form1Enabled(false);
}

QPushButton *FunctionScreen::button(const QString &caption) const
{
    for (QPushButton *b : findChildren<QPushButton *>())
        if (b->text() == caption)
            return b;
    return nullptr;
}

void FunctionScreen::returnToMainWindow()
{
    host_.Form1Enabled(true);
    close();
}

void FunctionScreen::closeEvent(QCloseEvent *event)
{
    if (reenable_ == Reenable::OnClose)
        host_.Form1Enabled(true);
    QFrame::closeEvent(event);
}
