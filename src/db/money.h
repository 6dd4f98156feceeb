#pragma once
// Amounts as people read and type them: yuan with up to four decimals, converted exactly to
// and from the stored integers of 1/10000 yuan (never through a floating-point number).

#include <QString>
#include <optional>

namespace money {

// 36000000 → "3600.00"; decimals beyond the second only when they are not zero.
QString toText(qint64 amount);
// "3600", "3600.5", "-12.3456" → the amount; nothing for any other text (more than four
// decimals, letters, an empty box).
std::optional<qint64> fromText(const QString &text);

}  // namespace money
