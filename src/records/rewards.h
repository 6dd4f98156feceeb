#pragma once
// Rewards and punishments (jcjlb): the editor's book, one employee's rows within a date range,
// and every employee's rows within a date range, by date or by employee.

#include "records/event_book.h"

#include <QDate>

namespace records {

// Fields 奖惩日期, 奖惩方式, 奖惩金额, 事由, 奖惩 (the kind: 1 "奖励", -1 "惩罚"); the grid shows
// 奖惩日期, 事由, 奖惩方式, 奖惩金额.
const EventBook &rewardBook();

// The kind list: "1" shown as "奖励", "-1" as "惩罚".
QList<code_items::Item> rewardKinds();

// The employee's rows dated from `from` to `to` (both days counted), by date: 奖惩日期, 事由,
// 奖惩方式, 奖惩金额. Throws sql::Failure.
Listing employeeRewards(const QSqlDatabase &db, const QString &employee, const QDate &from, const QDate &to);

enum class RewardOrder { ByDate, ByEmployee };
// Every employee's rows dated from `from` to `to`: 职工编码, 职工姓名, then the columns of
// employeeRewards; by date, or by employee and then date. Throws sql::Failure.
Listing companyRewards(const QSqlDatabase &db, const QDate &from, const QDate &to, RewardOrder order);

}  // namespace records
