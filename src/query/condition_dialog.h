#pragma once
// The combined-condition dialog "  模糊查询条件": the operator's choices become a Condition
// that the calling screen appends to its base query.

#include "query/condition.h"

#include <QDialog>
#include <QSqlDatabase>
#include <map>
#include <optional>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QRadioButton;

class Tfrmzgcx : public QDialog {
    Q_OBJECT
public:
    // Centred over `workArea`; the lists are read from `db`.
    Tfrmzgcx(const QSqlDatabase &db, QWidget *workArea);

    // "查询条件" of a calling screen: the dialog shown modally over `workArea`; the condition when
    // confirmed, nothing when cancelled or when its lists cannot be read (said to the person,
    // over `parent`).
    static std::optional<query::Condition> ask(const QSqlDatabase &db, QWidget *workArea, QWidget *parent);

    // The condition of the last "查询" (empty before any).
    const query::Condition &condition() const { return condition_; }
    query::Choices choices() const;

    // Controls by their row label ("职工姓名", "文化程度", "干部或普通员工" …), for tests.
    QLineEdit *box(const QString &name) const { return boxes_.at(name); }
    QComboBox *list(const QString &label) const { return lists_.at(label); }
    QRadioButton *option(const QString &group, const QString &caption) const;

    void search();  // "查询"
    void clear();   // "清除"

private:
    QComboBox *addList(class QGridLayout *grid, int row, const QString &label, bool comparisons);
    QButtonGroup *addOptions(class QGridLayout *grid, int row, int column, const QString &group,
                             const QStringList &captions);
    void staffKindChosen();

    QSqlDatabase db_;
    query::Condition condition_;
    std::map<QString, QLineEdit *> boxes_;
    std::map<QString, QComboBox *> lists_;
    std::map<QString, QButtonGroup *> groups_;
};
