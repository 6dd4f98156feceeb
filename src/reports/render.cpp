#include "reports/render.h"

#include "reports/layout.h"

#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

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
    QPdfWriter writer(file);
    writer.setResolution(kPdfDpi);
    writer.setCreator(QStringLiteral("wenpad"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), document.orientation, QMarginsF(0, 0, 0, 0)));
    if (paint(document, writer))
        return true;
    if (error)
        *error = QStringLiteral("无法写入文件：%1").arg(file);
    return false;
}

}  // namespace report
