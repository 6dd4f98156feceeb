#pragma once
// Code-and-name lists: the one place that reads the rows of a code table for a drop-down,
// a filter list or a check that a code is one of those offered. A code table's first column
// is its code and its second its name; which code table a column draws on is read from the
// schema's references, so callers name a column, not a statement.

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace code_items {

struct Item {
    QString code;
    QString name;
};

struct Filter {
    QString column = {};      // only the rows whose column equals `value` (none when empty)
    QVariant value = {};
    QStringList except = {};  // codes left out ("00" for "none", …)
    QString before = {};      // only codes sorting before this one ("97": the departments on duty)
    bool storedOrder = false; // in the order the rows were stored, instead of by code
};

// The rows of the code table `table`. Throws sql::Failure.
QList<Item> codeItems(const QSqlDatabase &db, const QString &table, const Filter &filter = {});

// Whether `code` is one of the rows codeItems would offer. Throws sql::Failure.
bool offers(const QSqlDatabase &db, const QString &table, const QString &code, const Filter &filter = {});

// A code table's code and name columns. Throws sql::Failure for a table that is none.
struct Columns {
    QString code;
    QString name;
};
Columns columnsOf(const QString &table);

// The code table a column refers to (zghmc.民族编码 → mzdmb); empty when it refers to none.
QString referencedTable(const QString &table, const QString &column);

}  // namespace code_items
