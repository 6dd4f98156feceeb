#pragma once
// The four histories of an employee's working life as the work dynamics screens show them:
// department, title, position and post-skill grade changes, each a group with its caption,
// its rows joined to the code tables for names, and the columns its grid shows.

#include "app/edit_fields.h"
#include "app/edit_rows.h"
#include "db/history.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace records {

struct HistoryGroup {
    QString caption;          // "单位动态" …
    history::Table table;
    QStringList namesFrom;    // code tables joined for the names, and their join conditions
    QString nameJoins;
    QStringList shown;        // grid columns after 变动时间, as the statement names them
    edit::Fields fields;      // the edit strip: 变动时间, then the code lists

    QString tableName() const { return history::tableName(table); }
    QStringList codeColumns() const;  // the columns of the code lists, in edit order
};

// Groups 1 to 4: "单位动态", "职称动态", "职务动态", "岗位技能档次动态".
const std::vector<HistoryGroup> &historyGroups();

// The employee's rows of the group in recording order. Columns: 自动编号, 变动时间, the
// shown columns, then the code columns. A row whose code has no name row is left out.
// Executed. Throws sql::Failure.
QSqlQuery historyRows(const QSqlDatabase &db, const HistoryGroup &group, const QString &employee);

// Stores the row (a new one for the employee when `row` is empty, else that row while it is as read,
// 自动编号) in its own transaction, only with a real date and codes the lists offer. Throws
// sql::Failure, naming the refused value, when a value or the database refuses; nothing is
// written then.
void saveHistoryRow(const QSqlDatabase &db, const HistoryGroup &group, const QString &employee,
                    const edit::Values &values, std::optional<edit::RecordedRow> row);

// A row is deleted with records::deleteRecordedRow (records/event_book.h) on tableName().

// Column indexes of historyRows.
inline constexpr int kRowIdColumn = 0;
inline constexpr int kDateColumn = 1;

}  // namespace records
