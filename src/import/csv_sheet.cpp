// .csv: fields separated by commas, quoted with double quotes (a quote doubled inside).
// The encoding is found, not asked: a file that is valid UTF-8 throughout (with or without
// BOM) is UTF-8, anything else is GB18030, the superset of the GBK that Excel writes on a
// Chinese Windows. The file is read in chunks, once to find the encoding and once for rows.

#include "import/sheet_readers.h"

#include <QFile>
#include <QStringDecoder>

namespace staff_import {
namespace {

constexpr qint64 kChunk = 1 << 16;

bool isUtf8(QFile &file)
{
    QStringDecoder probe(QStringDecoder::Utf8);
    while (!file.atEnd()) {
        (void)QString(probe.decode(file.read(kChunk)));
        if (probe.hasError())
            return false;
    }
    return true;
}

class CsvSheet : public SheetFile {
public:
    explicit CsvSheet(const QString &path) : file_(path)
    {
        if (!file_.open(QIODevice::ReadOnly))
            throw FileError(QStringLiteral("无法读取文件：%1").arg(path));
        const bool utf8 = isUtf8(file_);
        file_.seek(0);
        decoder_ = utf8 ? QStringDecoder(QStringDecoder::Utf8) : QStringDecoder("GB18030");
        if (!decoder_.isValid())
            throw FileError(QStringLiteral("无法识别文件的文字编码：%1").arg(path));
        size_ = file_.size();
    }

    std::optional<SheetRow> next() override
    {
        while (std::optional<QVariantList> record = nextRecord()) {
            ++number_;
            for (const QVariant &c : *record)
                if (!c.toString().trimmed().isEmpty())
                    return SheetRow{number_, *record};
        }
        return std::nullopt;
    }

    double fraction() const override { return size_ ? double(file_.pos()) / double(size_) : 1.0; }

private:
    // The next character, refilling the buffer from the file; nullopt at the end.
    std::optional<QChar> nextChar()
    {
        while (at_ >= text_.size()) {
            if (file_.atEnd())
                return std::nullopt;
            text_ = decoder_.decode(file_.read(kChunk));
            at_ = 0;
            if (first_) {
                first_ = false;
                if (text_.startsWith(QChar(0xFEFF)))
                    at_ = 1;
            }
        }
        return text_[at_++];
    }

    std::optional<QVariantList> nextRecord()
    {
        QVariantList fields;
        QString field;
        bool quoted = false, any = false;
        while (std::optional<QChar> c = nextChar()) {
            any = true;
            if (quoted) {
                if (*c != '"') {
                    field += *c;
                } else if (std::optional<QChar> after = nextChar(); after && *after == '"') {
                    field += '"';
                } else {
                    quoted = false;
                    if (!after)
                        break;
                    --at_;  // read again as unquoted text
                }
            } else if (*c == '"') {
                quoted = true;
            } else if (*c == ',') {
                fields.append(field);
                field.clear();
            } else if (*c == '\n') {
                if (field.endsWith('\r'))
                    field.chop(1);
                fields.append(field);
                return fields;
            } else {
                field += *c;
            }
        }
        if (!any)
            return std::nullopt;
        fields.append(field);
        return fields;
    }

    QFile file_;
    QStringDecoder decoder_;
    QString text_;
    qsizetype at_ = 0;
    bool first_ = true;
    qint64 size_ = 0;
    int number_ = 0;
};

}  // namespace

std::unique_ptr<SheetFile> openCsv(const QString &path) { return std::make_unique<CsvSheet>(path); }

}  // namespace staff_import
