#include "reports/render.h"

#include "reports/layout.h"
#include "reports/pdf_text_map.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryFile>

namespace report {
namespace {

constexpr double kRuleWidthMm = 0.2;
constexpr int kPdfDpi = 600;

Qt::Alignment alignment(Align align)
{
    switch (align) {
    case Align::Left: return Qt::AlignLeft;
    case Align::Centre: return Qt::AlignHCenter;
    case Align::Right: return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

QHash<char16_t, char16_t> twinsOf(const Document &document)
{
    return radicalTwins({fontFor(document.fonts, FontRole::Body), fontFor(document.fonts, FontRole::Title)});
}

}  // namespace

void paintPage(QPainter &painter, const Document &document, const Page &page, double scale)
{
    const auto toDevice = [scale](const QRectF &r) {
        return QRectF(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale);
    };
    QPen pen(Qt::black);
    pen.setWidthF(kRuleWidthMm * scale);
    painter.setPen(pen);
    for (const QLineF &l : page.lines)
        painter.drawLine(QLineF(l.p1() * scale, l.p2() * scale));
    for (const Picture &picture : page.pictures) {
        if (picture.image.isNull())
            continue;
        const QRectF box = toDevice(picture.box);
        QSizeF size = picture.image.size();
        size.scale(box.size(), Qt::KeepAspectRatio);
        painter.drawImage(QRectF(box.center() - QPointF(size.width() / 2, size.height() / 2), size), picture.image);
    }
    for (const Text &t : page.texts) {
        QFont font = fontFor(document.fonts, t.role);
        if (t.pointSize > 0)
            font.setPointSizeF(t.pointSize);
        painter.setFont(font);
        painter.drawText(toDevice(t.box), int(alignment(t.align) | Qt::AlignVCenter | Qt::TextSingleLine), t.text);
    }
}

bool paint(const Document &document, QPagedPaintDevice &device, const Progress &progress)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double scale = device.width() / document.paper.width();  // device pixels per mm
    const int total = int(document.pages.size());
    for (int p = 0; p < total; ++p) {
        if (p > 0 && !device.newPage()) {
            painter.end();
            return false;
        }
        paintPage(painter, document, document.pages[size_t(p)], scale);
        if (progress && !progress(p + 1, total)) {
            painter.end();
            return false;
        }
    }
    return painter.end();
}

bool writePdf(const Document &document, const QString &file, QString *error, const Progress &progress)
{
    bool stopped = false;
    const Progress watched = [&](int done, int total) {
        stopped = progress && !progress(done, total);
        return !stopped;
    };
    // Qt's file is written beside the target first, then copied with its text maps mended into
    // a save file: an earlier file of that name stays until the new one is complete.
    QSaveFile out(file);
    QTemporaryFile raw(QFileInfo(file).absoluteDir().filePath(QStringLiteral(".wenpad-XXXXXX.pdf")));
    bool written = out.open(QIODevice::WriteOnly) && raw.open();
    if (written) {
        QPdfWriter writer(&raw);
        writer.setResolution(kPdfDpi);
        writer.setCreator(QStringLiteral("wenpad"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), document.orientation, QMarginsF(0, 0, 0, 0)));
        written = paint(document, writer, watched);
    }
    written = written && raw.flush() && raw.error() == QFileDevice::NoError && nameIdeographs(raw, out, twinsOf(document))
              && out.commit();
    if (written)
        return true;
    out.cancelWriting();
    if (error)
        *error = stopped ? QString() : QStringLiteral("无法写入文件：%1").arg(file);
    return false;
}

void mendPdfText(const Document &document, const QString &file)
{
    QFile in(file);
    QSaveFile out(file);
    if (in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly) && nameIdeographs(in, out, twinsOf(document)))
        out.commit();
}

}  // namespace report
