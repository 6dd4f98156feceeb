#include "import/register_file.h"

#include "db/money.h"
#include "db/replacing_file.h"
#include "db/sql.h"
#include "import/cell_values.h"
#include "staff/employee_record.h"

#include <QFile>
#include <QFileInfo>
#include <xlsxwriter.h>

namespace staff_import {
namespace {

using edit::Kind;

// The sheet that holds the choices of the code columns; hidden, the lists refer to it.
const char *const kChoicesSheet = "代码表";

QByteArray utf8(const QString &text) { return text.toUtf8(); }

QString columnLetters(int column)
{
    QString letters;
    for (++column; column > 0; column = (column - 1) / 26)
        letters.prepend(QChar('A' + (column - 1) % 26));
    return letters;
}

// One employee's cells in template order, as text (for CSV) or typed (for a workbook):
// names for codes, yyyy-MM-dd dates, amounts in yuan.
QStringList cellsOf(const CodeBook &codes, const staff::EmployeeRecord &record)
{
    QStringList cells;
    for (const Column &c : templateColumns()) {
        const QString value = record.value(c.field->key());
        cells << (c.field->kind == Kind::CodeList && !value.isEmpty() ? codes.nameFor(*c.field, value) : value);
    }
    return cells;
}

// Walks the register in code order; false from `take` stops.
int eachEmployee(const QSqlDatabase &db, const Progress &progress,
                 const std::function<void(const staff::EmployeeRecord &)> &take)
{
    const qint64 total = sql::scalar(db, "select count(*) from zghmc").toLongLong();
    // The codes read to the end first: each record is read by further statements on the same
    // connection, which a server's driver cannot run while a result is still being read.
    QStringList codes;
    QSqlQuery q = sql::prepare(db, "select 职工编码 from zghmc order by 职工编码");
    q.setForwardOnly(true);
    sql::exec(q);
    while (q.next())
        codes << q.value(0).toString();
    q.finish();
    staff::EmployeeReader reader(db);
    int done = 0;
    for (const QString &code : codes) {
        if (progress && done % 256 == 0 && !progress(total ? double(done) / total : 1.0))
            throw Cancelled{};
        if (const std::optional<staff::EmployeeRecord> record = reader.load(code))
            take(*record);
        ++done;
    }
    return done;
}

class Workbook {
public:
    Workbook(const QSqlDatabase &db, const QString &path) : codes_(db)
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;  // rows go to disk as they are written
        book_ = workbook_new_opt(QFile::encodeName(path).constData(), &options);
        if (!book_)
            throw FileError(QStringLiteral("无法写入文件：%1").arg(path));
        sheet_ = workbook_add_worksheet(book_, "职工花名册");
        choices_ = workbook_add_worksheet(book_, kChoicesSheet);
        header_ = workbook_add_format(book_);
        format_set_bold(header_);
        text_ = workbook_add_format(book_);
        format_set_num_format(text_, "@");
        date_ = workbook_add_format(book_);
        format_set_num_format(date_, "yyyy-mm-dd");
        amount_ = workbook_add_format(book_);
        format_set_num_format(amount_, "0.00##");
        writeHeader(db);
    }
    ~Workbook()
    {
        if (book_)
            workbook_close(book_);
    }

    void write(const staff::EmployeeRecord &record)
    {
        const QStringList cells = cellsOf(codes_, record);
        for (int c = 0; c < cells.size(); ++c) {
            if (cells[c].isEmpty())
                continue;
            const edit::Field &field = *templateColumns()[c].field;
            if (field.kind == Kind::Date || field.kind == Kind::MaskedDate) {
                const QDate d = QDate::fromString(cells[c], Qt::ISODate);
                lxw_datetime when{d.year(), d.month(), d.day(), 0, 0, 0};
                worksheet_write_datetime(sheet_, row_, lxw_col_t(c), &when, date_);
            } else if (field.kind == Kind::Money) {
                // Four decimals at most: the double prints back as the same decimal text.
                worksheet_write_number(sheet_, row_, lxw_col_t(c), double(*money::parseYuan(cells[c])) / 10000.0, amount_);
            } else {
                worksheet_write_string(sheet_, row_, lxw_col_t(c), utf8(cells[c]).constData(), text_);
            }
        }
        ++row_;
    }

