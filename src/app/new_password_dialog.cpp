#include "app/new_password_dialog.h"

#include "db/failure_text.h"
#include "db/operators.h"
#include "db/sql.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>

NewPasswordDialog::NewPasswordDialog(const QSqlDatabase &db, const QString &operatorNumber, QWidget *parent)
    : QDialog(parent), connection_(db.connectionName()), number_(operatorNumber)
{
    setObjectName("NewPasswordDialog");
    setWindowTitle(QStringLiteral("设置新密码"));
    auto *grid = new QGridLayout(this);
    auto *why = new QLabel(QStringLiteral("您使用的是初始密码，请先设置自己的密码（至少%1个字符）。")
                               .arg(operators::kShortestPassword),
                           this);
    why->setWordWrap(true);
    grid->addWidget(why, 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("新密码"), this), 1, 0);
    password_ = new QLineEdit(this);
    password_->setEchoMode(QLineEdit::Password);
    grid->addWidget(password_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("再输一次"), this), 2, 0);
    repeat_ = new QLineEdit(this);
    repeat_->setEchoMode(QLineEdit::Password);
    grid->addWidget(repeat_, 2, 1);
    message_ = new QLabel(this);
    message_->setStyleSheet("color: red;");
    grid->addWidget(message_, 3, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    confirm_ = new QPushButton(QStringLiteral("确认"), this);
    auto *quit = new QPushButton(QStringLiteral("退出"), this);
    confirm_->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(confirm_);
    buttons->addWidget(quit);
    grid->addLayout(buttons, 4, 0, 1, 2);
    connect(confirm_, &QPushButton::clicked, this, &NewPasswordDialog::confirm);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(360);
}

void NewPasswordDialog::confirm()
{
    const QString typed = password_->text();
    QString refused = operators::passwordRefusal(typed);
    if (refused.isEmpty() && typed != repeat_->text())
        refused = QStringLiteral("两次输入的密码不一致。");
    if (refused.isEmpty()) {
        try {
            operators::changeOwnPassword(QSqlDatabase::database(connection_, false), number_, typed);
            accept();
            return;
        } catch (const sql::Failure &e) {
            refused = failure_text::said(e).text;
        }
    }
    message_->setText(refused);
    password_->clear();
    repeat_->clear();
    password_->setFocus();
}
