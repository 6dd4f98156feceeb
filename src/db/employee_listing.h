#pragma once
// The shape of every list of employees with their current department, position, title …:
// zghmc first, then the current row (greatest 自动编号) of each history named, then the code
// tables whose names are shown, in a fixed join order. Each employee's current rows are found
// through its one row of kept current rows (db/current_rows.h), so the first rows come at once
// at any size; a list driven by the whole history looked every row up against every other
// (25 s for 10,000 employees).

#include "db/history.h"

#include <QString>
#include <QStringList>
#include <vector>

class EmployeeListing {
public:
    enum class Join {
        Inner,  // an employee lacking a row is left out
        Outer,  // a missing row or an unknown code leaves those fields blank
    };
    explicit EmployeeListing(Join join = Join::Inner) : join_(join) {}

    // The employee's current row of the history, named as the history table.
    EmployeeListing &current(history::Table table);
    // The row of the code table whose code equals `codeExpression` ("zghmc.民族编码"), named
    // `alias` or as the table.
    EmployeeListing &code(const QString &table, const QString &codeExpression, const QString &alias = {});
    // A further table joined on a condition of the caller's.
    EmployeeListing &join(const QString &table, const QString &condition);

    // "from zghmc …" with the joins in the order added.
    QString from() const;
    // The join conditions of an inner listing, to open its where clause ("" for an outer one).
    QString conditions() const;

private:
    struct Joined {
        QString table;
        QString condition;
    };
    Join join_;
    std::vector<Joined> joins_;
};
