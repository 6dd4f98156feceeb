#include "app/column_totals.h"

#include "db/money.h"
#include "export/xlsx_export.h"

#include <QRegularExpression>
#include <optional>

namespace column_totals {
namespace {

bool isInteger(const QVariant &v)
{
    const int type = v.typeId();
    return type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::UInt || type == QMetaType::ULongLong;
}

}  // namespace

const QString kCaption = QStringLiteral("合计");

QString Total::shown() const
{
    if (overflow)
        return QStringLiteral("超出范围");
    switch (kind) {
    case None:
        return {};
    case Whole:
        return QString::number(value);
    case Amount:
        return money::formatShown(value);
    }
    return {};
}

QVariant Total::exact() const
{
    if (overflow || kind == None)
        return {};
    return kind == Whole ? QVariant(value) : QVariant(money::formatYuan(value));
}

std::vector<Total> totals(const QAbstractItemModel &model, const std::vector<int> &rows)
{
    static const QRegularExpression shownAmount(QStringLiteral(R"(^-?\d+\.\d{1,4}$)"));
    const int columns = model.columnCount();
    const int count = rows.empty() ? model.rowCount() : int(rows.size());
    std::vector<Total> result(static_cast<size_t>(columns));
    for (int c = 0; c < columns; ++c) {
        const bool moneyColumn = model.headerData(c, Qt::Horizontal, xlsx::kMoneyColumnRole).toBool();
        Total t;
        bool wholes = false, amounts = false, usable = true;
        for (int i = 0; i < count && usable; ++i) {
            const int r = rows.empty() ? i : rows[size_t(i)];
            const QVariant v = model.index(r, c).data();
            if (v.isNull() || v.toString().isEmpty())
                continue;
            std::optional<qint64> term;
            if (isInteger(v)) {
                term = v.toLongLong();
                (moneyColumn ? amounts : wholes) = true;
            } else if (v.typeId() == QMetaType::QString && shownAmount.match(v.toString()).hasMatch()) {
                term = money::parseYuan(v.toString());
                amounts = true;
            }
            // Anything else, or whole numbers beside amounts, is not a column to total.
            usable = term.has_value() && !(wholes && amounts);
            if (usable && !t.overflow && __builtin_add_overflow(t.value, *term, &t.value))
                t.overflow = true;
        }
        if (!usable || !(wholes || amounts))
            continue;
        t.kind = amounts ? Total::Amount : Total::Whole;
        result[size_t(c)] = t;
    }
    return result;
}

bool any(const std::vector<Total> &totals)
{
    for (const Total &t : totals)
        if (t.kind != Total::None)
            return true;
    return false;
}

QStringList printed(const std::vector<Total> &totals)
{
    QStringList row;
    for (const Total &t : totals)
        row << t.shown();
    if (!row.isEmpty() && row.front().isEmpty())
        row.front() = kCaption;
    return row;
}

}  // namespace column_totals
