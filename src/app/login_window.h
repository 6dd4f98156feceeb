#pragma once
// The operator login: name and masked password checked against czydmb through a connection
// of its own to the program's database; on a server they connect as the operator's own user
// there (server_roles.h), and that connection becomes the program's shared one. Three failed attempts end it like "退出". Logging in
// with the delivered password asks for a new one first; leaving that ends the login too.

#include "db/operators.h"

#include <QDialog>
#include <optional>

class QLineEdit;
class QPushButton;
class QLabel;

class Tfrmlogin : public QDialog {
    Q_OBJECT
public:
    explicit Tfrmlogin(const QString &databaseFile, QWidget *parent = nullptr);
    ~Tfrmlogin() override;

    QLineEdit *nameBox() const { return name_; }
    QLineEdit *passwordBox() const { return password_; }
    QPushButton *confirmButton() const { return confirm_; }
    QPushButton *quitButton() const { return quit_; }
    QLabel *hintLabel() const { return hint_; }
    int failedAttempts() const { return failures_; }
    // Who logged in (after an accepted login).
    const operators::Operator &loggedIn() const { return operator_; }

public slots:
    void BitBtn1Click();  // "确认"

private:
    void tellOpenError();  // why the database cannot be used, its own words behind "详细信息"

    QLineEdit *name_;
    QLineEdit *password_;
    QPushButton *confirm_;
    QPushButton *quit_;
    QLabel *hint_;
    int failures_ = 0;
    operators::Operator operator_;
    // A server: the name and password connect as the operator's own user of the server.
    bool logIn(const QString &name, const QString &password, std::optional<operators::Operator> *found);

    QString databaseFile_;
    bool server_ = false;
    bool connected_ = false;
    QString openError_;
    QString openDetails_;  // the database's own words behind openError_
};
