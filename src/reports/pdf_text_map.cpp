#include "reports/pdf_text_map.h"

#include <QBuffer>
#include <QRawFont>
#include <QRegularExpression>
#include <QString>
#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

namespace report {
namespace {

constexpr char16_t kFirstRadical = 0x2E80;
constexpr char16_t kLastRadical = 0x2FDF;

// Ideograph blocks in the order a twin is chosen from.
constexpr std::pair<char16_t, char16_t> kIdeographBlocks[] = {
    {0x4E00, 0x9FFF},  // unified
    {0x3400, 0x4DBF},  // extension A
    {0xF900, 0xFAFF},  // compatibility
};

QString codeRange(char16_t first, char16_t last)
{
    QString s;
    s.reserve(last - first + 1);
    for (char32_t c = first; c <= last; ++c)
        s += QChar(char16_t(c));
    return s;
}

void addTwins(const QRawFont &font, QHash<char16_t, char16_t> &twins)
{
    QHash<quint32, char16_t> ideographOfGlyph;
    for (const auto &[first, last] : kIdeographBlocks) {
        const QList<quint32> glyphs = font.glyphIndexesForString(codeRange(first, last));
        for (int i = 0; i < glyphs.size(); ++i)
            if (glyphs[i] != 0 && !ideographOfGlyph.contains(glyphs[i]))
                ideographOfGlyph.insert(glyphs[i], char16_t(first + i));
    }
    const QList<quint32> radicals = font.glyphIndexesForString(codeRange(kFirstRadical, kLastRadical));
    for (int i = 0; i < radicals.size(); ++i) {
        const auto twin = ideographOfGlyph.constFind(radicals[i]);
        if (radicals[i] != 0 && twin != ideographOfGlyph.cend() && !twins.contains(char16_t(kFirstRadical + i)))
            twins.insert(char16_t(kFirstRadical + i), *twin);
    }
}

QByteArray hex4(uint value) { return QByteArray::number(value, 16).toUpper().rightJustified(4, '0'); }

// One line of a bfrange section with each radical renamed; a consecutive range that covers a
// radical becomes an array of its names.
QByteArray renameRangeLine(const QByteArray &line, const QHash<char16_t, char16_t> &twins)
{
    static const QRegularExpression linear(R"(^<([0-9A-Fa-f]{4})> <([0-9A-Fa-f]{4})> <([0-9A-Fa-f]{4})>\s*$)");
    static const QRegularExpression token("<([0-9A-Fa-f]{4})>");
    const QString text = QString::fromLatin1(line);
    const auto rename = [&](uint code) { return uint(twins.value(char16_t(code), char16_t(code))); };
    if (const auto m = linear.match(text); m.hasMatch()) {
        const uint first = m.captured(1).toUInt(nullptr, 16), last = m.captured(2).toUInt(nullptr, 16);
        const uint name = m.captured(3).toUInt(nullptr, 16);
        bool touched = false;
        for (uint g = first; g <= last && !touched; ++g)
            touched = twins.contains(char16_t(name + (g - first)));
        if (!touched)
            return line;
        QByteArray out = '<' + hex4(first) + "> <" + hex4(last) + "> [";
        for (uint g = first; g <= last; ++g)
            out += '<' + hex4(rename(name + (g - first))) + "> ";
        return out + ']';
    }
    const qsizetype open = line.indexOf('[');
    if (open < 0)
        return line;
    QByteArray out = line.left(open);
    QString values = text.mid(open);
    qsizetype from = 0;
    for (auto m = token.match(values, from); m.hasMatch(); m = token.match(values, from)) {
        const QString renamed = QString::fromLatin1(hex4(rename(m.captured(1).toUInt(nullptr, 16))));
        values.replace(m.capturedStart(1), 4, renamed);
        from = m.capturedEnd();
    }
    return out + values.toLatin1();
}

QByteArray renameInMap(const QByteArray &map, const QHash<char16_t, char16_t> &twins)
{
    QList<QByteArray> lines = map.split('\n');
    bool inRanges = false;
    for (QByteArray &line : lines) {
        if (line.endsWith("beginbfrange"))
            inRanges = true;
        else if (line.startsWith("endbfrange"))
            inRanges = false;
        else if (inRanges)
            line = renameRangeLine(line, twins);
    }
    return lines.join('\n');
}

struct Edit {
    qint64 position;
    qint64 length;  // of the bytes replaced
    QByteArray bytes;
};

constexpr qint64 kChunk = 1 << 20;  // a long file is read and copied a piece at a time
constexpr qint64 kEntry = 20;       // a cross-reference entry: "oooooooooo ggggg n \n"

QByteArray readAt(QIODevice &in, qint64 position, qint64 length)
{
    if (position < 0 || !in.seek(position))
        return {};
    return in.read(std::max<qint64>(0, length));
}

std::optional<qsizetype> numberAt(const QByteArray &bytes, qsizetype pos, qsizetype *end = nullptr)
{
    qsizetype e = pos;
    while (e < bytes.size() && std::isdigit(uchar(bytes[e])))
        ++e;
    if (e == pos)
        return std::nullopt;
    if (end)
        *end = e;
    return bytes.mid(pos, e - pos).toLongLong();
}

qsizetype skipSpace(const QByteArray &bytes, qsizetype pos)
{
    while (pos < bytes.size() && std::isspace(uchar(bytes[pos])))
        ++pos;
    return pos;
}

// The cross-reference table: where it starts and ends, where the number after "startxref" is,
// and its subsections of fixed-size entries (read from the file when needed).
struct Subsection {
    qint64 entries = 0;  // position of the first entry
    qint64 first = 0;    // its object number
    qint64 count = 0;
};

struct Xref {
    qint64 position = 0;
    qint64 trailer = 0;
    qint64 numberPosition = 0;
    qint64 numberEnd = 0;
    std::vector<Subsection> subsections;
};

// Whether every entry of a subsection starts with an offset.
bool entriesHold(QIODevice &in, const Subsection &s)
{
    constexpr qint64 kBatch = kChunk / kEntry;
    for (qint64 done = 0; done < s.count; done += kBatch) {
        const qint64 n = std::min(kBatch, s.count - done);
        const QByteArray entries = readAt(in, s.entries + done * kEntry, n * kEntry);
        if (entries.size() != n * kEntry)
            return false;
        for (qint64 i = 0; i < n; ++i)
            if (!numberAt(entries, i * kEntry))
                return false;
    }
    return true;
}

std::optional<Xref> readXref(QIODevice &in)
{
    Xref x;
    const qint64 tailAt = std::max<qint64>(0, in.size() - 1024);
    const QByteArray tail = readAt(in, tailAt, in.size() - tailAt);
    const qsizetype start = tail.lastIndexOf("startxref");
    if (start < 0)
        return std::nullopt;
    const qsizetype number = skipSpace(tail, start + 9);
    qsizetype numberEnd = 0;
    const auto position = numberAt(tail, number, &numberEnd);
    if (!position || readAt(in, *position, 4) != "xref")
        return std::nullopt;
    x.numberPosition = tailAt + number;
    x.numberEnd = tailAt + numberEnd;
    x.position = *position;
    qint64 at = x.position + 4;
    for (;;) {
        const QByteArray head = readAt(in, at, 64);
        qsizetype i = skipSpace(head, 0);
        if (head.mid(i).startsWith("trailer")) {
            x.trailer = at + i;
            return x;
        }
        qsizetype end = 0;
        const auto first = numberAt(head, i, &end);
        const auto count = first ? numberAt(head, end + 1, &end) : std::nullopt;
        i = skipSpace(head, end);
        if (!count || i >= head.size())
            return std::nullopt;
        const Subsection s{at + i, *first, *count};
        if (!entriesHold(in, s))
            return std::nullopt;
        x.subsections.push_back(s);
        at = s.entries + s.count * kEntry;
    }
}

// Where object `number` starts, if the table has it in use.
std::optional<qint64> offsetOf(QIODevice &in, const Xref &x, qint64 number)
{
    for (const Subsection &s : x.subsections) {
        if (number < s.first || number >= s.first + s.count)
            continue;
        const QByteArray entry = readAt(in, s.entries + (number - s.first) * kEntry, kEntry);
        if (entry.size() == kEntry && entry[17] == 'n')
            return numberAt(entry, 0);
    }
    return std::nullopt;
}

// The edits that rename the radicals in the text map object at `offset`, if it is a plain
// (unfiltered) stream with a direct length.
std::vector<Edit> renameObject(QIODevice &in, qint64 offset, const QHash<char16_t, char16_t> &twins)
{
    const QByteArray head = readAt(in, offset, 4096);
    const qsizetype streamWord = head.indexOf("stream");
    const qsizetype length = head.indexOf("/Length ");
    if (streamWord < 0 || length < 0 || length > streamWord || head.left(streamWord).contains("/Filter"))
        return {};
    qsizetype lengthEnd = 0;
    const auto size = numberAt(head, length + 8, &lengthEnd);
    qsizetype data = streamWord + 6;
    if (head.mid(data, 2) == "\r\n")
        data += 2;
    else if (head.mid(data, 1) == "\n")
        data += 1;
    if (!size)
        return {};
    const QByteArray map = readAt(in, offset + data, *size);
    if (map.size() != *size)
        return {};
    const QByteArray renamed = renameInMap(map, twins);
    if (renamed == map)
        return {};
    return {{offset + length + 8, lengthEnd - (length + 8), QByteArray::number(renamed.size())},
            {offset + data, *size, renamed}};
}

// The objects named as text maps before the cross-reference table, found a piece at a time.
QList<qint64> textMapObjects(QIODevice &in, const Xref &x)
{
    static const QByteArray kKey = "/ToUnicode ";
    QList<qint64> objects;
    for (qint64 at = 0; at < x.position; at += kChunk) {
        const QByteArray piece = readAt(in, at, std::min(kChunk + kKey.size() + 20, x.position - at));
        for (qsizetype i = piece.indexOf(kKey); i >= 0 && i < kChunk && at + i < x.position; i = piece.indexOf(kKey, i + 1)) {
            const auto object = numberAt(piece, i + kKey.size());
            if (object && !objects.contains(*object))
                objects << *object;
        }
    }
    return objects;
}

bool copy(QIODevice &in, QIODevice &out, qint64 from, qint64 to)
{
    for (qint64 at = from; at < to; at += kChunk) {
        const QByteArray piece = readAt(in, at, std::min(kChunk, to - at));
        if (piece.isEmpty() || out.write(piece) != piece.size())
            return false;
    }
    return true;
}

}  // namespace

QHash<char16_t, char16_t> radicalTwins(const QList<QFont> &fonts)
{
    QHash<char16_t, char16_t> twins;
    for (const QFont &font : fonts)
        addTwins(QRawFont::fromFont(font), twins);
    return twins;
}

bool nameIdeographs(QIODevice &in, QIODevice &out, const QHash<char16_t, char16_t> &twins)
{
    const std::optional<Xref> xref = twins.isEmpty() ? std::nullopt : readXref(in);
    std::vector<Edit> edits;
    if (xref)
        for (const qint64 object : textMapObjects(in, *xref))
            if (const auto offset = offsetOf(in, *xref, object))
                for (Edit &e : renameObject(in, *offset, twins))
                    edits.push_back(std::move(e));
    if (edits.empty())
        return copy(in, out, 0, in.size());
    std::sort(edits.begin(), edits.end(), [](const Edit &a, const Edit &b) { return a.position < b.position; });
    // Where a byte of the old file lands in the new one.
    const auto moved = [&](qint64 old) {
        qint64 shift = 0;
        for (const Edit &e : edits)
            if (e.position < old)
                shift += e.bytes.size() - e.length;
        return old + shift;
    };
    qint64 copied = 0;
    for (const Edit &e : edits) {
        if (!copy(in, out, copied, e.position) || out.write(e.bytes) != e.bytes.size())
            return false;
        copied = e.position + e.length;
    }
    if (!copy(in, out, copied, xref->position))
        return false;
    // The cross-reference table with the offsets that moved.
    qint64 at = xref->position;
    for (const Subsection &s : xref->subsections) {
        if (!copy(in, out, at, s.entries))
            return false;
        constexpr qint64 kBatch = kChunk / kEntry;
        for (qint64 done = 0; done < s.count; done += kBatch) {
            QByteArray entries = readAt(in, s.entries + done * kEntry, std::min(kBatch, s.count - done) * kEntry);
            for (qsizetype e = 0; e < entries.size(); e += kEntry)
                if (entries[e + 17] == 'n')
                    entries.replace(e, 10, QByteArray::number(moved(*numberAt(entries, e))).rightJustified(10, '0'));
            if (out.write(entries) != entries.size())
                return false;
        }
        at = s.entries + s.count * kEntry;
    }
    return copy(in, out, at, xref->numberPosition) && out.write(QByteArray::number(moved(xref->position))) >= 0
           && copy(in, out, xref->numberEnd, in.size());
}

QByteArray nameIdeographs(const QByteArray &pdf, const QHash<char16_t, char16_t> &twins)
{
    QBuffer in;
    in.setData(pdf);
    in.open(QIODevice::ReadOnly);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    nameIdeographs(in, out, twins);
    return out.data();
}

}  // namespace report
