#pragma once
// The code tables an employee row draws on, read once for a whole file: a cell may give a
// code or its name (部门 "02" or "人事科"), and each row's checks ask this copy instead of the
// database.

#include "app/edit_fields.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QVector>

namespace staff_import {

class CodeBook {
public:
    // Reads the code tables of the employee fields' code lists. Throws sql::Failure.
    explicit CodeBook(const QSqlDatabase &db);

    struct Lookup {
        QString code;     // found: the code
        bool ambiguous = false;  // the name belongs to more than one code
    };
    // The code the text stands for in the field's list: a code as it is, a number padded to
    // the code's width ("2" → "02"), or a name; `filter` as the field's filter (the title's
    // work type) narrows names.
    Lookup find(const edit::Field &field, const QString &text, const QString &filter) const;

    // The name for writing a code back: the name when it alone names the code (under the
    // same filter), the code otherwise.
    QString nameFor(const edit::Field &field, const QString &code) const;

    // What the employee editor's checks ask of a code list.
    edit::Offers offers() const;

private:
    struct Item {
        QString code;
        QString name;
        QHash<QString, QString> columns;  // the further columns filters name
    };
    struct Table {
        QVector<Item> items;
        QHash<QString, int> byCode;
        QMultiHash<QString, int> byName;
        int codeWidth = 0;
    };
    const Table *table(const edit::Field &field) const;
    QVector<int> named(const Table &t, const edit::Field &field, const QString &name, const QString &filter) const;

    QHash<QString, Table> tables_;
};

}  // namespace staff_import
