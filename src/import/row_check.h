#pragma once
// Every row of a staff list checked before anything is written, with the employee editor's
// own checks (staff::checkOrder, edit::passes) on the values the row gives, plus what only a
// file can get wrong: a cell that cannot be read, a value wider than its column, a code given
// twice, a code already in the register.

#include "import/code_book.h"
#include "import/import_columns.h"
#include "import/sheet_file.h"
#include "staff/employee_record.h"

#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QStringList>

namespace staff_import {

// What to do with a row whose code is already in the register.
enum class Existing { Skip, Update };

enum class Action { Add, Update, Skip, Refuse };

struct Verdict {
    int line = 0;
    QString code;
    QString name;
    Action action = Action::Refuse;
    QStringList reasons;  // why refused

    bool accepted() const { return action == Action::Add || action == Action::Update; }
    // "第 12 行：可导入", "第 12 行：部门“人事部”不存在；入司时间“2003-02-30”不是有效日期"
    QString text() const;
    QString outcome() const;  // the same without the line
};

class RowChecker {
public:
    // Reads the register's codes. Throws sql::Failure.
    RowChecker(const QSqlDatabase &db, const CodeBook &codes, const Mapping &mapping, Existing existing);

    // The verdict of the row, and in `record` the employee to write when it is accepted
    // (an update starts from the stored employee, with the file's columns over it).
    // Rows are checked in file order: a code is a duplicate of an earlier row's. Throws sql::Failure.
    Verdict check(const SheetRow &row, staff::EmployeeRecord *record);

private:
    // Reads the mapped cells into values; the keys of cells that could not be read go into
    // `unreadable`, with their reasons.
    void readCells(const SheetRow &row, edit::Values *values, QSet<QString> *unreadable, QStringList *reasons) const;
    void checkValues(const edit::Values &values, const QSet<QString> &unreadable, QStringList *reasons) const;

    QSqlDatabase db_;
    const CodeBook &codes_;
    Mapping mapping_;
    Existing existing_;
    QSet<QString> registered_;
    QHash<QString, int> seen_;  // code → the line that gave it first
};

}  // namespace staff_import
