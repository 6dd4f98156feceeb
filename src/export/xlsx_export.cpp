#include "export/xlsx_export.h"

#include "db/money.h"
#include "db/replacing_file.h"
#include "db/schema.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <xlsxwriter.h>

namespace xlsx {
namespace {

constexpr int kTitleRow = 0;
constexpr int kHeaderRow = 1;
constexpr int kFirstDataRow = 2;
constexpr double kMinWidth = 6;
constexpr double kMaxWidth = 60;
constexpr int kProgressStep = 500;  // rows between progress reports

enum class Kind { Empty, Text, Number, Real, Amount, Date };

struct Cell {
    Kind kind = Kind::Empty;
    double number = 0;
    QDate date;
    QString text;  // as it reads in the sheet, for the column width
};

// Columns count in widths of a digit; ideographs and full-width forms take two.
double widthOf(const QString &text)
{
    double width = 0;
    for (const QChar c : text)
        width += c.unicode() >= 0x2E80 && !c.isLowSurrogate() ? 2 : 1;
    return width;
}

std::optional<QDate> isoDate(const QString &text)
{
    static const QRegularExpression pattern(R"(^\d{4}-\d{2}-\d{2}$)");
    if (!pattern.match(text).hasMatch())
        return std::nullopt;
    const QDate date = QDate::fromString(text, Qt::ISODate);
    // Excel counts days from 1900: an earlier date stays text.
    if (!date.isValid() || date.year() < 1900)
        return std::nullopt;
    return date;
}

Cell amount(qint64 units)
{
    return {Kind::Amount, double(units) / double(schema::kMoneyScale), {}, money::formatYuan(units)};
}

Cell cellOf(const QVariant &value, bool moneyColumn)
{
    if (value.isNull() || !value.isValid())
        return {};
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        if (moneyColumn)
            return amount(value.toLongLong());
        return {Kind::Number, value.toDouble(), {}, value.toString()};
    case QMetaType::Double:
        return {Kind::Real, value.toDouble(), {}, QString::number(value.toDouble(), 'f', 2)};
    case QMetaType::QDate:
        return {Kind::Date, 0, value.toDate(), value.toDate().toString(Qt::ISODate)};
    case QMetaType::QDateTime:
        return {Kind::Date, 0, value.toDate(), value.toDate().toString(Qt::ISODate)};
    default:
        break;
    }
    const QString text = value.toString();
    if (text.isEmpty())
        return {};
    if (moneyColumn)
        if (const auto units = money::parseYuan(text))
            return amount(*units);
    if (const auto date = isoDate(text))
        return {Kind::Date, 0, *date, text};
    return {Kind::Text, 0, {}, text};
}

QByteArray utf8(const QString &s) { return s.toUtf8(); }

// Excel's rules for a sheet name: at most 31 characters, none of []:*?/\ .
QString sheetName(const QString &title)
{
    QString name = title.trimmed();
    static const QRegularExpression forbidden(R"([\[\]:*?/\\])");
    name.replace(forbidden, QStringLiteral("_"));
    name = name.left(31);
    return name.isEmpty() ? QStringLiteral("Sheet1") : name;
}

struct Formats {
    lxw_format *title;
    lxw_format *header;
    lxw_format *real;
    lxw_format *amount;
    lxw_format *date;
};

Formats makeFormats(lxw_workbook *book)
{
    Formats f{};
    f.title = workbook_add_format(book);
    format_set_bold(f.title);
    format_set_font_size(f.title, 14);
    format_set_align(f.title, LXW_ALIGN_CENTER);
    f.header = workbook_add_format(book);
    format_set_bold(f.header);
    format_set_align(f.header, LXW_ALIGN_CENTER);
    format_set_bg_color(f.header, 0x7ED3BC);  // the grid's title row
    format_set_border(f.header, LXW_BORDER_THIN);
    f.real = workbook_add_format(book);
    format_set_num_format(f.real, "0.00");
    f.amount = workbook_add_format(book);
    format_set_num_format(f.amount, "0.00");
    f.date = workbook_add_format(book);
    format_set_num_format(f.date, "yyyy-mm-dd");
    return f;
}

void writeCell(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t col, const Cell &cell, const Formats &f)
{
    switch (cell.kind) {
    case Kind::Empty:
        return;
    case Kind::Text:
        worksheet_write_string(sheet, row, col, utf8(cell.text).constData(), nullptr);
        return;
    case Kind::Number:
        worksheet_write_number(sheet, row, col, cell.number, nullptr);
        return;
    case Kind::Real:
        worksheet_write_number(sheet, row, col, cell.number, f.real);
        return;
    case Kind::Amount:
        worksheet_write_number(sheet, row, col, cell.number, f.amount);
        return;
    case Kind::Date: {
        lxw_datetime when{cell.date.year(), cell.date.month(), cell.date.day(), 0, 0, 0};
        worksheet_write_datetime(sheet, row, col, &when, f.date);
        return;
    }
    }
}

// Fills the workbook at `path` and closes it; the library's error, or LXW_NO_ERROR. A stop
// asked for through `progress` sets `stopped`.
lxw_error fill(const Table &table, const QString &path, const Progress &progress, bool *stopped)
{
    QAbstractItemModel &model = *table.model;
    while (model.canFetchMore({}))
        model.fetchMore({});
    std::vector<int> columns = table.columns;
    if (columns.empty())
        for (int c = 0; c < model.columnCount(); ++c)
            columns.push_back(c);

    lxw_workbook *book = workbook_new(QFile::encodeName(path).constData());
    if (!book)
        return LXW_ERROR_CREATING_XLSX_FILE;
    lxw_worksheet *sheet = workbook_add_worksheet(book, utf8(sheetName(table.title)).constData());
    const Formats f = makeFormats(book);
    const auto lastCol = lxw_col_t(std::max<size_t>(columns.size(), 1) - 1);

    if (lastCol > 0)
        worksheet_merge_range(sheet, kTitleRow, 0, kTitleRow, lastCol, utf8(table.title).constData(), f.title);
    else
        worksheet_write_string(sheet, kTitleRow, 0, utf8(table.title).constData(), f.title);

    std::vector<double> widths(columns.size(), kMinWidth);
    std::vector<bool> money(columns.size());
    for (size_t i = 0; i < columns.size(); ++i) {
        const QString heading = model.headerData(columns[i], Qt::Horizontal, Qt::DisplayRole).toString();
        money[i] = model.headerData(columns[i], Qt::Horizontal, kMoneyColumnRole).toBool();
        worksheet_write_string(sheet, kHeaderRow, lxw_col_t(i), utf8(heading).constData(), f.header);
        widths[i] = std::max(widths[i], widthOf(heading));
    }
    std::vector<int> rows = table.rows.value_or(std::vector<int>{});
    if (!table.rows)
        for (int r = 0; r < model.rowCount(); ++r)
            rows.push_back(r);
    for (size_t r = 0; r < rows.size(); ++r) {
        if (progress && r % kProgressStep == 0 && !progress(int(r), int(rows.size()))) {
            *stopped = true;
            break;
        }
        for (size_t i = 0; i < columns.size(); ++i) {
            const Cell cell = cellOf(model.data(model.index(rows[r], columns[i]), Qt::DisplayRole), money[i]);
            writeCell(sheet, lxw_row_t(kFirstDataRow + r), lxw_col_t(i), cell, f);
            widths[i] = std::max(widths[i], widthOf(cell.text));
        }
    }
    for (size_t i = 0; i < columns.size(); ++i)
        worksheet_set_column(sheet, lxw_col_t(i), lxw_col_t(i), std::min(widths[i] + 2, kMaxWidth), nullptr);
    worksheet_freeze_panes(sheet, kFirstDataRow, 0);
    return workbook_close(book);
}

}  // namespace

bool write(const Table &table, const QString &file, QString *error, const Progress &progress)
{
    const auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("无法写入文件：%1\n%2").arg(QDir::toNativeSeparators(file), why);
        return false;
    };
    ReplacingFile part(file);
    if (part.path().isEmpty())
        return fail(part.error());
    bool stopped = false;
    const lxw_error result = fill(table, part.path(), progress, &stopped);
    if (stopped)
        return fail(QStringLiteral("导出已取消"));
    if (result != LXW_NO_ERROR)
        return fail(QString::fromUtf8(lxw_strerror(result)));
    if (!part.commit())
        return fail(part.error());
    return true;
}

}  // namespace xlsx
