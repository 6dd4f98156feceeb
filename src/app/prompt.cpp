#include "app/prompt.h"

#include "app/notify.h"
#include "db/app_paths.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <algorithm>

namespace {
constexpr int kWidth = 277;
constexpr int kHeight = 143;
constexpr int kIgnoreShift = 50;  // "确定" moves left to stand beside "忽略"
constexpr int kMaxWidth = 560;
constexpr int kDetailsHeight = 90;
}  // namespace

Tfrmprompt::Tfrmprompt(const QString &title, const QString &message, bool withIgnore,
                       const QPixmap &ignoreIcon, QWidget *parent, const QString &details)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName("Tfrmprompt");
    setFixedSize(kWidth, kHeight);
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
    message_->setGeometry(60, 32, kWidth - 72, 62);
    message_->setWordWrap(true);

    okPanel_ = new QFrame(this);
    // "确定" stands where "忽略" will be; with "忽略" it moves one button's width to the left.
    okPanel_->setGeometry(kWidth - 10 - kIgnoreShift, kHeight - 38, kIgnoreShift, 28);
    ok_ = new QPushButton(QStringLiteral("确定"), okPanel_);
    ok_->setGeometry(1, 1, kIgnoreShift - 2, 26);

    bevel_ = new QFrame(this);
    bevel_->setFrameShape(QFrame::HLine);
    bevel_->setFrameShadow(QFrame::Sunken);
    bevel_->setGeometry(8, kHeight - 46, kWidth - 16, 4);
    ignore_ = new QPushButton(QStringLiteral("忽略"), this);
    ignore_->setGeometry(kWidth - 10 - kIgnoreShift + 1, kHeight - 37, kIgnoreShift - 2, 26);

    detailsButton_ = new QPushButton(QStringLiteral("详细信息"), this);
    detailsButton_->setGeometry(10, kHeight - 37, 70, 26);
    detailsButton_->setVisible(!details.isEmpty());
    detailsText_ = new QPlainTextEdit(details, this);
    detailsText_->setReadOnly(true);
    detailsText_->setGeometry(8, kHeight - 4, kWidth - 16, kDetailsHeight - 8);
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
    fitMessage();
    size_ = size();
}

void Tfrmprompt::fitMessage()
{
    // A long message keeps its words whole: the window widens for a word (a file's path) wider
    // than the box, up to a limit, and grows downwards for the lines, instead of cutting them off.
    // Chinese text breaks between any two characters; a run of other characters only at a blank.
    static const QRegularExpression word(QStringLiteral("[^\\s\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]+"));
    const QFontMetrics metrics(message_->font());
    int widestWord = 0;
    for (QRegularExpressionMatchIterator it = word.globalMatch(message_->text()); it.hasNext();)
        widestWord = std::max(widestWord, metrics.horizontalAdvance(it.next().captured()));
    const int extraWidth = std::clamp(widestWord - message_->width(), 0, kMaxWidth - kWidth);
    const int width = message_->width() + extraWidth;
    const int extraHeight = std::max(0, message_->heightForWidth(width) - message_->height());
    if (extraWidth == 0 && extraHeight == 0)
        return;
    setFixedSize(kWidth + extraWidth, kHeight + extraHeight);
    message_->resize(width, message_->height() + extraHeight);
    for (QWidget *w : {static_cast<QWidget *>(titleStrip_), static_cast<QWidget *>(bevel_),
                       static_cast<QWidget *>(detailsText_)})
        w->resize(w->width() + extraWidth, w->height());
    for (QWidget *w : {static_cast<QWidget *>(okPanel_), static_cast<QWidget *>(ignore_)})
        w->move(w->x() + extraWidth, w->y() + extraHeight);
    for (QWidget *w : {static_cast<QWidget *>(bevel_), static_cast<QWidget *>(detailsButton_),
                       static_cast<QWidget *>(detailsText_)})
        w->move(w->x(), w->y() + extraHeight);
}

void Tfrmprompt::toggleDetails()
{
    const bool showing = detailsText_->isHidden();
    detailsText_->setVisible(showing);
    setFixedSize(size_.width(), size_.height() + (showing ? kDetailsHeight : 0));
}

void Tfrmprompt::reject() { done(prompt::Ignore); }

void Tfrmprompt::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        done(prompt::Ok);
    else if (event->key() == Qt::Key_Escape)
        done(prompt::Ignore);
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
