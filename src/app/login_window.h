#pragma once
// The operator login: name and masked password checked against czydmb through a connection
// of its own to the program's database. Three failed attempts end it like "退出".

#include <QDialog>

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

public slots:
    void BitBtn1Click();  // "确认"

private:
    QLineEdit *name_;
    QLineEdit *password_;
    QPushButton *confirm_;
    QPushButton *quit_;
    QLabel *hint_;
    int failures_ = 0;
    bool connected_ = false;
    QString openError_;
};
