#pragma once
// What a function screen may ask of the main window that hosts it.

#include <QSqlDatabase>

class QString;
class QWidget;

class ScreenHost {
public:
    virtual ~ScreenHost() = default;
    // The connection the screens read and write through.
    virtual QSqlDatabase database() const = 0;
    // Enables or disables the menu (all but "帮助"), the quick-launch bar and the navigator.
    virtual void Form1Enabled(bool enabled) = 0;
    // The area screens and their further windows (sheets, charts, detail views) live in.
    virtual QWidget *workArea() const = 0;
    // The "正在处理数据，请稍后......" box over the work area and the wait cursor, for long work.
    virtual void setWaitBoxVisible(bool visible) = 0;
    // Whether the navigator shows; screens that want the whole width hide it and give it back
    // as it was.
    virtual bool navigatorShown() const = 0;
    virtual void setNavigatorShown(bool shown) = 0;
    // A further window one screen opens for another (the personal information sheet with an
    // employee code, say), placed in the work area; nullptr when that window is not built.
    virtual QWidget *openWindow(const QString &className, const QString &argument) = 0;
};

// The wait box and the wait cursor for as long as a rebuild or a generation runs, however it ends.
class WaitingBox {
public:
    explicit WaitingBox(ScreenHost &host) : host_(host) { host_.setWaitBoxVisible(true); }
    ~WaitingBox() { host_.setWaitBoxVisible(false); }
    WaitingBox(const WaitingBox &) = delete;
    WaitingBox &operator=(const WaitingBox &) = delete;

private:
    ScreenHost &host_;
};
