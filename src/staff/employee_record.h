#pragma once
// One employee as the editor holds it: the master row of zghmc and the entry-time row of each
// of the five histories, loaded, checked, saved and deleted. Values are kept as the screen
// shows them (dates yyyy-MM-dd, amounts in yuan) and converted only when read or written.

#include "app/edit_fields.h"
#include "app/edit_rows.h"

#include <QDate>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace staff {

struct EmployeeRecord {
    // By field key (see employee_fields.h), plus 照片 and 职工简介.
    QMap<QString, QString> values;
    // History table → 自动编号 of the employee's entry-time row (the earliest dated); a table
    // without an entry here gets a new row on save.
    QMap<QString, qint64> entryRowIds;
    // Table → the stored columns of the master row and of each entry-time row as loaded
    // (edit::asRead); a save then writes only rows still as loaded. Empty for a new record.
    QMap<QString, QVariantMap> asRead;

    QString value(const QString &key) const { return values.value(key); }
    QString code() const { return values.value(QStringLiteral("职工编码")); }
};

// 12 → "000012"; text that is not a whole number stays as it is.
QString normalizedCode(const QString &text);

using edit::parseDate;

// The stored employee; nullopt when there is none. Throws sql::Failure.
std::optional<EmployeeRecord> loadEmployee(const QSqlDatabase &db, const QString &code);

// Loads employee after employee with statements prepared once (the register's export).
class EmployeeReader {
public:
    explicit EmployeeReader(const QSqlDatabase &db);  // throws sql::Failure
    std::optional<EmployeeRecord> load(const QString &code);  // as loadEmployee

private:
    QSqlQuery master_;
    std::vector<std::pair<QString, QSqlQuery>> entryRows_;  // history table → its entry-row statement
};

// The message of the first save check that fails, empty when all pass. Throws sql::Failure.
QString checkEmployee(const QSqlDatabase &db, const EmployeeRecord &record);

// Writes the master row and the five entry-time rows, without checks and without a
// transaction of its own: saveEmployee's body, and a bulk import's for each of its rows
// inside its one transaction (one writer for all, so each statement is prepared once).
// Throws sql::Failure.
void writeEmployee(edit::RowWriter &writer, const EmployeeRecord &record, bool adding);

inline const QString kDuplicateCode = QStringLiteral("编号重复或空，请重新输入！");

// Checks, then writes the master row and the five entry-time rows in one transaction, every
// history row carrying the code and the entry date. Returns the message to show (a failed
// check, kDuplicateCode when the database refuses a write, or a record changed meanwhile),
// empty when saved; throws sql::Failure when the database cannot be written (busy, full,
// damaged).
QString saveEmployee(const QSqlDatabase &db, const EmployeeRecord &record, bool adding);

enum class Removal { Removed, InUse };
// Removes the employee with histories and résumé in one transaction, unless pay, appraisal,
// attendance, reward or training rows refer to him or her. Throws sql::Failure.
Removal removeEmployee(const QSqlDatabase &db, const QString &code);

// Tables whose rows keep an employee from being deleted, and those deleted with him or her.
const QStringList &recordsKeepingEmployee();
const QStringList &recordsOwnedByEmployee();

// The standard salary of a grade (zwdjdmb.等级工资) as yuan text; empty when unknown.
QString standardGradeSalary(const QSqlDatabase &db, const QString &gradeCode);

}  // namespace staff
