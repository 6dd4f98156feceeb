#pragma once
// Searchable text in the PDFs Qt writes.
//
// Noto Sans CJK draws each Kangxi radical, and many characters of the radicals supplement,
// with the very glyph of the ideograph they resemble (⼤ and 大, ⻋ and 车 share one glyph).
// Qt's PDF writer names every embedded glyph in the font's text map (ToUnicode) by the lowest
// code point the font maps to it, so 大 printed in a report is read back, copied and searched
// as ⼤. The pages themselves are right; only the text maps need the ideographs' names.

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QIODevice>
#include <QList>

namespace report {

// Each radical (U+2E80–U+2FDF) that one of `fonts` draws with an ideograph's glyph, with that
// ideograph (unified ideographs preferred to extension A and compatibility ones).
QHash<char16_t, char16_t> radicalTwins(const QList<QFont> &fonts);

// `pdf` with every radical in its text maps renamed to its twin; the page content is left
// as it is and the cross-reference offsets follow the changed lengths. A file whose structure
// is not the plain one Qt writes comes back unchanged.
QByteArray nameIdeographs(const QByteArray &pdf, const QHash<char16_t, char16_t> &twins);

// The same from a file `in` to `out`, a piece at a time, so a long file is never held whole
// (only the text maps and the edits are). False when a piece cannot be read or written.
bool nameIdeographs(QIODevice &in, QIODevice &out, const QHash<char16_t, char16_t> &twins);

}  // namespace report
