#pragma once
// Money as people type and read it: yuan with up to four decimals, held as an exact integer of
// 1/10000 yuan (schema::kMoneyScale). No floating point anywhere between the text and the
// integer, so what was typed is what is stored.

#include <QString>
#include <QtGlobal>
#include <optional>

namespace money {

// "1234", "1234.5", "-0.0001", " 12.30 " → units; empty, malformed, more than four decimals or
// too large for 64 bits → nullopt. Callers treat empty text as "no amount" before calling.
std::optional<qint64> parseYuan(const QString &text);

// An amount a person types: as parseYuan, but at most kEntryWholeDigits digits before the
// point, so that the sums of a year's sheets of a large organisation stay within 64 bits.
inline constexpr int kEntryWholeDigits = 10;
std::optional<qint64> parseEntry(const QString &text);

// Units → yuan text with at least two decimals and as many more as the amount needs
// (36000000 → "3600.00", 12345 → "1.2345"), so parseYuan(formatYuan(x)) == x.
QString formatYuan(qint64 units);

// Units → yuan as a list shows and prints them: two decimals, rounded half away from zero
// (12345 → "1.23", 36000000 → "3600.00"); the stored amount stays exact.
QString formatShown(qint64 units);

// The pattern a money box accepts while typing (unsigned amounts of at most kEntryWholeDigits
// whole digits, up to four decimals).
QString typingPattern();

}  // namespace money
