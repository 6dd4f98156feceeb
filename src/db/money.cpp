#include "db/money.h"

#include "db/schema.h"

#include <QRegularExpression>

namespace money {
namespace {
constexpr int kDecimals = 4;     // 10^4 == schema::kMoneyScale
constexpr int kWholeDigits = 14;  // 10^14 yuan × 10^4 stays below 2^63
static_assert(schema::kMoneyScale == 10000);
}  // namespace

std::optional<qint64> parseYuan(const QString &text)
{
    static const QRegularExpression form(
        QStringLiteral("^([+-]?)(\\d{1,%1})(?:\\.(\\d{0,%2}))?$").arg(kWholeDigits).arg(kDecimals));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const qint64 whole = m.captured(2).toLongLong();
    const qint64 fraction = m.captured(3).leftJustified(kDecimals, QChar('0')).toLongLong();
    const qint64 units = whole * schema::kMoneyScale + fraction;
    return m.captured(1) == QLatin1String("-") ? -units : units;
}

std::optional<qint64> parseEntry(const QString &text)
{
    static const QRegularExpression whole(QStringLiteral("^[+-]?(\\d+)"));
    const QRegularExpressionMatch m = whole.match(text.trimmed());
    if (m.hasMatch() && m.capturedLength(1) > kEntryWholeDigits)
        return std::nullopt;
    return parseYuan(text);
}

QString formatYuan(qint64 units)
{
    const bool negative = units < 0;
    // Work on the magnitude as unsigned so the smallest qint64 does not overflow.
    const quint64 magnitude = negative ? quint64(0) - quint64(units) : quint64(units);
    const quint64 scale = quint64(schema::kMoneyScale);
    QString fraction = QString::number(magnitude % scale).rightJustified(kDecimals, QChar('0'));
    while (fraction.size() > 2 && fraction.endsWith(QChar('0')))
        fraction.chop(1);
    return (negative ? QStringLiteral("-") : QString()) + QString::number(magnitude / scale) + '.' + fraction;
}

QString formatShown(qint64 units)
{
    const bool negative = units < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(units) : quint64(units);
    constexpr quint64 hundredth = quint64(schema::kMoneyScale) / 100;
    const quint64 cents = magnitude / hundredth + (magnitude % hundredth >= hundredth / 2 ? 1 : 0);
    return (negative && cents ? QStringLiteral("-") : QString()) + QString::number(cents / 100) + '.'
           + QString::number(cents % 100).rightJustified(2, QChar('0'));
}

QString typingPattern()
{
    return QStringLiteral("\\d{0,%1}(\\.\\d{0,%2})?").arg(kEntryWholeDigits).arg(kDecimals);
}

}  // namespace money
