#pragma once
// A spreadsheet cell turned into the value the employee editor would hold for its field:
// names or codes into codes, dates in the forms people and Excel write them into yyyy-MM-dd,
// amounts into exact yuan, a numeric employee code padded to six digits.

#include "import/code_book.h"
#include "import/import_columns.h"

#include <QDate>
#include <QString>
#include <QVariant>

namespace staff_import {

struct CellValue {
    QString value;   // as the editor holds it; empty when the cell is empty or unreadable
    QString reason;  // why the cell could not be read, for the clerk; empty when it could
};

// `filter`: for a code list filtered by another field (the title by its work type), that
// field's value already read.
CellValue readCell(const CodeBook &codes, const Column &column, const QVariant &cell, const QString &filter = {});

// 2003-06-01, 2003-6-1, 2003/6/1, 2003.6.1, 2003年6月1日, an Excel day number (a number cell),
// each with an optional time after it; invalid otherwise.
QDate readDate(const QVariant &cell);

// What the Excel day number of a date is (the inverse of reading one).
double excelDayNumber(const QDate &date);

}  // namespace staff_import
