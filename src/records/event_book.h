#pragma once
// An employee's dated events as the reward and attendance editors keep them: the event table,
// the fields of the edit box (one of them the event's kind, chosen from a list), the columns
// the editor's grid shows, and the reading, saving and deleting of one employee's rows.

#include "app/edit_fields.h"
#include "app/edit_rows.h"
#include "db/code_items.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace records {

struct EventColumn {
    QString expression;  // as the statement names it ("kqfsb.方式名称")
    QString title;       // the grid's title ("出勤方式")
    bool money = false;  // an integer of 1/10000 yuan
    bool measured = false;  // hours: shown as stored
};

struct EventBook {
    QString table;  // "jcjlb", "kqjlb"
    QString names;  // a code table joined for the kind's name, and its join ("" for none)
    QString nameJoin;
    edit::Fields fields;  // the edit box's fields, in its order
    QString kindField;    // the field whose value must be one of kindItems()
    std::function<QList<code_items::Item>(const QSqlDatabase &)> kindItems;
    std::vector<EventColumn> editorColumns;
};

// The employee's rows in the order they were recorded: 自动编号, the editor's columns, then the
// fields' columns. A row whose kind has no name is left out. Executed. Throws sql::Failure.
QSqlQuery eventRows(const QSqlDatabase &db, const EventBook &book, const QString &employee);
inline constexpr int kEventIdColumn = 0;

// Stores the row (new for the employee when `row` is empty, else that row while it is as read)
// in its own transaction, only with a real date, a kind of the list and well-formed numbers.
// Throws sql::Failure, naming the refused value, when a value or the database refuses;
// nothing is written then.
void saveEvent(const QSqlDatabase &db, const EventBook &book, const QString &employee, const edit::Values &values,
               std::optional<edit::RecordedRow> row);

// Deletes the row of `table` (an event book's or a history's) with this 自动编号. Throws
// sql::Failure when the database refuses or the row is gone; nothing changes then.
void deleteRecordedRow(const QSqlDatabase &db, const QString &table, qint64 rowId);

// Rows read for a statistics grid, with the titles it shows: dates as yyyy-MM-dd, amounts as
// yuan text, hours as numbers.
struct Listing {
    QStringList titles;
    QList<QVariantList> rows;
    QList<int> measuredColumns = {};  // stored hours, shown as stored
};

// Hours as people write them: "8", "2.5", "0.25" (at most four decimals, no trailing zeros).
QString hoursText(double hours);

}  // namespace records
