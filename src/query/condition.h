#pragma once
// The combined condition: what the operator chose in the condition dialog, turned into clauses
// (each beginning with " and ") to append to a caller's query that ends inside its WHERE
// clause. Every typed or chosen value is a bound parameter, never part of the text.

#include "db/code_items.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <optional>

namespace query {

// "等" equal; "上" this code and higher (smaller codes); "下" this code and lower.
enum class Comparison { Equal, AtOrAbove, AtOrBelow };
enum class NameMatch { Equal, Prefix };  // "等", "匹配"
enum class StaffKind { All, Cadre, Ordinary };  // "全部", "干部", "普通职工"

struct Choices {
    QString name;  // blank: no condition
    NameMatch nameMatch = NameMatch::Equal;
    std::optional<int> ageFrom, ageTo, serviceFrom, serviceTo;
    QString education;  // a code; empty: no condition
    Comparison educationComparison = Comparison::Equal;
    QString department;
    QString position;
    QString positionLevel;
    Comparison positionLevelComparison = Comparison::Equal;
    QString technicalCategory;
    QString titleLevel;
    Comparison titleLevelComparison = Comparison::Equal;
    QString party;
    StaffKind staff = StaffKind::All;
    QString skillGrade;
    Comparison skillGradeComparison = Comparison::Equal;
    QString postCategory;  // counts only for "普通职工"
};

struct Condition {
    QString text;        // empty when nothing is chosen
    QVariantMap values;  // parameter name (with ':') → value, to bind on the caller's query
    QString description;  // the choices in words (describe()), for headings; empty: none
};

// The condition of the choices, its description in words included.
Condition build(const Choices &choices, const std::function<QString(const QString &label, const QString &code)> &shown = {});

// The choices in words, for the title of what they list: each chosen line of the dialog by
// its label ("部门名称：01 人事部；职工年龄：30至40"), a code as `shown` gives it for the list
// with that label (the code itself without it); empty when nothing is chosen.
QString describe(const Choices &choices, const std::function<QString(const QString &label, const QString &code)> &shown = {});

// The base statement (ending inside its WHERE clause) with the condition appended, prepared,
// bound and executed. Throws sql::Failure.
QSqlQuery withCondition(const QSqlDatabase &db, const QString &base, const Condition &condition);

// The rows of the dialog's list with this label ("文化程度", "部门名称" …), in code order.
// Throws sql::Failure.
QList<code_items::Item> listItems(const QSqlDatabase &db, const QString &label);

// The LIKE pattern matching texts that begin with `prefix` literally ('\' escapes).
QString prefixPattern(const QString &prefix);

}  // namespace query
