#include "db/value_order.h"

#include "db/money.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <algorithm>
#include <numeric>

namespace value_order {
namespace {

// What a value sorts as: empty, a number (exact when it is an integer or an amount) or text.
struct Key {
    bool empty = false;
    bool number = false;
    bool exact = false;
    qint64 units = 0;  // integers as they are; amounts shown as yuan text in 1/10000 yuan
    double real = 0;
    QString text;
};

Key keyOf(const QVariant &value)
{
    if (value.isNull() || !value.isValid() || (value.typeId() == QMetaType::QString && value.toString().isEmpty()))
        return {true};
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return {false, true, true, value.toLongLong(), value.toDouble(), {}};
    case QMetaType::Double:
    case QMetaType::Float:
        return {false, true, false, 0, value.toDouble(), {}};
    case QMetaType::QDate:
        return {false, false, false, 0, 0, value.toDate().toString(Qt::ISODate)};
    case QMetaType::QDateTime:
        return {false, false, false, 0, 0, value.toDateTime().toString(Qt::ISODate)};
    default:
        break;
    }
    const QString text = value.toString();
    // A shown amount or share ("1200.00", "-3.5"): the decimal point tells it from a code.
    static const QRegularExpression shownNumber(QStringLiteral(R"(^-?\d+\.\d+$)"));
    if (shownNumber.match(text).hasMatch()) {
        if (const auto units = money::parseYuan(text))
            return {false, true, true, *units, text.toDouble(), {}};
        return {false, true, false, 0, text.toDouble(), {}};
    }
    return {false, false, false, 0, 0, text};
}

template <typename T>
int sign(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

int compare(const QVariant &a, const QVariant &b)
{
    Key x = keyOf(a);
    Key y = keyOf(b);
    if (x.empty || y.empty)
        return sign(y.empty, x.empty);
    if (x.number != y.number)
        return x.number ? -1 : 1;
    if (!x.number)
        return sign(x.text, y.text);
    // Integers and amounts compare on one scale; anything else as reals.
    const bool xAmount = x.exact && a.typeId() == QMetaType::QString;
    const bool yAmount = y.exact && b.typeId() == QMetaType::QString;
    if (x.exact && y.exact && xAmount == yAmount)
        return sign(x.units, y.units);
    return sign(x.real, y.real);
}

std::vector<int> sortedRows(int count, const std::function<QVariant(int row)> &valueAt, Qt::SortOrder order)
{
    std::vector<QVariant> values;
    values.reserve(size_t(count));
    for (int r = 0; r < count; ++r)
        values.push_back(valueAt(r));
    std::vector<int> rows(static_cast<size_t>(count));
    std::iota(rows.begin(), rows.end(), 0);
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        const int c = compare(values[size_t(a)], values[size_t(b)]);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    return rows;
}

QModelIndexList movedIndexes(const QModelIndexList &persistent, const std::vector<int> &rows)
{
    std::vector<int> newRow(rows.size(), 0);
    for (size_t i = 0; i < rows.size(); ++i)
        newRow[size_t(rows[i])] = int(i);
    QModelIndexList moved;
    for (const QModelIndex &index : persistent)
        moved << (index.row() >= 0 && size_t(index.row()) < rows.size()
                      ? index.model()->index(newRow[size_t(index.row())], index.column())
                      : index);
    return moved;
}

}  // namespace value_order
