#include "db/money.h"

#include "db/schema.h"

#include <QRegularExpression>

namespace money {

QString toText(qint64 amount)
{
    const bool negative = amount < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(amount) : quint64(amount);
    const quint64 scale = quint64(schema::kMoneyScale);
    QString fraction = QString("%1").arg(magnitude % scale, 4, 10, QChar('0'));
    while (fraction.size() > 2 && fraction.endsWith('0'))
        fraction.chop(1);
    return QString("%1%2.%3").arg(negative ? "-" : "").arg(magnitude / scale).arg(fraction);
}

std::optional<qint64> fromText(const QString &text)
{
    static const QRegularExpression amount(QStringLiteral("^([-+]?)([0-9]{1,14})(?:\\.([0-9]{0,4}))?$"));
    const QRegularExpressionMatch m = amount.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const qint64 whole = m.captured(2).toLongLong();
    const qint64 fraction = m.captured(3).leftJustified(4, '0').toLongLong();
    const qint64 value = whole * schema::kMoneyScale + fraction;
    return m.captured(1) == "-" ? -value : value;
}

}  // namespace money
