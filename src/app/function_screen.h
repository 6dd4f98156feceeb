#pragma once
// Base of every function screen hosted in the main window's work area. Creating one disables
// the main window's menu and navigator; closing it enables them again and frees the screen.
// Statistics screens enable the main window from their return button instead.

#include "app/screen_host.h"

#include <QFrame>

class QPushButton;

class FunctionScreen : public QFrame {
    Q_OBJECT
public:
    enum class Reenable { OnClose, ByReturnButton };

    FunctionScreen(ScreenHost &host, const QString &className, Reenable reenable = Reenable::OnClose);

    // The screen's button with this caption, or nullptr.
    QPushButton *button(const QString &caption) const;

protected:
    ScreenHost &host() const { return host_; }
    // The return button of screens that re-enable the main window themselves.
    void returnToMainWindow();
    void closeEvent(QCloseEvent *event) override;

private:
    ScreenHost &host_;
    Reenable reenable_;
};
