#pragma once
// The line over a record screen's right side: "职工编号" and "职工姓名" of the employee shown.

#include <QWidget>

class QHBoxLayout;
class QLabel;

class EmployeeHeader : public QWidget {
    Q_OBJECT
public:
    explicit EmployeeHeader(QWidget *parent = nullptr);

    void showEmployee(const QString &code, const QString &name);
    QString code() const;
    QString name() const;
    QHBoxLayout *row() const { return row_; }  // for a screen's own buttons at its end

private:
    QLabel *code_;
    QLabel *name_;
    QHBoxLayout *row_;
};
