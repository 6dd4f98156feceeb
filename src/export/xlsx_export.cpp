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

Cell cellOf(const QVariant &value, bool moneyColumn, bool measured)
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
        if (measured)
            return {Kind::Number, value.toDouble(), {}, realText(value.toDouble(), true)};
        return {Kind::Real, value.toDouble(), {}, realText(value.toDouble(), false)};
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
    // Grids that show amounts as text show them as money::formatYuan writes them.
    static const QRegularExpression shownAmount(R"(^-?\d+\.\d{2,4}$)");
    if (moneyColumn || shownAmount.match(text).hasMatch())
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
    lxw_format *totalText;
    lxw_format *totalAmount;
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
    f.totalText = workbook_add_format(book);
    format_set_bold(f.totalText);
    f.totalAmount = workbook_add_format(book);
    format_set_bold(f.totalAmount);
    format_set_num_format(f.totalAmount, "0.00");
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

// The rows of the table to write, in order.
std::vector<int> rowsOf(const Table &table)
{
    if (table.rows)
        return *table.rows;
    std::vector<int> rows;
    for (int r = 0; r < table.model->rowCount(); ++r)
        rows.push_back(r);
    return rows;
}

// Counts written rows over all sheets for the progress reports; false once a stop was asked.
struct RowCounter {
    const Progress &progress;
    int total = 0;
    int done = 0;
    bool stopped = false;

    bool next()
    {
        if (progress && done % kProgressStep == 0 && !progress(done, total))
            stopped = true;
        ++done;
        return !stopped;
    }
};

// One table as one sheet of `book`.
void addSheet(lxw_workbook *book, const Formats &f, const Table &table, const QString &name, RowCounter &counter)
{
    const QAbstractItemModel &model = *table.model;
    std::vector<int> columns = table.columns;
    if (columns.empty())
        for (int c = 0; c < model.columnCount(); ++c)
            columns.push_back(c);
    lxw_worksheet *sheet = workbook_add_worksheet(book, utf8(name).constData());
    const auto lastCol = lxw_col_t(std::max<size_t>(columns.size(), 1) - 1);
    if (lastCol > 0)
        worksheet_merge_range(sheet, kTitleRow, 0, kTitleRow, lastCol, utf8(table.title).constData(), f.title);
    else
        worksheet_write_string(sheet, kTitleRow, 0, utf8(table.title).constData(), f.title);

    std::vector<double> widths(columns.size(), kMinWidth);
    std::vector<bool> money(columns.size()), measured(columns.size());
    for (size_t i = 0; i < columns.size(); ++i) {
        const QString heading = model.headerData(columns[i], Qt::Horizontal, Qt::DisplayRole).toString();
        money[i] = model.headerData(columns[i], Qt::Horizontal, kMoneyColumnRole).toBool();
        measured[i] = model.headerData(columns[i], Qt::Horizontal, kMeasuredColumnRole).toBool();
        worksheet_write_string(sheet, kHeaderRow, lxw_col_t(i), utf8(heading).constData(), f.header);
        widths[i] = std::max(widths[i], widthOf(heading));
    }
    const std::vector<int> rows = rowsOf(table);
    for (size_t r = 0; r < rows.size() && counter.next(); ++r) {
        for (size_t i = 0; i < columns.size(); ++i) {
            const Cell cell = cellOf(model.data(model.index(rows[r], columns[i]), Qt::DisplayRole), money[i], measured[i]);
            writeCell(sheet, lxw_row_t(kFirstDataRow + r), lxw_col_t(i), cell, f);
            widths[i] = std::max(widths[i], widthOf(cell.text));
        }
    }
    if (!table.totals.isEmpty()) {
        const auto row = lxw_row_t(kFirstDataRow + rows.size());
        for (size_t i = 0; i < columns.size(); ++i) {
            const Cell cell = cellOf(table.totals.value(columns[i]), money[i], measured[i]);
            if (cell.kind == Kind::Text)
                worksheet_write_string(sheet, row, lxw_col_t(i), utf8(cell.text).constData(), f.totalText);
            else if (cell.kind != Kind::Empty)
                worksheet_write_number(sheet, row, lxw_col_t(i), cell.number, cell.kind == Kind::Number ? f.totalText : f.totalAmount);
            widths[i] = std::max(widths[i], widthOf(cell.text));
        }
    }
    for (size_t i = 0; i < columns.size(); ++i)
        worksheet_set_column(sheet, lxw_col_t(i), lxw_col_t(i), std::min(widths[i] + 2, kMaxWidth), nullptr);
    worksheet_freeze_panes(sheet, kFirstDataRow, 0);
}

// Fills the workbook at `path` and closes it; the library's error, or LXW_NO_ERROR.
lxw_error fill(const std::vector<Table> &tables, const QString &path, RowCounter &counter)
{
    lxw_workbook *book = workbook_new(QFile::encodeName(path).constData());
    if (!book)
        return LXW_ERROR_CREATING_XLSX_FILE;
    const Formats f = makeFormats(book);
    QStringList names;
    for (const Table &table : tables) {
        // Sheet names are unique within a workbook.
        QString name = sheetName(table.title);
        for (int n = 2; names.contains(name, Qt::CaseInsensitive); ++n)
            name = sheetName(table.title).left(27) + QStringLiteral("(%1)").arg(n);
        names << name;
        addSheet(book, f, table, name, counter);
        if (counter.stopped)
            break;
    }
    return workbook_close(book);
}

}  // namespace

QString realText(double value, bool measured)
{
    return measured ? QString::number(value, 'g', 15) : QString::number(value, 'f', 2);
}

QString screenTitle(const QString &titleStrip)
{
    const qsizetype path = titleStrip.lastIndexOf(QStringLiteral(">>"));
    return (path < 0 ? titleStrip : titleStrip.mid(path + 2)).trimmed();
}

bool write(const std::vector<Table> &tables, const QString &file, QString *error, const Progress &progress)
{
    const auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("无法写入文件：%1\n%2").arg(QDir::toNativeSeparators(file), why);
        return false;
    };
    RowCounter counter{progress};
    for (const Table &table : tables) {
        while (table.model->canFetchMore({}))
            table.model->fetchMore({});
        counter.total += int(rowsOf(table).size());
    }
    ReplacingFile part(file);
    if (part.path().isEmpty())
        return fail(part.error());
    const lxw_error result = fill(tables, part.path(), counter);
    if (counter.stopped)
        return fail(QStringLiteral("导出已取消"));
    if (result != LXW_NO_ERROR)
        return fail(QString::fromUtf8(lxw_strerror(result)));
    if (!part.commit())
        return fail(part.error());
    return true;
}

bool write(const Table &table, const QString &file, QString *error, const Progress &progress)
{
    return write(std::vector<Table>{table}, file, error, progress);
}

}  // namespace xlsx
