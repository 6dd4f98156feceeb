#pragma once
// The edit-screen kit, logic half: a field described once (caption, table and column, kind,
// its list, its check), the conversions between what a control shows and what is stored,
// the save checks, and generic row reads and writes from a field list.
//
// How a record screen uses the kit:
//   1. Describe its fields as a table of edit::Field (designated initialisers; a code list
//      finds its code table through the column's schema reference).
//   2. Build a control per field with edit::makeControl (field_controls.h), fill the code
//      lists with edit::fillCodeList, and register the controls with an edit::ModeBar
//      (edit_modes.h), which owns the button bar and the browse / adding / editing switch.
//   3. Read controls into edit::Values (field key → shown text) with edit::valueOf, check
//      them with edit::firstFailure, and write them inside a Transaction with edit::writeRow
//      (edit_rows.h); load a row with edit::readRow and show it with edit::setValue.

#include "db/code_items.h"

#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

namespace edit {

enum class Kind {
    Text,        // free text, as long as its column allows
    Date,        // yyyy-MM-dd (typed also as 2003-6-1)
    MaskedDate,  // a date typed under the mask "0000-00-00"
    Money,       // yuan, exact to 1/10000; stored as an integer of 1/10000 yuan
    Number,      // a decimal number (hours), stored as a real
    CodeList,    // drop-down of a code table: shows the name, stores the code
    PickList,    // pick-only list of fixed items, stored as shown
};

enum class Check {
    None,
    NotBlank,       // something other than blanks
    Date,           // a real calendar date
    OptionalDate,   // empty, or a real calendar date
    OptionalMoney,  // empty, or an amount of yuan with at most four decimals
    OptionalNumber, // empty, or a decimal number not below zero ("2", "2.5")
    Chosen,         // a code its list offers
};

struct Field {
    QString label;
    QString table;
    QString column;
    Kind kind = Kind::Text;
    QStringList choices = {};     // PickList: the items
    QString codeTable = {};       // CodeList: empty for the table the column refers to
    QString filterColumn = {};    // CodeList: only rows whose filterColumn equals
    QString filterField = {};     //   the value of the field with this key
    Check check = Check::None;
    QString message = {};         // shown when the check fails
    QString section = {};         // the group the field is shown in
    bool qualified = false;       // keyed "table.column": a second table of the screen

    // How values, controls and checks name the field.
    QString key() const { return qualified ? table + '.' + column : column; }
    int width() const;             // characters a text column holds; 0 when unlimited
    QString listTable() const;     // CodeList: the code table offered
};

using Fields = std::vector<Field>;

// Field key → text as the screen shows it (dates yyyy-MM-dd, amounts in yuan).
using Values = QMap<QString, QString>;

const Field *findField(const Fields &fields, const QString &key);
std::vector<const Field *> fieldsOf(const Fields &fields, const QString &table);

// What is stored for a shown value: NULL when empty, ISO dates, integer money.
// Shown values must have passed their checks (a malformed date is stored as NULL).
QVariant storedValue(const Field &field, const QString &shown);
QString shownValue(const Field &field, const QVariant &stored);

// A real calendar date written year-month-day ("2003-06-01", "2003-6-1"); invalid otherwise.
QDate parseDate(const QString &text);

// A decimal number not below zero as people type it ("8", "2.5").
bool isNumber(const QString &text);

// Whether the value fits the field's column (no more characters than a text column holds).
bool fitsColumn(const Field &field, const QString &value);

// Whether a code table offers a code under a filter. A screen asks the database; a bulk
// import asks its own copy of the code tables instead of one statement per cell.
using Offers = std::function<bool(const QString &table, const QString &code, const code_items::Filter &filter)>;

// Whether the value passes the field's check. Chosen asks `offers`, or the database's code list.
// Throws sql::Failure.
bool passes(const Offers &offers, const Field &field, const Values &values);
bool passes(const QSqlDatabase &db, const Field &field, const Values &values);
// The message of the first field (in the order given) whose check fails; empty when all pass.
QString firstFailure(const QSqlDatabase &db, const std::vector<const Field *> &order, const Values &values);

}  // namespace edit
