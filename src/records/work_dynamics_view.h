#pragma once
// The work dynamics detail view: one employee's four history groups, read-only, over the
// screen that opened it; "返回" closes it.

#include <QFrame>
#include <QSqlDatabase>

class EmployeeHeader;
class HistoryPanels;

class Tfrmgzdtxxxx : public QFrame {
    Q_OBJECT
public:
    Tfrmgzdtxxxx(const QSqlDatabase &db, const QString &employeeCode, QWidget *workArea);

    void showEmployee(const QString &code);
    HistoryPanels *panels() const { return panels_; }
    QString shownCode() const;

private:
    QSqlDatabase db_;
    EmployeeHeader *header_;
    HistoryPanels *panels_;
};
