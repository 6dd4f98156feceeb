// Long documents page by page: a page is laid out from its own rows only when it is read, rows
// of a list come in the windows asked for, a PDF is written page after page and a
// cancelled one leaves nothing under its name, and the preview of a long document lays out only
// the pages in view.

#include "reports/layout.h"
#include "reports/page_view.h"
#include "reports/paged_preview.h"
#include "reports/print_progress.h"
#include "reports/render.h"
#include "db/sql.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScrollBar>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace report;

namespace {

Report sampleReport()
{
    Report r;
    r.title = QStringLiteral("测试报表");
    r.columns = {{QStringLiteral("序号"), 1, Align::Right, runningNumber()},
                 {QStringLiteral("姓名"), 3, Align::Left, field(0)}};
    return r;
}

QList<Row> sampleRows(int count)
{
    QList<Row> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back({QStringLiteral("职工%1").arg(i)});
    return rows;
}

// Rows in memory that remember which were asked for.
class CountingRows : public RowSource {
public:
    explicit CountingRows(int count) : rows_(sampleRows(count)) {}
    int count() override { return int(rows_.size()); }
    QList<Row> rows(int first, int count) override
    {
        delivered += count;
        lastAsked = first + count;
        return rows_.mid(first, count);
    }
    int delivered = 0;
    int lastAsked = 0;

private:
    QList<Row> rows_;
};

// Rows whose first page reads and whose later ones no longer can (deleted by someone else).
class VanishingRows : public RowSource {
public:
    int count() override { return 300; }
    QList<Row> rows(int first, int count) override
    {
        if (first > 0)
            throw sql::Failure(QStringLiteral("no such table: t"));
        return sampleRows(300).mid(first, count);
    }
};

// The names of table t in id order, read by windows.
std::shared_ptr<RowSource> namesOfT(const QSqlDatabase &db)
{
    windowed::Listing listing;
    listing.columns = "t.name";
    listing.from = "from t";
    listing.order = {"t.id"};
    return windowedRows(db, listing, [](const QVariantList &values, const QStringList &fields) {
        return Row{values.value(fields.indexOf("name"))};
    });
}

QStringList textsOf(const Page &page)
{
    QStringList texts;
    for (const Text &t : page.texts)
        texts << t.text;
    return texts;
}

}  // namespace

class TestPagedReports : public QObject {
    Q_OBJECT
private slots:
    // The page count is known before any page is laid out, and a page reads only its own rows.
    void pagesOnDemand()
    {
        auto rows = std::make_shared<CountingRows>(10000);
        const Document doc = layoutFromSource(sampleReport(), rows);
        QCOMPARE(rows->delivered, 0);
        const int count = int(doc.pages.size());
        QVERIFY(count > 100);

        const Page first = doc.pages[0];
        QVERIFY(textsOf(first).contains(QStringLiteral("第 1 页 共 %1 页").arg(count)));
        const int perPage = rows->delivered;
        QVERIFY(perPage > 10 && perPage < 100);
        QCOMPARE(rows->lastAsked, perPage);

        const Page last = doc.pages.back();
        QVERIFY(textsOf(last).contains(QStringLiteral("职工10000")));
        QVERIFY(textsOf(last).contains(QStringLiteral("第 %1 页 共 %1 页").arg(count)));
        QVERIFY(rows->delivered < 3 * perPage);

        // The same pages as a document laid out from the rows in memory.
        const Document whole = layout(sampleReport(), sampleRows(10000));
        QCOMPARE(int(whole.pages.size()), count);
        for (const int p : {0, 1, count / 2, count - 1})
            QCOMPARE(textsOf(doc.pages[size_t(p)]), textsOf(whole.pages[size_t(p)]));
    }

