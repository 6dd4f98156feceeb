// .xls (Excel 97–2003): read with libfreexl. Such a sheet holds at most 65,536 rows, and
// freexl holds it whole while it is open.

#include "import/sheet_readers.h"

#include <freexl.h>

namespace staff_import {
namespace {

class XlsSheet : public SheetFile {
public:
    explicit XlsSheet(const QString &path)
    {
        if (freexl_open(path.toLocal8Bit().constData(), &handle_) != FREEXL_OK) {
            freexl_close(handle_);
            throw FileError(QStringLiteral("不是可读的 Excel 97-2003 工作簿（.xls）：%1").arg(path));
        }
        if (freexl_select_active_worksheet(handle_, 0) != FREEXL_OK
            || freexl_worksheet_dimensions(handle_, &rows_, &columns_) != FREEXL_OK) {
            freexl_close(handle_);
            throw FileError(QStringLiteral("工作簿中没有工作表：%1").arg(path));
        }
    }
    ~XlsSheet() override { freexl_close(handle_); }

    std::optional<SheetRow> next() override
    {
        while (row_ < rows_) {
            SheetRow row{int(row_) + 1, {}};
            bool filled = false;
            for (unsigned short c = 0; c < columns_; ++c) {
                const QVariant cell = cellAt(row_, c);
                filled = filled || !cellText(cell).trimmed().isEmpty();
                row.cells.append(cell);
            }
            ++row_;
            if (filled)
                return row;
        }
        return std::nullopt;
    }

    double fraction() const override { return rows_ ? double(row_) / rows_ : 1.0; }

private:
    QVariant cellAt(unsigned int row, unsigned short column) const
    {
        FreeXL_CellValue value;
        if (freexl_get_cell_value(handle_, row, column, &value) != FREEXL_OK)
            return {};
        switch (value.type) {
        case FREEXL_CELL_INT:
            return double(value.value.int_value);
        case FREEXL_CELL_DOUBLE:
            return value.value.double_value;
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:  // "yyyy-MM-dd"
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
            return QString::fromUtf8(value.value.text_value);
        default:
            return {};
        }
    }

    const void *handle_ = nullptr;
    unsigned int rows_ = 0;
    unsigned short columns_ = 0;
    unsigned int row_ = 0;
};

}  // namespace

std::unique_ptr<SheetFile> openXls(const QString &path) { return std::make_unique<XlsSheet>(path); }

}  // namespace staff_import
