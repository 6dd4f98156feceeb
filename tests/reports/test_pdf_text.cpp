// Printed reports (a page model, a statistics report, a roster, the pay lists) read back as the
// text that was printed: pdftotext finds every text of the page model, with no look-alike
// radical (U+2E80–U+2FDF) in place of an ideograph, and the pages look exactly as before the
// text maps were mended.

#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "reports/layout.h"
#include "reports/pdf_text_map.h"
#include "reports/render.h"
#include "pay/pay_lists.h"
#include "pay/pay_sheets.h"
#include "staff/roster_query.h"
#include "staff/roster_report.h"
#include "stats/statistics_reports.h"
#include "stats/statistics_table.h"
#include "support/test_support.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace report;

namespace {

// Ideographs Noto Sans CJK draws with a radical's glyph. Twelve Kangxi twins in code order,
// each new to the font subset, make Qt write a consecutive range of radicals.
const QString kKangxiRun = QStringLiteral("一丨丶丿乙亅二亠人儿入八");
const QString kSupplementTwins = QStringLiteral("民车长页");

QString withoutSpaces(QString s) { return s.remove(QRegularExpression("\\s")); }

QStringList radicalsIn(const QString &text)
{
    QStringList found;
    for (const QChar c : text)
        if (c.unicode() >= 0x2E80 && c.unicode() <= 0x2FDF)
            found << QStringLiteral("U+%1 %2").arg(c.unicode(), 4, 16, QChar('0')).arg(c);
    return found;
}

// Every object the cross-reference table names starts where the table says.
bool offsetsHold(const QByteArray &pdf)
{
    const auto m = QRegularExpression(R"(startxref\s+(\d+))").globalMatch(QString::fromLatin1(pdf));
    qsizetype xref = -1;
    for (auto it = m; it.hasNext();)
        xref = it.next().captured(1).toLongLong();
    const auto head = QRegularExpression(R"(^xref\s+(\d+) (\d+)\s+)").match(QString::fromLatin1(pdf.mid(xref, 40)));
    if (!head.hasMatch())
        return false;
    const int first = head.captured(1).toInt(), count = head.captured(2).toInt();
    for (int i = 0; i < count; ++i) {
        const QByteArray entry = pdf.mid(xref + head.capturedLength() + 20 * i, 20);
        if (entry.at(17) == 'n' && !pdf.mid(entry.left(10).toLongLong()).startsWith(QByteArray::number(first + i) + " 0 obj"))
            return false;
    }
    return true;
}

QByteArray rendered(const QString &pdf)
{
    QProcess run;
    run.start("pdftoppm", {"-r", "40", "-gray", pdf});
    run.waitForFinished(60000);
    return run.readAllStandardOutput();
}

Report twinsReport()
{
    Report r;
    r.title = QStringLiteral("大长民车生月文高工入干言") + kKangxiRun;  // bold
    r.labels = {{QStringLiteral("单位：澄禾汀岚分公司"), {}, QStringLiteral("页码")}};
    r.columns = {{QStringLiteral("姓名"), 2, Align::Left, field(0)},
                 {QStringLiteral("车间 班组长"), 3, Align::Left, field(1)}};
    return r;
}

QList<Row> twinsRows()
{
    return {{QStringLiteral("王大明"), QStringLiteral("长江页岩车间")},
            {QStringLiteral("李民生"), kKangxiRun},
            {QStringLiteral("高文言"), kSupplementTwins}};
}

}  // namespace

