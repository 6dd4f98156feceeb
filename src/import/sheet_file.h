#pragma once
// A staff list as rows of cells, whatever file it came in: an .xlsx workbook, an old .xls
// workbook or a .csv text (UTF-8 with or without BOM, or GBK/GB18030). Rows are read one at a
// time, so a large file is never held whole.

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <memory>
#include <optional>
#include <stdexcept>

namespace staff_import {

// A file that cannot be read as a staff list; the message is for the clerk.
class FileError : public std::runtime_error {
public:
    explicit FileError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// One row of the first worksheet. A cell is a QString, a double (a number, also an Excel date
// given as its day number) or invalid when empty.
struct SheetRow {
    int number = 0;  // as the spreadsheet numbers it (the header is usually 1)
    QVariantList cells;
};

class SheetFile {
public:
    virtual ~SheetFile() = default;
    // The next row that has a cell with something in it; nullopt at the end. Throws FileError.
    virtual std::optional<SheetRow> next() = 0;
    // How far the reading has come, from 0 to 1.
    virtual double fraction() const = 0;
};

// Opens the file by its suffix (.xlsx, .xls, .csv). Throws FileError.
std::unique_ptr<SheetFile> openSheet(const QString &path);

// A cell as text: numbers without a needless exponent or trailing zeros ("12", "1234.5").
QString cellText(const QVariant &cell);

}  // namespace staff_import
