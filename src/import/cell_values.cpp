#include "import/cell_values.h"

#include "db/money.h"
#include "import/sheet_file.h"
#include "staff/employee_record.h"

#include <QRegularExpression>
#include <cmath>

namespace staff_import {
namespace {

using edit::Kind;

// Excel counts days from 1899-12-30 (its day 60 is the 29 February 1900 that never was).
const QDate kExcelEpoch(1899, 12, 30);

QString quoted(const Column &column, const QString &text)
{
    return QStringLiteral("%1“%2”").arg(column.title, text);
}

CellValue codeValue(const CodeBook &codes, const Column &column, const QString &text, const QString &filter)
{
    const CodeBook::Lookup found = codes.find(*column.field, text, filter);
    if (found.ambiguous)
        return {{}, quoted(column, text) + QStringLiteral("对应多个代码，请填写代码")};
    if (found.code.isEmpty())
        return {{}, quoted(column, text) + QStringLiteral("不存在")};
    return {found.code, {}};
}

}  // namespace

double excelDayNumber(const QDate &date) { return double(kExcelEpoch.daysTo(date)); }

QDate readDate(const QVariant &cell)
{
    if (cell.typeId() == QMetaType::Double) {
        const double day = std::floor(cell.toDouble());
        return day >= 1 && day < 2958466 ? kExcelEpoch.addDays(qint64(day)) : QDate();
    }
    static const QRegularExpression form(
        QStringLiteral("^(\\d{4})\\s*(?:[-/.]|年)\\s*(\\d{1,2})\\s*(?:[-/.]|月)\\s*(\\d{1,2})\\s*日?"
                       "(?:[ T]\\d{1,2}:\\d{2}(?::\\d{2}(?:\\.\\d+)?)?)?$"));
    const QRegularExpressionMatch m = form.match(cell.toString().trimmed());
    return m.hasMatch() ? QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()) : QDate();
}

CellValue readCell(const CodeBook &codes, const Column &column, const QVariant &cell, const QString &filter)
{
    const edit::Field &field = *column.field;
    const QString text = cellText(cell).trimmed();
    if (text.isEmpty())
        return {};
    switch (field.kind) {
    case Kind::Date:
    case Kind::MaskedDate: {
        const QDate date = readDate(cell);
        if (!date.isValid())
            return {{}, quoted(column, text) + QStringLiteral("不是有效日期")};
        return {date.toString(Qt::ISODate), {}};
    }
    case Kind::Money:
        if (!money::parseYuan(text))
            return {{}, quoted(column, text) + QStringLiteral("不是有效金额（元，最多四位小数）")};
        return {money::formatYuan(*money::parseYuan(text)), {}};
    case Kind::CodeList:
        return codeValue(codes, column, text, filter);
    case Kind::PickList:
        if (!field.choices.contains(text))
            return {{}, quoted(column, text) + QStringLiteral("应为%1之一").arg(field.choices.join("、"))};
        return {text, {}};
    default:
        return {field.column == QStringLiteral("职工编码") ? staff::normalizedCode(text) : text, {}};
    }
}

}  // namespace staff_import
