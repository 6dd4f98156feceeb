#pragma once
// One pay month of the three sheets: whether it exists, the rows of a department, storing a
// typed row, and generating the month's rows (blank, or carried forward from the month
// before). A pay month is keyed by its first day in 年月.

#include "pay/pay_sheets.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <functional>

namespace pay {

QDate firstDay(int year, int month);

// A month exists once the wage sheet has a row in it. Throws sql::Failure.
bool hasWages(const QSqlDatabase &db, const QDate &month);

// Salary items added on the code screen: further money columns of the wage sheet, in the
// order of gzzd. Throws sql::Failure.
QStringList salaryItemColumns(const QSqlDatabase &db);

struct SheetRow {
    qint64 id = 0;    // 自动编号
    QString code;     // 职工编码
    QString name;     // 职工姓名, empty when the employee is missing
    Amounts amounts;  // the sheet's amount columns and, on the wage sheet, the salary items
    Amounts asRead;   // the amounts as loaded or last stored: a store writes only while the row holds them
};

// The month's rows of the employees whose department in force on the month's last day is
// `department`, by employee code. Throws sql::Failure.
QList<SheetRow> loadSheet(const QSqlDatabase &db, const Sheet &sheet, const QDate &month,
                          const QString &department, const QStringList &extraColumns = {});

// Totals the row and writes its amounts, while the row's terms still hold the values it was
// loaded with (else a failure of kind Stale: another operator saved first). Throws
// sql::Failure (nothing written).
void storeRow(const QSqlDatabase &db, const Sheet &sheet, SheetRow &row);

enum class Generation {
    Blank,          // a row with only 年月 and 职工编码 for every employee who gets one
    CopyPrevious,   // the previous month's rows of those employees carried forward, then blanks
};

// Writes the month's rows of all three sheets in one transaction: every employee whose
// department in force before the month's first day is below "97" and who has no row of the
// month yet. Returns the rows added: none when the month already has wage rows (a second
// press, or another operator got there first; check and write are one write transaction).
// Throws sql::Failure (nothing written). `progress` hears each sheet's table as it starts.
int generateMonth(const QSqlDatabase &db, const QDate &month, Generation generation,
                  const std::function<void(const QString &table)> &progress = {});

}  // namespace pay
