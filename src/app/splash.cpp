#include "app/splash.h"

#include "app/notify.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

Tfrmstart::Tfrmstart(const QPixmap &picture)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName("Tfrmstart");
    auto *label = new QLabel(this);
    label->setPixmap(picture);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    setFixedSize(picture.size());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

Tfrmstart *Tfrmstart::create()
{
    const QPixmap picture(QStringLiteral(":/splash.jpg"));
    if (picture.isNull()) {
        notify::show(nullptr, notify::Kind::Warning, QStringLiteral("启动"),
                     QStringLiteral("启动画面图片无法载入，程序将继续启动。"));
        return nullptr;
    }
    return new Tfrmstart(picture);
}

void holdSplash(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}
