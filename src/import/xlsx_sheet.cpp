// .xlsx: the workbook's ZIP entries are read with libzip and their XML with QXmlStreamReader.
// The first worksheet is streamed row by row; only its shared strings are held.

#include "import/sheet_readers.h"

#include <QHash>
#include <QIODevice>
#include <QStringList>
#include <QXmlStreamReader>
#include <zip.h>

namespace staff_import {
namespace {

// One entry of the archive as a sequential device, so the XML reader pulls it as it goes.
class ZipEntry : public QIODevice {
public:
    ZipEntry(zip_t *archive, const QString &name)
    {
        const QByteArray utf8 = name.toUtf8();
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat(archive, utf8.constData(), 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE))
            size_ = qint64(stat.size);
        file_ = zip_fopen(archive, utf8.constData(), 0);
        if (file_)
            open(QIODevice::ReadOnly);
    }
    ~ZipEntry() override
    {
        if (file_)
            zip_fclose(file_);
    }
    bool found() const { return file_ != nullptr; }
    bool isSequential() const override { return true; }
    double fraction() const { return size_ > 0 ? double(read_) / double(size_) : 0.0; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const zip_int64_t n = zip_fread(file_, data, zip_uint64_t(maxSize));
        if (n > 0)
            read_ += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    zip_file_t *file_ = nullptr;
    qint64 size_ = 0;
    qint64 read_ = 0;
};

[[noreturn]] void unreadable(const QString &path)
{
    throw FileError(QStringLiteral("不是可读的 Excel 工作簿（.xlsx）：%1").arg(path));
}

// "BC12" → 54 (zero-based column); -1 when the reference has no letters.
int columnOf(QStringView reference)
{
    int column = 0, letters = 0;
    for (QChar c : reference) {
        if (c < 'A' || c > 'Z')
            break;
        column = column * 26 + (c.unicode() - 'A' + 1);
        ++letters;
    }
    return letters ? column - 1 : -1;
}

// The text of the element the reader stands on, its phonetic runs (<rPh>) left out.
QString textOf(QXmlStreamReader &xml)
{
    QString text;
    const QStringView element = xml.name();
    const QString end = element.toString();
    int skipping = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("rPh"))
            ++skipping;
        else if (xml.isEndElement() && xml.name() == QLatin1String("rPh"))
            --skipping;
        else if (xml.isCharacters() && !skipping)
            text += xml.text();
        else if (xml.isEndElement() && xml.name() == end)
            break;
    }
    return text;
}

struct Discard {
    void operator()(zip_t *archive) const { zip_discard(archive); }
};

class XlsxSheet : public SheetFile {
public:
    explicit XlsxSheet(const QString &path)
    {
        int error = 0;
        archive_.reset(zip_open(path.toLocal8Bit().constData(), ZIP_RDONLY, &error));
        if (!archive_)
            unreadable(path);
        const QString sheet = firstSheetPath();
        if (sheet.isEmpty())
            unreadable(path);
        readSharedStrings();
        sheet_ = std::make_unique<ZipEntry>(archive_.get(), sheet);
        if (!sheet_->found())
            unreadable(path);
        xml_.setDevice(sheet_.get());
        path_ = path;
    }
    ~XlsxSheet() override { xml_.setDevice(nullptr); }

    std::optional<SheetRow> next() override
    {
        while (!xml_.atEnd()) {
            xml_.readNext();
            if (xml_.isStartElement() && xml_.name() == QLatin1String("row")) {
                SheetRow row = readRow();
                for (const QVariant &c : row.cells)
                    if (!cellText(c).trimmed().isEmpty())
                        return row;
            }
        }
        if (xml_.hasError())
            throw FileError(QStringLiteral("工作簿内容已损坏：%1（%2）").arg(path_, xml_.errorString()));
        return std::nullopt;
    }

    double fraction() const override { return sheet_->fraction(); }

private:
    // xl/workbook.xml names the sheets; its relations say which part holds the first.
    QString firstSheetPath()
    {
        QString relation;
        {
            ZipEntry workbook(archive_.get(), "xl/workbook.xml");
            QXmlStreamReader xml(&workbook);
            while (workbook.found() && !xml.atEnd() && relation.isEmpty())
                if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("sheet"))
                    for (const QXmlStreamAttribute &a : xml.attributes())
                        if (a.name() == QLatin1String("id"))
                            relation = a.value().toString();
        }
        ZipEntry relations(archive_.get(), "xl/_rels/workbook.xml.rels");
        QXmlStreamReader xml(&relations);
        while (relations.found() && !xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("Relationship")
                && xml.attributes().value("Id") == relation) {
                const QString target = xml.attributes().value("Target").toString();
                return target.startsWith('/') ? target.mid(1) : "xl/" + target;
            }
        return {};
    }

    void readSharedStrings()
    {
        ZipEntry entry(archive_.get(), "xl/sharedStrings.xml");
        if (!entry.found())
            return;
        QXmlStreamReader xml(&entry);
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("si"))
                strings_.append(textOf(xml));
    }

    SheetRow readRow()
    {
        SheetRow row;
        row.number = xml_.attributes().value("r").toInt();
        row.number = row.number > 0 ? row.number : lastRow_ + 1;
        lastRow_ = row.number;
        while (!xml_.atEnd()) {
            xml_.readNext();
            if (xml_.isEndElement() && xml_.name() == QLatin1String("row"))
                break;
            if (!xml_.isStartElement() || xml_.name() != QLatin1String("c"))
                continue;
            int column = columnOf(xml_.attributes().value("r"));
            if (column < 0)
                column = int(row.cells.size());
            const QString type = xml_.attributes().value("t").toString();
            const QVariant value = readCell(type);
            if (column >= row.cells.size())
                row.cells.resize(column + 1);
            row.cells[column] = value;
        }
        return row;
    }

    // The value of the <c> element the reader stands on, by its type attribute.
    QVariant readCell(const QString &type)
    {
        QString raw;
        while (!xml_.atEnd()) {
            xml_.readNext();
            if (xml_.isEndElement() && xml_.name() == QLatin1String("c"))
                break;
            if (xml_.isStartElement() && (xml_.name() == QLatin1String("v") || xml_.name() == QLatin1String("is")))
                raw = textOf(xml_);
        }
        if (raw.isEmpty())
            return {};
        if (type == "s")
            return strings_.value(raw.toInt());
        if (type == "str" || type == "inlineStr" || type == "d" || type == "e")
            return raw;
        if (type == "b")
            return raw == "1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        bool ok = false;
        const double number = raw.toDouble(&ok);
        return ok ? QVariant(number) : QVariant(raw);
    }

    std::unique_ptr<zip_t, Discard> archive_;  // declared first: the entry is closed before it
    std::unique_ptr<ZipEntry> sheet_;
    QXmlStreamReader xml_;
    QStringList strings_;
    QString path_;
    int lastRow_ = 0;
};

}  // namespace

std::unique_ptr<SheetFile> openXlsx(const QString &path) { return std::make_unique<XlsxSheet>(path); }

}  // namespace staff_import
