#pragma once
// The detail window of a condition list ("详细信息"): a further window of the main window
// (ScreenHost::openWindow) showing the selected employee. Opened once and brought back after;
// while open it follows the list's selection; it closes with the list's screen.

#include "app/screen_host.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

class ConditionList;

class DetailWindow : public QObject {
    Q_OBJECT
public:
    // `show` puts an employee code into the open window.
    using Show = std::function<void(QWidget *window, const QString &employeeCode)>;

    DetailWindow(ConditionList *list, ScreenHost &host, QString className, Show show);
    ~DetailWindow() override;

    QWidget *window() const { return window_; }
    // Opens the window for `code`, or shows `code` in the one open and raises it.
    void open(const QString &code);

private:
    ScreenHost &host_;
    QString className_;
    Show show_;
    QPointer<QWidget> window_;
};
