#include "app/prompt.h"

#include "app/notify.h"
#include "db/app_paths.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

namespace {
constexpr int kWidth = 277;
constexpr int kHeight = 143;
constexpr int kIgnoreShift = 50;  // "确定" moves left to stand beside "忽略"
constexpr int kMessageHeight = 62;
constexpr int kDetailsHeight = 90;
}  // namespace

Tfrmprompt::Tfrmprompt(const QString &title, const QString &message, bool withIgnore,
                       const QPixmap &ignoreIcon, QWidget *parent, const QString &details)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName("Tfrmprompt");
    setModal(true);
    setStyleSheet("Tfrmprompt { background: #f0f0f0; border: 1px solid #404040; }");

    titleStrip_ = new QLabel(" " + title, this);
    titleStrip_->setGeometry(1, 1, kWidth - 2, 22);
    titleStrip_->setStyleSheet("background: #0a246a; color: white; font-weight: bold;");

    icon_ = new QLabel(this);
    icon_->setGeometry(16, 38, 32, 32);
    icon_->setPixmap(withIgnore && !ignoreIcon.isNull() ? ignoreIcon : QPixmap(":/prompt.png"));
    icon_->setScaledContents(true);

    message_ = new QLabel(message, this);
    message_->setWordWrap(true);
    // A longer message (a failure said after what could not be done) makes the box taller.
    const int messageHeight = std::max(kMessageHeight, message_->heightForWidth(kWidth - 72));
    message_->setGeometry(60, 32, kWidth - 72, messageHeight);
    height_ = kHeight + messageHeight - kMessageHeight;
    setFixedSize(kWidth, height_);

    okPanel_ = new QFrame(this);
    // "确定" stands where "忽略" will be; with "忽略" it moves one button's width to the left.
    okPanel_->setGeometry(kWidth - 10 - kIgnoreShift, height_ - 38, kIgnoreShift, 28);
    ok_ = new QPushButton(QStringLiteral("确定"), okPanel_);
    ok_->setGeometry(1, 1, kIgnoreShift - 2, 26);

    bevel_ = new QFrame(this);
    bevel_->setFrameShape(QFrame::HLine);
    bevel_->setFrameShadow(QFrame::Sunken);
    bevel_->setGeometry(8, height_ - 46, kWidth - 16, 4);
    ignore_ = new QPushButton(QStringLiteral("忽略"), this);
    ignore_->setGeometry(kWidth - 10 - kIgnoreShift + 1, height_ - 37, kIgnoreShift - 2, 26);

    detailsButton_ = new QPushButton(QStringLiteral("详细信息"), this);
    detailsButton_->setGeometry(10, height_ - 37, 70, 26);
    detailsButton_->setVisible(!details.isEmpty());
    detailsText_ = new QPlainTextEdit(details, this);
    detailsText_->setReadOnly(true);
    detailsText_->setGeometry(8, height_ - 4, kWidth - 16, kDetailsHeight - 8);
    detailsText_->hide();
    connect(detailsButton_, &QPushButton::clicked, this, &Tfrmprompt::toggleDetails);

    // No control takes the focus: keys go to the window, where Enter means "确定".
    for (QPushButton *b : {ok_, ignore_, detailsButton_}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
    }
    connect(ok_, &QPushButton::clicked, this, [this] { done(prompt::Ok); });
    connect(ignore_, &QPushButton::clicked, this, [this] { done(prompt::Ignore); });

    ignore_->setVisible(withIgnore);
    bevel_->setVisible(withIgnore);
    if (withIgnore)
        okPanel_->move(okPanel_->x() - kIgnoreShift, okPanel_->y());
}

void Tfrmprompt::toggleDetails()
{
    const bool showing = detailsText_->isHidden();
    detailsText_->setVisible(showing);
    setFixedSize(kWidth, height_ + (showing ? kDetailsHeight : 0));
}

void Tfrmprompt::reject() { done(prompt::Ignore); }

void Tfrmprompt::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        done(prompt::Ok);
    else
        event->ignore();
}

namespace prompt {
namespace {
Answerer &answerer()
{
    static Answerer a;
    return a;
}
}  // namespace

void setAnswerer(Answerer a) { answerer() = std::move(a); }

int ask(const QString &title, const QString &message, bool withIgnore, QWidget *parent, const QString &details)
{
    QPixmap icon;
    if (withIgnore) {
        const QString file = app_paths::promptIconFile();
        if (!icon.load(file)) {
            notify::show(parent, notify::Kind::Error, QStringLiteral("错误"),
                         QStringLiteral("无法载入图标文件：%1").arg(file));
            return Abandoned;
        }
    }
    if (answerer())
        return answerer()({title, message, withIgnore, details});
    Tfrmprompt window(title, message, withIgnore, icon, parent, details);
    QApplication::beep();
    return window.exec();
}

}  // namespace prompt
