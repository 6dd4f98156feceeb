#include "reports/render.h"

#include "reports/layout.h"
#include "reports/pdf_text_map.h"

#include <QBuffer>
#include <QFile>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

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

QByteArray mended(const Document &document, const QByteArray &pdf)
{
    return nameIdeographs(pdf, radicalTwins({fontFor(document.fonts, FontRole::Body), fontFor(document.fonts, FontRole::Title)}));
}

}  // namespace

bool paint(const Document &document, QPagedPaintDevice &device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double scale = device.width() / document.paper.width();  // device pixels per mm
    const auto toDevice = [scale](const QRectF &r) {
        return QRectF(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale);
    };
    QPen pen(Qt::black);
    pen.setWidthF(kRuleWidthMm * scale);
    for (size_t p = 0; p < document.pages.size(); ++p) {
        if (p > 0)
            device.newPage();
        const Page &page = document.pages[p];
        painter.setPen(pen);
        for (const QLineF &l : page.lines)
            painter.drawLine(QLineF(l.p1() * scale, l.p2() * scale));
        for (const Picture &p : page.pictures) {
            if (p.image.isNull())
                continue;
            const QRectF box = toDevice(p.box);
            QSizeF size = p.image.size();
            size.scale(box.size(), Qt::KeepAspectRatio);
            painter.drawImage(QRectF(box.center() - QPointF(size.width() / 2, size.height() / 2), size), p.image);
        }
        for (const Text &t : page.texts) {
            QFont font = fontFor(document.fonts, t.role);
            if (t.pointSize > 0)
                font.setPointSizeF(t.pointSize);
            painter.setFont(font);
            painter.drawText(toDevice(t.box), int(alignment(t.align) | Qt::AlignVCenter | Qt::TextSingleLine),
                             t.text);
        }
    }
    return painter.end();
}

bool writePdf(const Document &document, const QString &file, QString *error)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(kPdfDpi);
        writer.setCreator(QStringLiteral("wenpad"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), document.orientation, QMarginsF(0, 0, 0, 0)));
        paint(document, writer);
    }
    // Written whole or not at all: an earlier file of that name stays until the new one is complete.
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly) && out.write(mended(document, pdf.data())) >= 0 && out.commit())
        return true;
    if (error)
        *error = QStringLiteral("无法写入文件：%1").arg(file);
    return false;
}

void mendPdfText(const Document &document, const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return;
    const QByteArray pdf = in.readAll();
    in.close();
    const QByteArray fixed = mended(document, pdf);
    if (fixed == pdf)
        return;
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly) && out.write(fixed) == fixed.size())
        out.commit();
}

}  // namespace report
