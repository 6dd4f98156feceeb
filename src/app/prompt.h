#pragma once
// The program's own message box for confirmations and editing errors: a borderless modal
// window with a title strip, an icon, the message, "确定" and, when asked for, "忽略".
// prompt::ask returns 1 for "确定" or Enter, 2 for "忽略" or any other way of closing, and
// 0 when the call was abandoned because the icon file could not be loaded. Callers treat
// anything but 1 as "no". A message too long for the box makes the box taller; details (the
// database's own words behind a failure) wait behind "详细信息".

#include "db/scoped_hook.h"

#include <QDialog>
#include <QPixmap>
#include <QString>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QFrame;

class Tfrmprompt : public QDialog {
    Q_OBJECT
public:
    Tfrmprompt(const QString &title, const QString &message, bool withIgnore,
               const QPixmap &ignoreIcon = {}, QWidget *parent = nullptr, const QString &details = {});

    QLabel *titleStrip() const { return titleStrip_; }
    QLabel *messageLabel() const { return message_; }
    QLabel *iconLabel() const { return icon_; }
    QPushButton *okButton() const { return ok_; }
    QPushButton *ignoreButton() const { return ignore_; }
    QFrame *okPanel() const { return okPanel_; }
    QFrame *bevel() const { return bevel_; }
    QPushButton *detailsButton() const { return detailsButton_; }  // hidden without details
    QPlainTextEdit *detailsText() const { return detailsText_; }

    void reject() override;  // closing the window any other way answers 2

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fitMessage();
    void toggleDetails();  // "详细信息" shows the details below the buttons, or hides them

    QLabel *titleStrip_;
    QLabel *icon_;
    QLabel *message_;
    QFrame *okPanel_;
    QPushButton *ok_;
    QPushButton *ignore_;
    QFrame *bevel_;
    QPushButton *detailsButton_;
    QPlainTextEdit *detailsText_;
    QSize size_;  // without the details
};

namespace prompt {

enum Result { Abandoned = 0, Ok = 1, Ignore = 2 };

int ask(const QString &title, const QString &message, bool withIgnore, QWidget *parent = nullptr,
        const QString &details = {});

struct Call {
    QString title;
    QString message;
    bool withIgnore;
    QString details;
};
// Tests answer prompts through this seam and read what was asked; empty shows real windows.
using Answerer = std::function<int(const Call &)>;
void setAnswerer(Answerer answerer);
using ScopedAnswerer = ScopedHook<Answerer, &setAnswerer>;

}  // namespace prompt
