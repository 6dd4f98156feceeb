#pragma once
// TFrmzwdjxxxx: one employee's whole grade salary history (left) and every appraisal result
// (right), read-only, over the list that opened it; "打印一览表" prints both side by side,
// "返回" closes it.

#include "pay/pay_grids.h"

#include <QFrame>
#include <QSqlDatabase>

class QLabel;
class RowsModel;

class TFrmzwdjxxxx : public QFrame {
    Q_OBJECT
public:
    TFrmzwdjxxxx(const QSqlDatabase &db, const QString &employeeCode, QWidget *workArea);

    void showEmployee(const QString &code);
    QString shownCode() const;
    RowsModel *gradeSalaries() const { return gradeSalaries_; }
    RowsModel *results() const { return results_; }

    void print();  // "打印一览表"

private:
    QSqlDatabase db_;
    QLabel *code_;
    QLabel *name_;
    pay::Grid history_;     // as shown, for printing
    pay::Grid appraisals_;
    RowsModel *gradeSalaries_;
    RowsModel *results_;
};
