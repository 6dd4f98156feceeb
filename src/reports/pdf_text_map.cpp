#include "reports/pdf_text_map.h"

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
    qsizetype position;
    qsizetype length;  // of the bytes replaced
    QByteArray bytes;
};

std::optional<qsizetype> numberAt(const QByteArray &pdf, qsizetype pos, qsizetype *end = nullptr)
{
    qsizetype e = pos;
    while (e < pdf.size() && std::isdigit(uchar(pdf[e])))
        ++e;
    if (e == pos)
        return std::nullopt;
    if (end)
        *end = e;
    return pdf.mid(pos, e - pos).toLongLong();
}

bool startsAt(const QByteArray &pdf, qsizetype pos, const char *word)
{
    return pos >= 0 && pos <= pdf.size() && QByteArrayView(pdf).sliced(pos).startsWith(word);
}

// The cross-reference table: where it starts, and for each object the position of its offset
// digits and the offset.
struct Xref {
    qsizetype position = 0;
    qsizetype numberPosition = 0;  // of the number after "startxref"
    QHash<int, std::pair<qsizetype, qsizetype>> entries;
};

std::optional<Xref> readXref(const QByteArray &pdf)
{
    constexpr qsizetype kEntry = 20;  // "oooooooooo ggggg n \n"
    Xref x;
    const qsizetype start = pdf.lastIndexOf("startxref");
    if (start < 0)
        return std::nullopt;
    x.numberPosition = start + 9;
    while (x.numberPosition < pdf.size() && std::isspace(uchar(pdf[x.numberPosition])))
        ++x.numberPosition;
    const auto position = numberAt(pdf, x.numberPosition);
    if (!position || !startsAt(pdf, *position, "xref"))
        return std::nullopt;
    x.position = *position;
    qsizetype at = x.position + 4;
    for (;;) {
        while (at < pdf.size() && std::isspace(uchar(pdf[at])))
            ++at;
        if (startsAt(pdf, at, "trailer"))
            return x;
        qsizetype end = 0;
        const auto first = numberAt(pdf, at, &end);
        if (!first)
            return std::nullopt;
        const auto count = numberAt(pdf, end + 1, &end);
        if (!count)
            return std::nullopt;
        at = end;
        while (at < pdf.size() && std::isspace(uchar(pdf[at])))
            ++at;
        for (qsizetype i = 0; i < *count; ++i, at += kEntry) {
            const auto offset = at + kEntry <= pdf.size() ? numberAt(pdf, at) : std::nullopt;
            if (!offset)
                return std::nullopt;
            if (pdf[at + 17] == 'n')
                x.entries.insert(int(*first + i), {at, *offset});
        }
    }
}

// The edits that rename the radicals in the text map object at `offset`, if it is a plain
// (unfiltered) stream with a direct length.
std::vector<Edit> renameObject(const QByteArray &pdf, qsizetype offset, const QHash<char16_t, char16_t> &twins)
{
    const qsizetype streamWord = pdf.indexOf("stream", offset);
    const qsizetype length = pdf.indexOf("/Length ", offset);
    if (streamWord < 0 || length < 0 || length > streamWord || pdf.mid(offset, streamWord - offset).contains("/Filter"))
        return {};
    qsizetype lengthEnd = 0;
    const auto size = numberAt(pdf, length + 8, &lengthEnd);
    qsizetype data = streamWord + 6;
    if (pdf.mid(data, 2) == "\r\n")
        data += 2;
    else if (pdf.mid(data, 1) == "\n")
        data += 1;
    if (!size || data + *size > pdf.size())
        return {};
    const QByteArray map = pdf.mid(data, *size);
    const QByteArray renamed = renameInMap(map, twins);
    if (renamed == map)
        return {};
    return {{length + 8, lengthEnd - (length + 8), QByteArray::number(renamed.size())}, {data, *size, renamed}};
}

}  // namespace

QHash<char16_t, char16_t> radicalTwins(const QList<QFont> &fonts)
{
    QHash<char16_t, char16_t> twins;
    for (const QFont &font : fonts)
        addTwins(QRawFont::fromFont(font), twins);
    return twins;
}

QByteArray nameIdeographs(const QByteArray &pdf, const QHash<char16_t, char16_t> &twins)
{
    const std::optional<Xref> xref = readXref(pdf);
    if (!xref || twins.isEmpty())
        return pdf;
    std::vector<Edit> edits;
    QList<int> done;
    static const QByteArray kKey = "/ToUnicode ";
    for (qsizetype at = pdf.indexOf(kKey); at >= 0 && at < xref->position; at = pdf.indexOf(kKey, at + 1)) {
        const auto object = numberAt(pdf, at + kKey.size());
        if (!object || done.contains(int(*object)) || !xref->entries.contains(int(*object)))
            continue;
        done << int(*object);
        for (Edit &e : renameObject(pdf, xref->entries[int(*object)].second, twins))
            edits.push_back(std::move(e));
    }
    if (edits.empty())
        return pdf;
    std::sort(edits.begin(), edits.end(), [](const Edit &a, const Edit &b) { return a.position < b.position; });
    // Where a byte of the old file lands in the new one.
    const auto moved = [&](qsizetype old) {
        qsizetype shift = 0;
        for (const Edit &e : edits)
            if (e.position < old)
                shift += e.bytes.size() - e.length;
        return old + shift;
    };
    QByteArray out;
    out.reserve(pdf.size() + 4096);
    qsizetype copied = 0;
    for (const Edit &e : edits) {
        out += pdf.mid(copied, e.position - copied);
        out += e.bytes;
        copied = e.position + e.length;
    }
    out += pdf.mid(copied, xref->numberPosition - copied);
    out += QByteArray::number(moved(xref->position));
    qsizetype numberEnd = 0;
    numberAt(pdf, xref->numberPosition, &numberEnd);
    out += pdf.mid(numberEnd);
    for (const auto &[digits, offset] : xref->entries)
        out.replace(moved(digits), 10, QByteArray::number(moved(offset)).rightJustified(10, '0'));
    return out;
}

}  // namespace report