class TestPdfText : public QObject {
    Q_OBJECT
private slots:
    // The page model, a statistics report and a roster, through writePdf and pdftotext.
    void readsBackAsPrinted_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("report page model") << "model";
        QTest::newRow("statistics report") << "statistics";
        QTest::newRow("roster") << "roster";
        QTest::newRow("pay list") << "pay";
    }
    void readsBackAsPrinted()
    {
        QFETCH(QString, kind);
        ProgramFolder folder;
        std::vector<Document> documents;
        if (kind == "model") {
            documents.push_back(layout(twinsReport(), twinsRows()));
        } else {
            demo::Options options;
            options.employees = 150;
            demo::generate(folder.db(), options);
            if (kind == "statistics") {
                const stats::TableDescription &table = *stats::findStatisticsTable("zgjbqkfxb");
                table.rebuild(folder.db(), QDate(2026, 6, 30));
                documents = stats::printedReports(folder.db(), table, QDate(2026, 6, 30));
            } else if (kind == "pay") {
                for (const char *table : {"gzb", "btb", "jjb"}) {
                    const QList<pay::SheetRow> rows = pay::loadSheet(folder.db(), pay::sheet(table), QDate(2026, 6, 1), "07");
                    QVERIFY(rows.size() > 3);
                    documents.push_back(pay::layoutPayList(table, rows, {QDate(2026, 6, 1), QStringLiteral("办公室"), QDate(2026, 6, 30)}));
                }
            } else {
                const roster::Member &member = *roster::findMember("Tfrmgbxx");
                roster::Filter filter;
                filter.level = "99";
                const QList<QVariantList> rows = roster::read(folder.db(), member, filter);
                QVERIFY(rows.size() > 5);
                documents.push_back(roster::layoutRoster(member.reportClass, roster::printedTitle(member, {}), rows));
            }
        }
        QVERIFY(!documents.empty());
        for (const Document &document : documents) {
            const QString file = folder.file("out.pdf");
            QString error;
            QVERIFY2(writePdf(document, file, &error), qPrintable(error));
            const QString out = pdfText(file, false);
            QVERIFY2(radicalsIn(out).isEmpty(), qPrintable(radicalsIn(out).join(", ")));
            const QString flat = withoutSpaces(out);
            int checked = 0;
            for (const Page &page : document.pages)
                for (const Text &t : page.texts) {
                    QVERIFY2(flat.contains(withoutSpaces(t.text)), qPrintable(t.text));
                    ++checked;
                }
            QVERIFY(checked >= 8);
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY(offsetsHold(f.readAll()));
        }
    }

    // The mended file and Qt's own differ only in their text maps: the pages render the same.
    // A document printed into a PDF file through a printer is mended the same way.
    void pagesLookTheSame()
    {
        QTemporaryDir dir;
        const Document document = layout(twinsReport(), twinsRows());
        const QString mended = dir.filePath("mended.pdf"), plain = dir.filePath("plain.pdf");
        QVERIFY(writePdf(document, mended));
        {
            QPdfWriter writer(plain);
            writer.setResolution(600);
            writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), document.orientation, QMarginsF()));
            QVERIFY(paint(document, writer));
        }
        QVERIFY(!radicalsIn(pdfText(plain, false)).isEmpty());  // the fault this mends is still Qt's
        const QByteArray image = rendered(mended);
        QVERIFY(image.size() > 1000);
        QCOMPARE(image, rendered(plain));

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("printed.pdf"));
        printer.setFullPage(true);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), document.orientation, QMarginsF()));
        QVERIFY(paint(document, printer));
        mendPdfText(document, printer.outputFileName());
        const QString printed = pdfText(printer.outputFileName(), false);
        QVERIFY(radicalsIn(printed).isEmpty());
        QVERIFY(withoutSpaces(printed).contains(kKangxiRun));
    }

    // A file that is not Qt's plain structure is left as it is.
    void foreignBytesUnchanged()
    {
        const auto twins = radicalTwins({QFont("Noto Sans CJK SC")});
        QCOMPARE(twins.value(u'\x2F24'), u'大');
        QCOMPARE(twins.value(u'\x2ECB'), u'车');
        for (const QByteArray &bytes : {QByteArray(), QByteArray("not a pdf"), QByteArray("%PDF-1.4\nstartxref\n99999\n%%EOF")})
            QCOMPARE(nameIdeographs(bytes, twins), bytes);
    }
};

QTEST_MAIN(TestPdfText)
#include "test_pdf_text.moc"
