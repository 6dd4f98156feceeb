#pragma once
// Tfrmgrxxzl: one employee's record on one read-only page, with his or her current department,
// position, title, skill grade and grade salary. Opened by other screens with an employee code,
// placed in the main window's work area over them; it does not lock the main window.

#include <QFrame>
#include <QSqlDatabase>

class DetailPanel;
class QLabel;
class QPlainTextEdit;
class QSqlQueryModel;
class QTabWidget;

class Tfrmgrxxzl : public QFrame {
    Q_OBJECT
public:
    Tfrmgrxxzl(const QSqlDatabase &db, const QString &employeeCode, QWidget *workArea);

    QLabel *titleStrip() const { return title_; }
    DetailPanel *detail() const { return detail_; }
    QPlainTextEdit *resume() const { return resume_; }
    QTabWidget *pages() const { return pages_; }

private:
    void showEmployee(const QString &code);

    QSqlDatabase db_;
    QLabel *title_;
    DetailPanel *detail_;
    QPlainTextEdit *resume_;
    QTabWidget *pages_;
    QSqlQueryModel *log_;
};
