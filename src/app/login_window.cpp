#include "app/login_window.h"

#include "app/failure_message.h"
#include "app/new_password_dialog.h"
#include "app/prompt.h"
#include "db/database.h"
#include "db/delivered_data.h"
#include "db/operators.h"
#include "db/rights.h"
#include "db/server_database.h"
#include "db/server_roles.h"
#include "db/sql.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int kLastAttempt = 2;  // the third failure ends the login
}

Tfrmlogin::Tfrmlogin(const QString &databaseFile, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName("Tfrmlogin");
    setStyleSheet("Tfrmlogin { background: #e8eef4; border: 2px solid #2d6e9e; }");
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(28, 24, 28, 18);
    grid->setVerticalSpacing(12);

    auto *heading = new QLabel(QStringLiteral("人事管理信息系统  操作员登录"), this);
    heading->setStyleSheet("font-size: 16px; font-weight: bold; color: #1f4f7b;");
    grid->addWidget(heading, 0, 0, 1, 2, Qt::AlignHCenter);

    grid->addWidget(new QLabel(QStringLiteral("操作员姓名"), this), 1, 0);
    name_ = new QLineEdit(this);
    grid->addWidget(name_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("操作员密码"), this), 2, 0);
    password_ = new QLineEdit(this);
    password_->setEchoMode(QLineEdit::Password);
    grid->addWidget(password_, 2, 1);

    hint_ = new QLabel(QStringLiteral("初始操作员：%1    初始密码：%2")
                           .arg(delivered::kOperatorName, delivered::kOperatorPassword),
                       this);
    hint_->setStyleSheet("color: red;");
    grid->addWidget(hint_, 3, 0, 1, 2);

    auto *buttons = new QHBoxLayout;
    confirm_ = new QPushButton(QStringLiteral("确认"), this);
    quit_ = new QPushButton(QStringLiteral("退出"), this);
    confirm_->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(confirm_);
    buttons->addWidget(quit_);
    grid->addLayout(buttons, 4, 0, 1, 2);
    connect(confirm_, &QPushButton::clicked, this, &Tfrmlogin::BitBtn1Click);
    connect(quit_, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(380, 230);

    server_ = database::isServerAddress(databaseFile);
    databaseFile_ = databaseFile;
    if (server_) {
        // Nobody is connected before the login: whether the delivered password still works
        // is not known, and the server is not asked with it.
        hint_->hide();
        connected_ = true;
        return;
    }
    // The program checked the pages of this file at start; the login checks who it is.
    const database::OpenResult opened = database::open(database::kLoginConnection, databaseFile, database::Check::Identity);
    connected_ = opened.ok;
    openError_ = opened.message;
    openDetails_ = opened.details;
    if (!connected_)
        tellOpenError();
    try {
        hint_->setVisible(connected_ && operators::deliveredPasswordInUse(QSqlDatabase::database(database::kLoginConnection, false)));
    } catch (const sql::Failure &) {
        hint_->hide();  // the table cannot be read: the confirm button reports that
    }
}

Tfrmlogin::~Tfrmlogin() { database::close(database::kLoginConnection); }

void Tfrmlogin::tellOpenError() { prompt::ask(QStringLiteral("错误"), openError_, false, this, openDetails_); }

void Tfrmlogin::BitBtn1Click()
{
    if (!connected_) {
        tellOpenError();
        return;
    }
    std::optional<operators::Operator> found;
    if (server_ && !logIn(name_->text(), password_->text(), &found))
        return;
    const QSqlDatabase db = QSqlDatabase::database(server_ ? database::kSharedConnection : database::kLoginConnection, false);
    try {
        if (!server_)
            found = operators::logIn(db, name_->text(), password_->text());
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.title = QStringLiteral("错误"), .reading = true});
        return;
    }
    if (found) {
        operator_ = *found;
        // From here the process works for him: the new password below is his change.
        rights::setSession({found->name, found->role});
        // The delivered password is known to everyone: nothing opens before it is replaced.
        if (password_->text() == delivered::kOperatorPassword) {
            NewPasswordDialog change(db, found->number, this);
            if (change.exec() != QDialog::Accepted) {
                reject();
                return;
            }
            if (server_) {
                database::setServerPassword(change.passwordBox()->text());
                database::shared().setPassword(change.passwordBox()->text());
            }
        }
        accept();
        return;
    }
    if (failures_ == kLastAttempt) {
        reject();
        return;
    }
    ++failures_;
    password_->clear();
    password_->setFocus();
}

bool Tfrmlogin::logIn(const QString &name, const QString &password, std::optional<operators::Operator> *found)
{
    // No operator's user on a server logs in without a password; the server would only say
    // that none was given, which is no reason to stop the login.
    if (password.isEmpty())
        return true;
    database::Address address = database::parseAddress(databaseFile_);
    address.user = server_roles::userName(name, address.name);
    address.password = password;
    const database::OpenResult opened = database::openServer(database::kSharedConnection, address);
    if (!opened.ok) {
        // A name or password the server does not know is a failed attempt like any other.
        if (!opened.refusedLogin) {
            prompt::ask(QStringLiteral("错误"), opened.message, false, this, opened.details);
            return false;
        }
        return true;
    }
    // Whatever else opens a connection of the program's (a printout's own) opens it as him.
    database::setServerPassword(password);
    try {
        *found = operators::connected(database::shared(), name);
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.title = QStringLiteral("错误"), .reading = true});
        database::close(database::kSharedConnection);
        return false;
    }
    if (!*found)
        database::close(database::kSharedConnection);
    return true;
}
