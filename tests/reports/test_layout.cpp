// The report engine's layouts, read through the page model: where rows fall, which bands
// repeat, how rules join, how two-column reports flow and how headings break.

#include "reports/grid_report.h"
#include "reports/layout.h"
#include "reports/render.h"
#include "support/test_support.h"

#include <QRegularExpression>
#include <QSqlQueryModel>
#include <QTemporaryDir>
#include <QTest>

using namespace report;

Q_DECLARE_METATYPE(report::Report)

namespace {

constexpr double kEps = 1e-6;

Report sampleReport()
{
    Report r;
    r.title = QStringLiteral("测试报表");
    r.labels = {{QStringLiteral("单位：澄禾汀岚分公司"), {}, QStringLiteral("数字截止时间：2003年04月20日")}};
    r.columns = {{QStringLiteral("姓名"), 3, Align::Left, field(0)},
                 {QStringLiteral("人数"), 1, Align::Right, field(1)},
                 {QStringLiteral("签名"), 2, Align::Left, {}}};
    return r;
}

QList<Row> sampleRows(int count)
{
    QList<Row> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back({QStringLiteral("r%1").arg(i), i});
    return rows;
}

std::vector<const Text *> textsOf(const Page &page, FontRole role)
{
    std::vector<const Text *> found;
    for (const Text &t : page.texts)
        if (t.role == role)
            found.push_back(&t);
    return found;
}

// The first column's cells of one page in reading order: by table (left to right), then down.
QStringList rowNamesOf(const Page &page)
{
    std::vector<const Text *> cells;
    for (const Text *t : textsOf(page, FontRole::Body))
        if (t->text.startsWith('r'))
            cells.push_back(t);
    std::stable_sort(cells.begin(), cells.end(), [](const Text *a, const Text *b) {
        return a->box.x() + 1 < b->box.x() || (std::abs(a->box.x() - b->box.x()) <= 1 && a->box.y() < b->box.y());
    });
    QStringList names;
    for (const Text *t : cells)
        names << t->text;
    return names;
}

}  // namespace

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void pages_data()
    {
        QTest::addColumn<Report>("report");
        QTest::addColumn<int>("rowCount");

        Report portrait = sampleReport();
        portrait.orientation = QPageLayout::Portrait;
        QTest::newRow("one page") << portrait << 5;
        QTest::newRow("no rows") << portrait << 0;
        QTest::newRow("title once, headings on every page") << portrait << 90;

        Report header = sampleReport();
        header.titleOnEveryPage = true;
        QTest::newRow("page header on every page") << header << 60;

        Report headingsOnce = sampleReport();
        headingsOnce.headingsOnEveryPage = false;
        QTest::newRow("headings on the first page only") << headingsOnce << 60;

        Report twoColumns = sampleReport();
        twoColumns.flowColumns = 2;
        twoColumns.footer = {QStringLiteral("经理："), QStringLiteral("复核："), QStringLiteral("制表：")};
        QTest::newRow("two columns") << twoColumns << 70;

        Report summary = sampleReport();
        summary.summary = {QStringLiteral("合计"), QStringLiteral("99")};
        QTest::newRow("summary after the rows") << summary << 30;
    }

    // Every row once and in order, pages full but the last, the title where it belongs, the
    // headings above the rows, nothing in the margins or under the footer.
    void pages()
    {
        QFETCH(Report, report);
        QFETCH(int, rowCount);
        const Document doc = layout(report, sampleRows(rowCount));
        QVERIFY(!doc.pages.empty());
        const QSizeF paper = report.orientation == QPageLayout::Landscape ? QSizeF(297, 210) : QSizeF(210, 297);
        QCOMPARE(doc.paper, paper);

        QStringList all;
        std::vector<int> perPage;
        for (size_t p = 0; p < doc.pages.size(); ++p) {
            const Page &page = doc.pages[p];
            const QStringList names = rowNamesOf(page);
            all << names;
            perPage.push_back(int(names.size()));

            const bool titleHere = p == 0 || report.titleOnEveryPage;
            QCOMPARE(int(textsOf(page, FontRole::Title).size()), titleHere ? 1 : 0);
            const auto headings = textsOf(page, FontRole::Heading);
            const bool headingsHere = p == 0 || report.headingsOnEveryPage;
            QCOMPARE(int(headings.size()), headingsHere ? 3 * report.flowColumns : 0);

            double headingBottom = report.margins.top();
            for (const Text *h : headings)
                headingBottom = std::max(headingBottom, h->box.bottom());
            for (const Text *t : textsOf(page, FontRole::Body)) {
                QVERIFY2(t->box.top() >= headingBottom - kEps, qPrintable(t->text));
                QVERIFY(t->box.left() >= report.margins.left() - kEps);
                QVERIFY(t->box.right() <= paper.width() - report.margins.right() + kEps);
                QVERIFY(t->box.bottom() <= paper.height() - report.margins.bottom() - 6);
            }
            const QRectF inside = QRectF(QPointF(report.margins.left(), report.margins.top()),
                                         QPointF(paper.width() - report.margins.right(),
                                                 paper.height() - report.margins.bottom()))
                                      .adjusted(-kEps, -kEps, kEps, kEps);
            for (const QLineF &l : page.lines)
                QVERIFY(inside.contains(l.p1()) && inside.contains(l.p2()));
            const QString number = QStringLiteral("第 %1 页 共 %2 页").arg(p + 1).arg(doc.pages.size());
            QVERIFY(std::any_of(page.texts.begin(), page.texts.end(), [&](const Text &t) { return t.text == number; }));
        }
        QStringList expected;
        for (const Row &r : sampleRows(rowCount))
            expected << r[0].toString();
        QCOMPARE(all, expected);
        for (size_t p = 1; p + 1 < perPage.size(); ++p)
            QCOMPARE(perPage[p], perPage[1]);  // every page but the first and the last is full
        if (perPage.size() > 1)
            QVERIFY(perPage.back() <= perPage[1]);
        if (report.headingsOnEveryPage && !report.titleOnEveryPage && perPage.size() > 2)
            QVERIFY(perPage[1] > perPage[0]);  // the title's room holds rows on later pages

        if (!report.summary.isEmpty()) {
            const Page &last = doc.pages.back();
            auto total = std::find_if(last.texts.begin(), last.texts.end(), [](const Text &t) { return t.text == "合计"; });
            QVERIFY(total != last.texts.end());
            for (const Text *t : textsOf(last, FontRole::Body))
                QVERIFY(t->box.top() <= total->box.top());
        }
    }

    // The vertical rules of the heading and of every row join into one line per column edge,
    // running from the top of the table to the bottom of its last row.
    void rulesJoin_data()
    {
        QTest::addColumn<int>("flowColumns");
        QTest::addColumn<bool>("ruleEmptyRows");
        QTest::newRow("one table") << 1 << false;
        QTest::newRow("two tables, empty rows ruled") << 2 << true;
    }

    void rulesJoin()
    {
        QFETCH(int, flowColumns);
        QFETCH(bool, ruleEmptyRows);
        Report r = sampleReport();
        r.flowColumns = flowColumns;
        r.ruleEmptyRows = ruleEmptyRows;
        const Document doc = layout(r, sampleRows(7));
        QCOMPARE(int(doc.pages.size()), 1);
        const Page &page = doc.pages.front();
        std::vector<QLineF> verticals, horizontals;
        for (const QLineF &l : page.lines)
            (std::abs(l.x1() - l.x2()) < kEps ? verticals : horizontals).push_back(l);
        QCOMPARE(int(verticals.size()), 4 * flowColumns);  // 3 columns: 4 edges per table
        const double top = verticals.front().y1();
        const double bottom = verticals.front().y2();
        for (const QLineF &v : verticals) {
            QCOMPARE(v.y1(), top);
            QCOMPARE(v.y2(), bottom);
        }
        const int ruledRows = int(horizontals.size()) - 1 - 1;  // less the heading's top and bottom
        if (ruleEmptyRows)
            QVERIFY(ruledRows > 7);  // the rows go on, empty, to the foot of the page
        else
            QCOMPARE(ruledRows, 7);
        if (flowColumns == 2) {
            // The second table starts 4 mm after the first and ends at the right margin.
            std::vector<double> xs;
            for (const QLineF &v : verticals)
                xs.push_back(v.x1());
            std::sort(xs.begin(), xs.end());
            QCOMPARE(xs[4] - xs[3], r.flowGap);
            QCOMPARE(xs.front(), r.margins.left());
            QVERIFY(std::abs(xs.back() - (297 - r.margins.right())) < kEps);
        }
    }

    // Columns share the width by weight, align their cells, and a cell text too wide for its
    // cell prints smaller instead of being cut.
    void columnsAlignAndShare()
    {
        Report r = sampleReport();
        r.columns[0].weight = 2.5;
        r.columns[1].weight = 0.05;  // 人数 gets about 3 mm
        QList<Row> rows = {{QStringLiteral("r1"), 123456}};
        const Document doc = layout(r, rows);
        const Page &page = doc.pages.front();
        const double width = 297 - r.margins.left() - r.margins.right();
        const double edge = r.margins.left() + width * 2.5 / 4.55;
        for (const Text *t : textsOf(page, FontRole::Body)) {
            if (t->text == "r1") {
                QCOMPARE(t->align, Align::Left);
                QVERIFY(t->box.right() < edge);
                QCOMPARE(t->pointSize, 0.0);
            } else {
                QCOMPARE(t->text, "123456");
                QCOMPARE(t->align, Align::Right);
                QVERIFY(t->box.left() > edge);
                QVERIFY(t->pointSize >= 6 && t->pointSize < r.fonts.bodyPt);
            }
        }
    }

    // A heading too wide for its column breaks at its blanks; a group heading spans its columns
    // and the rules between them start under it.
    void headingsBreakAndGroup()
    {
        const QFont font = fontFor(Fonts{}, FontRole::Heading);
        QCOMPARE(headingLines(QStringLiteral("入党（团） 时     间"), 1000, font),
                 QStringList{QStringLiteral("入党（团） 时     间")});
        QCOMPARE(headingLines(QStringLiteral("入党（团） 时     间"), textWidthMm(font, "入党（团）") + 0.5, font),
                 QStringList({QStringLiteral("入党（团）"), QStringLiteral("时     间")}));
        QCOMPARE(headingLines(QStringLiteral("任现职 时  间"), textWidthMm(font, "任现职") + 0.5, font),
                 QStringList({QStringLiteral("任现职"), QStringLiteral("时  间")}));
        QCOMPARE(headingLines(QStringLiteral("大 学 本 科"), textWidthMm(font, "大 学") + 0.5, font),
                 QStringList({QStringLiteral("大 学"), QStringLiteral("本 科")}));
        QCOMPARE(headingLines(QStringLiteral("单位系数工资"), textWidthMm(font, "单位系数") + 0.5, font),
                 QStringList({QStringLiteral("单位系数"), QStringLiteral("工资")}));

        Report r = sampleReport();
        r.columns.push_back({QStringLiteral("占 比"), 1, Align::Right, {}});
        r.groups = {{1, 2, QStringLiteral("学         历")}};
        const Document doc = layout(r, sampleRows(2));
        const Page &page = doc.pages.front();
        auto group = std::find_if(page.texts.begin(), page.texts.end(), [](const Text &t) {
            return t.text == QStringLiteral("学         历");
        });
        QVERIFY(group != page.texts.end());
        auto heading = [&](const QString &s) {
            return *std::find_if(page.texts.begin(), page.texts.end(), [&](const Text &t) { return t.text == s; });
        };
        const Text name = heading(QStringLiteral("姓名")), count = heading(QStringLiteral("人数")),
                   sign = heading(QStringLiteral("签名"));
        QVERIFY(count.box.top() >= group->box.bottom() - kEps);
        QVERIFY(sign.box.top() >= group->box.bottom() - kEps);
        QVERIFY(name.box.center().y() < count.box.center().y());  // ungrouped headings span both rows
        QCOMPARE(group->box.left(), count.box.left());
        QCOMPARE(group->box.right(), sign.box.right());
        // The rule between 人数 and 签名 starts at the group heading's foot.
        const double edge = count.box.right();
        auto rule = std::find_if(page.lines.begin(), page.lines.end(), [&](const QLineF &l) {
            return std::abs(l.x1() - edge) < kEps && std::abs(l.x2() - edge) < kEps;
        });
        QVERIFY(rule != page.lines.end());
        QCOMPARE(std::min(rule->y1(), rule->y2()), group->box.bottom());
    }

    // A grid printed from a model that reads its rows lazily holds every row, not only the 256
    // a QSqlQueryModel fetches at first.
    void gridReadsLazyModelToItsEnd()
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "lazy");
            db.setDatabaseName(":memory:");
            QVERIFY(db.open());
            QSqlQueryModel model;
            model.setQuery("with recursive n(i) as (select 1 union all select i + 1 from n where i < 300) "
                           "select 'r' || i as 名称, i as 序号 from n",
                           db);
            QVERIFY(model.rowCount() < 300);
            const Document doc = layoutGrid("lazy", QStringLiteral("测试"), {}, model);
            QStringList printed;
            for (size_t p = 0; p < doc.pages.size(); ++p)
                printed += rowNamesOf(doc.pages[p]);
            QCOMPARE(printed.size(), 300);
            QCOMPARE(printed.front(), "r1");
            QCOMPARE(printed.back(), "r300");
        }
        QSqlDatabase::removeDatabase("lazy");
    }

    // One document through the PDF writer and back through pdftotext.
    void pdfReadsBack()
    {
        QTemporaryDir dir;
        Report r = sampleReport();
        const QString file = dir.filePath("out.pdf");
        QString error;
        QVERIFY(writePdf(layout(r, sampleRows(45)), file, &error));
        const QString out = pdfText(file);
        QVERIFY2(out.contains(QStringLiteral("测试报表")), qPrintable(out));
        QVERIFY(out.contains(QStringLiteral("数字截止时间：2003年04月20日")));
        QVERIFY(out.contains(QRegularExpression("\\b45\\b")));
        QCOMPARE(out.count(QStringLiteral("姓名")), int(layout(r, sampleRows(45)).pages.size()));

        QVERIFY(!writePdf(layout(r, {}), dir.filePath("missing/folder/out.pdf"), &error));
        QVERIFY(error.contains(QStringLiteral("无法写入")));
    }
};

QTEST_MAIN(TestLayout)
#include "test_layout.moc"
