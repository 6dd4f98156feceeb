#pragma once
// The first login with the delivered password: the operator sets a password of his own
// before anything else (at least 8 characters, not the delivered one), typed twice.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QSqlDatabase;

class NewPasswordDialog : public QDialog {
    Q_OBJECT
public:
    NewPasswordDialog(const QSqlDatabase &db, const QString &operatorNumber, QWidget *parent = nullptr);

    QLineEdit *passwordBox() const { return password_; }
    QLineEdit *repeatBox() const { return repeat_; }
    QPushButton *confirmButton() const { return confirm_; }
    QLabel *messageLabel() const { return message_; }

private:
    void confirm();

    QString connection_;
    QString number_;
    QLineEdit *password_;
    QLineEdit *repeat_;
    QPushButton *confirm_;
    QLabel *message_;
};
