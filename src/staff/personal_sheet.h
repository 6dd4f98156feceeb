#pragma once
// What the personal information sheet shows for one employee: the master row with the names
// of its codes, and the current row (greatest 自动编号) of each of the five histories with
// their names.

#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace staff {

// By field key (employee_fields.h): text as stored, a code field as its name, the work type as
// the category of the current title, amounts in yuan; plus 照片 and 职工简介. nullopt when
// there is no such employee. Throws sql::Failure.
std::optional<QMap<QString, QString>> personalSheet(const QSqlDatabase &db, const QString &code);

}  // namespace staff