    // A list's rows in any order: forward, back to the start, a jump far on, past the end; a
    // window that cannot be read fails the page rather than printing it blank.
    void rowsFromAList()
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "rows");
        db.setDatabaseName(":memory:");
        QVERIFY(db.open());
        QSqlQuery fill(db);
        QVERIFY(fill.exec("create table t(id integer primary key, name text)"));
        for (int i = 1; i <= 1000; ++i)
            QVERIFY(fill.exec(QStringLiteral("insert into t(name) values('职工%1')").arg(i)));
        auto rows = namesOfT(db);
        QCOMPARE(rows->count(), 1000);
        const QList<Row> all = sampleRows(1000);
        for (const auto &[first, count] : {std::pair{0, 10}, {10, 10}, {500, 300}, {5, 3}, {995, 10}, {1000, 10}})
            QCOMPARE(rows->rows(first, count), all.mid(first, count));
        QVERIFY(fill.exec("drop table t"));
        QVERIFY_THROWS_EXCEPTION(sql::Failure, rows->rows(300, 10));
        rows.reset();
        fill = QSqlQuery();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("rows");
    }

    // A list of the program's database is read on a connection of its own in one read
    // transaction: rows deleted by another meanwhile still print on the pages after the first.
    void aListKeepsItsPictureWhileOthersWrite()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        QStringList values;
        for (int i = 1; i <= 1000; ++i)
            values << QStringLiteral("(%1, '职工%1')").arg(i);
        sql::exec(db, "create table t(id integer primary key, name text)");
        sql::exec(db, "insert into t(id, name) values " + values.join(", "));
        auto rows = namesOfT(db);
        const QList<Row> all = sampleRows(1000);
        QCOMPARE(rows->count(), 1000);
        QCOMPARE(rows->rows(0, 10), all.mid(0, 10));
        sql::exec(db, "delete from t where id > 500");
        QCOMPARE(queryValue(db, "select count(*) from t").toInt(), 500);
        for (const auto &[first, count] : {std::pair{500, 300}, {995, 10}})
            QCOMPARE(rows->rows(first, count), all.mid(first, count));
    }

    // Progress is told after every page; a stop ends the writing, keeps an earlier file of that
    // name as it was and leaves no other file behind.
    void pdfPageAfterPage()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("out.pdf");
        const Document doc = layout(sampleReport(), sampleRows(300));
        const int count = int(doc.pages.size());
        QList<int> told;
        QString error;
        QVERIFY(writePdf(doc, file, &error, [&](int done, int total) {
            told << done;
            return total == count;
        }));
        QCOMPARE(told.size(), count);
        QCOMPARE(told.last(), count);
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray earlier = written.readAll();
        written.close();

        error = QStringLiteral("untouched");
        QVERIFY(!writePdf(layout(sampleReport(), sampleRows(600)), file, &error, [](int done, int) { return done < 2; }));
        QVERIFY(error.isEmpty());  // stopped, not failed
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), earlier);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.pdf"});

        const QString fresh = dir.filePath("fresh.pdf");
        QVERIFY(!writePdf(doc, fresh, &error, [](int, int) { return false; }));
        QVERIFY(!QFile::exists(fresh));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.pdf"});
    }

    // Rows that can no longer be read part way through: a real print job is aborted and Qt's
    // preview keeps the page it painted; both tell why instead of stopping silently.
    void unreadableRowsAreTold()
    {
        const Document doc = layoutFromSource(sampleReport(), std::make_shared<VanishingRows>());
        QVERIFY(doc.pages.size() > 2);
        QStringList told;
        const ScopedTeller telling([&](QWidget *, Tone, const QString &title, const QString &text, const QString &details) {
            told << title + '|' + text + '|' + details;
        });
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        setUpA4(printer, doc.orientation);
        printer.setOutputFileName(dir.filePath("out.pdf"));
        QVERIFY(!printWhole(doc, printer, nullptr));
        QCOMPARE(told, QStringList{"打印|数据库错误，未能读出数据。|no such table: t"});

        told.clear();
        QPrintPreviewWidget preview(&printer);
        connect(&preview, &QPrintPreviewWidget::paintRequested, &preview,
                [&](QPrinter *p) { QVERIFY(!printWhole(doc, *p, &preview)); });
        preview.updatePreview();
        QCOMPARE(told, QStringList{"打印|数据库错误，未能读出数据。|no such table: t"});
        QVERIFY(preview.pageCount() > 0 && preview.pageCount() < int(doc.pages.size()));
    }

    // The preview of thousands of pages lays out the pages in view, and the last page when it
    // is asked for.
    void previewPaintsPagesInView()
    {
        auto rows = std::make_shared<CountingRows>(100000);
        const Document doc = layoutFromSource(sampleReport(), rows);
        PagedPreview preview(doc);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QCoreApplication::processEvents();
        PageView *view = preview.view();
        QCOMPARE(view->pageCount(), int(doc.pages.size()));
        QVERIFY(rows->delivered > 0);
        QVERIFY2(rows->delivered < 5 * 40, qPrintable(QString::number(rows->delivered)));

        view->showPage(view->pageCount() - 1);
        QCoreApplication::processEvents();
        view->viewport()->repaint();
        QCOMPARE(view->currentPage(), view->pageCount() - 1);
        QCOMPARE(rows->lastAsked, 100000);
        QVERIFY(rows->delivered < 10 * 40);
    }
};

QTEST_MAIN(TestPagedReports)
#include "test_paged_reports.moc"