    // Closes the workbook; throws FileError when it could not be written.
    void close(const QString &path)
    {
        const lxw_error result = workbook_close(book_);
        book_ = nullptr;
        if (result != LXW_NO_ERROR)
            throw FileError(QStringLiteral("无法写入文件：%1（%2）").arg(path, QString::fromUtf8(lxw_strerror(result))));
    }

private:
    // The titles, and under each code or pick column the list of what it may hold.
    void writeHeader(const QSqlDatabase &db)
    {
        const std::vector<Column> &columns = templateColumns();
        int choiceColumn = 0;
        for (size_t c = 0; c < columns.size(); ++c) {
            const edit::Field &field = *columns[c].field;
            worksheet_write_string(sheet_, 0, lxw_col_t(c), utf8(columns[c].title).constData(), header_);
            worksheet_set_column(sheet_, lxw_col_t(c), lxw_col_t(c), field.kind == Kind::Text ? 14 : 12,
                                 field.kind == Kind::Text ? text_ : nullptr);
            QStringList choices = field.choices;
            if (field.kind == Kind::CodeList)
                for (const code_items::Item &item : code_items::codeItems(db, field.listTable()))
                    choices << codes_.nameFor(field, item.code);
            if (choices.isEmpty())
                continue;
            lists_.push_back({int(c), choiceColumn, choices});
            ++choiceColumn;
        }
        // The choices sheet holds one list per column; rows are written in order, as the
        // constant-memory workbook requires.
        int longest = 0;
        for (const List &l : lists_)
            longest = std::max<int>(longest, int(l.choices.size()));
        for (const List &l : lists_)
            worksheet_write_string(choices_, 0, lxw_col_t(l.choiceColumn),
                                   utf8(columns[l.column].title).constData(), header_);
        for (int r = 0; r < longest; ++r)
            for (const List &l : lists_)
                if (r < l.choices.size())
                    worksheet_write_string(choices_, lxw_row_t(r + 1), lxw_col_t(l.choiceColumn),
                                           utf8(l.choices[r]).constData(), nullptr);
        for (const List &l : lists_) {
            const QByteArray formula = utf8(QStringLiteral("=%1!$%2$2:$%2$%3")
                                                .arg(QString::fromUtf8(kChoicesSheet), columnLetters(l.choiceColumn))
                                                .arg(std::max<int>(2, int(l.choices.size()) + 1)));
            lxw_data_validation validation{};
            validation.validate = LXW_VALIDATION_TYPE_LIST_FORMULA;
            validation.value_formula = const_cast<char *>(formula.constData());
            validation.error_type = LXW_VALIDATION_ERROR_TYPE_WARNING;
            worksheet_data_validation_range(sheet_, 1, lxw_col_t(l.column), LXW_ROW_MAX - 1, lxw_col_t(l.column),
                                            &validation);
        }
        worksheet_hide(choices_);
        worksheet_freeze_panes(sheet_, 1, 2);
    }

    struct List {
        int column;
        int choiceColumn;
        QStringList choices;
    };

    CodeBook codes_;
    lxw_workbook *book_ = nullptr;
    lxw_worksheet *sheet_ = nullptr;
    lxw_worksheet *choices_ = nullptr;
    lxw_format *header_ = nullptr;
    lxw_format *text_ = nullptr;
    lxw_format *date_ = nullptr;
    lxw_format *amount_ = nullptr;
    std::vector<List> lists_;
    lxw_row_t row_ = 1;
};

QByteArray csvLine(const QStringList &cells)
{
    QStringList quoted;
    for (QString cell : cells) {
        if (cell.contains(',') || cell.contains('"') || cell.contains('\n') || cell.contains('\r'))
            cell = '"' + cell.replace("\"", "\"\"") + '"';
        quoted << cell;
    }
    return (quoted.join(',') + "\r\n").toUtf8();
}

int exportCsv(const QSqlDatabase &db, const QString &path, const QString &part, const Progress &progress)
{
    QFile file(part);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(QStringLiteral("无法写入文件：%1").arg(path));
    const CodeBook codes(db);
    file.write("\xEF\xBB\xBF");
    file.write(csvLine(templateTitles()));
    const int written = eachEmployee(db, progress, [&](const staff::EmployeeRecord &record) {
        file.write(csvLine(cellsOf(codes, record)));
    });
    if (!file.flush() || file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("无法写入文件：%1（%2）").arg(path, file.errorString()));
    return written;
}

}  // namespace

void writeTemplate(const QSqlDatabase &db, const QString &path)
{
    ReplacingFile part(path);
    if (part.path().isEmpty())
        throw FileError(part.error());
    Workbook(db, part.path()).close(path);
    if (!part.commit())
        throw FileError(part.error());
}

int exportRegister(const QSqlDatabase &db, const QString &path, const Progress &progress)
{
    ReplacingFile part(path);
    if (part.path().isEmpty())
        throw FileError(part.error());
    int written = 0;
    if (QFileInfo(path).suffix().toLower() == "csv") {
        written = exportCsv(db, path, part.path(), progress);
    } else {
        Workbook book(db, part.path());
        written = eachEmployee(db, progress, [&book](const staff::EmployeeRecord &record) { book.write(record); });
        book.close(path);
    }
    if (!part.commit())
        throw FileError(part.error());
    return written;
}

}  // namespace staff_import
