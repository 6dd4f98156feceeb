// The statistics screen and the pie chart view: what they add over the rebuild.

#include "app/file_choice.h"
#include "app/grid_export.h"
#include "app/main_window.h"
#include "app/notify.h"
#include "app/prompt.h"
#include "db/clock.h"
#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "stats/pie_slices.h"
#include "reports/print_preview.h"
#include "stats/pie_view.h"
#include "stats/statistics_screen.h"
#include "stats/statistics_screens.h"
#include "app/striped_grid.h"
#include "stats/statistics_table.h"
#include "stats/cells.h"
#include "support/document_texts.h"
#include "support/test_engine.h"
#include "support/test_support.h"

#include <QAbstractItemView>
#include <QJsonArray>
#include <QJsonObject>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QLabel>
#include <QMenuBar>
#include <QPieSeries>
#include <QPushButton>
#include <QSqlField>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTest>

namespace {

QSqlRecord row(const QString &name, std::initializer_list<std::pair<const char *, QVariant>> values)
{
    QSqlRecord r;
    QSqlField n("dwmc", QMetaType(QMetaType::QString));
    n.setValue(name.isNull() ? QVariant() : QVariant(name));
    r.append(n);
    for (const auto &[column, value] : values) {
        QSqlField f(column, QMetaType(QMetaType::Int));
        f.setValue(value);
        r.append(f);
    }
    return r;
}

// The main window with the statistics screens over a generated organisation, on 1 March 2025.
struct Organisation {
    explicit Organisation(int employees)
    {
        clock_source::setToday(QDate(2025, 3, 1));
        demo::generate(folder.db(), {.employees = employees, .seed = 5});
        window.resize(1200, 800);
        window.show();
    }
    ~Organisation() { clock_source::setToday({}); }

    static ScreenRegistry statisticsScreens()
    {
        ScreenRegistry registry;
        registerStatisticsScreens(registry);
        return registry;
    }

    ProgramFolder folder;
    ScreenRegistry registry = statisticsScreens();
    TfrmMain window{registry};
};

const stats::ChartButton kEducation = {"学历图示", "->学历图示",
                                       {{"bs", "博士生"}, {"ss", "硕士生"}, {"bk", "本科生"}, {"dz", "大专生"}, {"zz", "中专以下"}}};

}  // namespace

class TestStatisticsScreen : public QObject {
    Q_OBJECT
private slots:
    void pieSlices_data()
    {
        QTest::addColumn<QSqlRecord>("record");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("nothing to draw") << row("人事科", {{"bs", QVariant()}, {"ss", 0}, {"bk", QVariant()}, {"dz", 0}, {"zz", QVariant()}})
                                         << "人事科->学历图示" << QStringList{};
        QTest::newRow("one slice") << row("财务科", {{"bs", QVariant()}, {"ss", QVariant()}, {"bk", 7}, {"dz", 0}, {"zz", QVariant()}})
                                   << "财务科->学历图示" << QStringList{"本科生"};
        QTest::newRow("total row in listed order") << row("汀岚分公司", {{"bs", 1}, {"ss", 2}, {"bk", 3}, {"dz", 4}, {"zz", 5}})
                                                   << "汀岚分公司->学历图示"
                                                   << QStringList{"博士生", "硕士生", "本科生", "大专生", "中专以下"};
        QTest::newRow("no name") << row(QString(), {{"bs", 1}, {"ss", QVariant()}, {"bk", QVariant()}, {"dz", QVariant()}, {"zz", QVariant()}})
                                 << "->学历图示" << QStringList{"博士生"};
    }
    void pieSlices()
    {
        QFETCH(QSqlRecord, record);
        QFETCH(QString, title);
        QFETCH(QStringList, labels);
        const stats::PieData pie = stats::pieFromRow(record, "dwmc", kEducation);
        QCOMPARE(pie.title, title);
        QStringList got;
        for (const auto &[label, value] : pie.slices)
            got << label;
        QCOMPARE(got, labels);

        QWidget area;
        area.resize(600, 400);
        TfrmPie view(pie, &area);
        QCOMPARE(view.titleLabel()->text(), title);
        QCOMPARE(view.series()->count(), labels.size());
    }

    void screenBuildsChartsAndReturns()
    {
        Organisation organisation(120);
        TfrmMain &window = organisation.window;
        ProgramFolder &folder = organisation.folder;

        auto *screen = qobject_cast<StatisticsScreen *>(window.openScreen("Tfrmzgjbqkfxb"));
        QVERIFY(screen);
        QCOMPARE(screen->cutoffPicker()->date(), QDate(2025, 3, 1));
        QVERIFY(!window.navigator()->isEnabled());
        QVERIFY(window.waitBox()->isHidden());
        QSqlQueryModel *model = screen->model();
        const int rows = model->rowCount();
        QVERIFY(rows >= 2);
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), "单位名称");
        QCOMPARE(model->headerData(3, Qt::Horizontal).toString(), "占比");
        QCOMPARE(model->record(rows - 1).value("dwmc").toString(), "汀岚分公司");
        QCOMPARE(StripedDelegate::stripe(0), QColor(220, 243, 236));
        QCOMPARE(StripedDelegate::stripe(1), QColor(255, 251, 240));
        QCOMPARE(screen->grid()->palette().color(QPalette::Highlight), QColor(0, 0, 255));

        // "打印" previews the two reports in turn, dated with the cut-off, rows in grid order.
        QList<report::Document> printed;
        report::setPreviewObserver([&](const report::Document &d) { printed << d; });
        QTest::mouseClick(screen->button("打印"), Qt::LeftButton);
        report::setPreviewObserver({});
        QCOMPARE(printed.size(), 2);
        QCOMPARE(printed[0].name, "Trepzgjbqkfxb");
        QCOMPARE(printed[1].name, "Trepzgjbqkfxb2");
        QStringList texts;
        for (const report::Text &t : printed[0].pages.front().texts)
            texts << t.text;
        QVERIFY(texts.contains("职工基本情况分析表1"));
        QVERIFY(texts.contains("单位：澄禾汀岚分公司"));
        QVERIFY(texts.contains("数字截止时间：2025年03月01日"));
        QVERIFY(texts.contains("学         历"));
        QCOMPARE(texts.count("占 比"), 11);
        QVERIFY(texts.indexOf(model->record(0).value("dwmc").toString()) < texts.indexOf("汀岚分公司"));
        QVERIFY(texts.contains(QString::number(model->record(0).value("nvzb").toDouble(), 'f', 2)));

        // Another program rebuilds the work table for another date meanwhile: "打印" builds it
        // again for the screen's date, says so, and prints the screen's figures under its date.
        // On a server each connection has a work table of its own, which the other program's
        // rebuild leaves alone: nothing to say there.
        const bool shared = !testOnServer();
        const QStringList firstPrint = documentTexts(printed[0]);
        const QString shown = stats::toCsv(folder.db(), stats::findStatisticsTable("zgjbqkfxb")->gridQuery());
        QCOMPARE(runAdmin({"rebuild", "zgjbqkfxb", "--db", folder.address(), "--date", "1995-12-31"}).status, 0);
        QStringList told;
        notify::setObserver([&](notify::Kind, const QString &, const QString &text) { told << text; });
        printed.clear();
        report::setPreviewObserver([&](const report::Document &d) { printed << d; });
        QTest::mouseClick(screen->button("打印"), Qt::LeftButton);
        report::setPreviewObserver({});
        notify::setObserver({});
        QCOMPARE(told, shared ? QStringList{"统计表已被另一程序改动，已按截止日期 2025-03-01重新统计，打印的是重新统计的结果。"} : QStringList{});
        QCOMPARE(stats::toCsv(folder.db(), stats::findStatisticsTable("zgjbqkfxb")->gridQuery()), shown);
        QCOMPARE(printed.size(), 2);
        QCOMPARE(documentTexts(printed[0]), firstPrint);

        // "导出Excel…" likewise: built again for the screen's date, said, and the workbook holds
        // the screen's figures under its date.
        QCOMPARE(runAdmin({"rebuild", "zgjbqkfxb", "--db", folder.address(), "--date", "1995-12-31"}).status, 0);
        const QString workbook = folder.file("分析表.xlsx");
        {
            const file_choice::ScopedChooser choosing([&](const file_choice::Request &) { return workbook; });
            told.clear();
            notify::setObserver([&](notify::Kind, const QString &, const QString &text) { told << text; });
            QTest::mouseClick(screen->button(grid_export::kCaption), Qt::LeftButton);
            notify::setObserver({});
        }
        QCOMPARE(told.contains("统计表已被另一程序改动，已按截止日期 2025-03-01重新统计，导出的是重新统计的结果。"), shared);
        QCOMPARE(stats::toCsv(folder.db(), stats::findStatisticsTable("zgjbqkfxb")->gridQuery()), shown);
        const QJsonArray sheet = workbookSheets(workbook).at(0).toObject().value("rows").toArray();
        QVERIFY(sheet.at(0).toArray().at(0).toObject().value("v").toString().contains("2025"));
        QCOMPARE(sheet.at(2).toArray().at(0).toObject().value("v").toString(), model->record(0).value(0).toString());

        // A chart of the total row covers the screen; its "返回" uncovers it.
        screen->grid()->selectRow(rows - 1);
        QTest::mouseClick(screen->button("政治情况图示"), Qt::LeftButton);
        auto *pie = window.workArea()->findChild<TfrmPie *>();
        QVERIFY(pie && pie->isVisible());
        QCOMPARE(pie->titleLabel()->text(), "汀岚分公司->政治情况图示");
        QPointer<TfrmPie> pieGuard(pie);
        QTest::mouseClick(pie->returnButton(), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(pieGuard.isNull());

        // A failing rebuild keeps the previous rows and says so; the database's own words
        // wait in the details.
        QList<prompt::Call> errors;
        {
            const prompt::ScopedAnswerer answering([&](const prompt::Call &c) { errors << c; return 1; });
            failInserts(folder.db(), "zgjbqkfxb", "refused by a trigger");
            screen->cutoffPicker()->setDate(QDate(2000, 1, 1));
            screen->insertdata();
        }
        QCOMPARE(errors.size(), 1);
        QCOMPARE(errors.first().message, "统计表未能重建，仍显示上次的结果。\n数据库错误，未保存。");
        QVERIFY2(errors.first().details.contains("refused by a trigger"), qPrintable(errors.first().details));
        QCOMPARE(screen->model()->rowCount(), rows);

        QPointer<StatisticsScreen> guard(screen);
        QTest::mouseClick(screen->button("返回"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guard.isNull());
        QVERIFY(window.navigator()->isEnabled());
    }

    // Each of the four further tables shows, charts and prints on the one screen.
    void everyTableShowsChartsAndPrints_data()
    {
        QTest::addColumn<QString>("screenClass");
        QTest::addColumn<QString>("nameTitle");
        QTest::addColumn<QString>("lastTitle");
        QTest::addColumn<QString>("chart");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("reportTitle");
        QTest::newRow("technical cadres") << "Tfrmzyjsgbqktjb" << "技术职称" << "平均年龄" << "年龄图示" << "->年龄图示"
                                          << "Trepzyjsgbqktjb" << "专业技术干部基本情况统计表";
        QTest::newRow("party members") << "Tfrmdyjbqktjb" << "单位名称" << "平均年龄" << "入党时间图示" << "->入党时间图示"
                                       << "Trepdyjbqktjb" << "党员基本情况统计表";
        QTest::newRow("length of service") << "Tfrmzgglqkfxb" << "单位名称" << "占比" << "图示占比" << "->工龄图示"
                                           << "Trepzgglqktjfxb" << "职工工龄情况统计分析表";
        QTest::newRow("basic statistics") << "Tfrmzgjbqktjb" << "单位名称" << "平均年龄" << "政治情况图示"
                                          << "->政治情况图示" << "Trepzgjbqktjb" << "职工基本情况统计表";
    }
    void everyTableShowsChartsAndPrints()
    {
        QFETCH(QString, screenClass);
        QFETCH(QString, nameTitle);
        QFETCH(QString, lastTitle);
        QFETCH(QString, chart);
        QFETCH(QString, suffix);
        QFETCH(QString, report);
        QFETCH(QString, reportTitle);
        Organisation organisation(120);
        TfrmMain &window = organisation.window;

        auto *screen = qobject_cast<StatisticsScreen *>(window.openScreen(screenClass));
        QVERIFY(screen);
        QSqlQueryModel *model = screen->model();
        QVERIFY(model->rowCount() >= 2);
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), nameTitle);
        QCOMPARE(model->headerData(model->columnCount() - 1, Qt::Horizontal).toString(), lastTitle);

        screen->grid()->selectRow(0);
        QTest::mouseClick(screen->button(chart), Qt::LeftButton);
        auto *pie = screen->findChild<TfrmPie *>();
        QVERIFY(pie && pie->isVisible());
        QCOMPARE(pie->titleLabel()->text(), model->record(0).value(0).toString() + suffix);
        QTest::mouseClick(pie->returnButton(), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        QList<report::Document> printed;
        report::setPreviewObserver([&](const report::Document &d) { printed << d; });
        QTest::mouseClick(screen->button("打印"), Qt::LeftButton);
        report::setPreviewObserver({});
        QCOMPARE(printed.size(), 1);
        QCOMPARE(printed[0].name, report);
        QStringList texts;
        for (const report::Text &t : printed[0].pages.front().texts)
            texts << t.text;
        QVERIFY(texts.contains(reportTitle));
        QVERIFY(texts.contains("数字截止时间：2025年03月01日"));
    }

    // A table counted over a range starts on 1 January of this year to today and rebuilds when
    // the start date is chosen; shares carry their own titles.
    void rangeScreen()
    {
        Organisation organisation(60);
        auto *screen = qobject_cast<StatisticsScreen *>(organisation.window.openScreen("Tfrmpxcjzbtjb"));
        QVERIFY(screen && screen->startPicker());
        QCOMPARE(screen->startPicker()->date(), QDate(2025, 1, 1));
        QCOMPARE(screen->cutoffPicker()->date(), QDate(2025, 3, 1));
        QCOMPARE(screen->builtPeriod().from, QDate(2025, 1, 1));
        QSqlQueryModel *model = screen->model();
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), "编码");
        QCOMPARE(model->headerData(4, Qt::Horizontal).toString(), "90分以上占比");
        screen->startPicker()->setDate(QDate(2021, 1, 1));
        emit screen->startPicker()->editingFinished();
        QCOMPARE(screen->builtPeriod().from, QDate(2021, 1, 1));
        QVERIFY(model->rowCount() >= 2);
        QCOMPARE(model->record(model->rowCount() - 1).value("pxnr").toString(), "汀岚分公司");
    }

    // A date chosen in the calendar with the keyboard rebuilds at once, as a click does; the
    // chart view belongs to its screen and goes with it.
    void keyboardDateRebuildsAndTheChartClosesWithItsScreen()
    {
        Organisation organisation(60);
        TfrmMain &window = organisation.window;
        QPointer<StatisticsScreen> screen = qobject_cast<StatisticsScreen *>(window.openScreen("Tfrmdyjbqktjb"));
        QVERIFY(screen);

        QDateEdit *picker = screen->cutoffPicker();
        QTest::mouseClick(picker, Qt::LeftButton, {}, QPoint(picker->width() - 6, picker->height() / 2));
        QCalendarWidget *calendar = picker->calendarWidget();
        QTRY_VERIFY(calendar->isVisible());
        auto *days = calendar->findChild<QAbstractItemView *>();
        QTest::keyClick(days, Qt::Key_PageUp);
        QTest::keyClick(days, Qt::Key_Left);
        QTest::keyClick(days, Qt::Key_Return);
        QCOMPARE(picker->date(), QDate(2025, 1, 31));
        QCOMPARE(screen->builtFor(), QDate(2025, 1, 31));

        screen->grid()->selectRow(0);
        QTest::mouseClick(screen->button("学历图示"), Qt::LeftButton);
        QPointer<TfrmPie> pie = screen->findChild<TfrmPie *>();
        QVERIFY(pie && pie->isVisible());
        // Nothing of the screen under the chart is reachable, its "返回" included.
        QVERIFY(!screen->button("返回")->isVisible());
        // The screen going away by any road (here: freed with the main window's work area)
        // takes the chart with it.
        delete screen.data();
        QVERIFY(pie.isNull());
    }
};

QTEST_MAIN(TestStatisticsScreen)
#include "test_statistics_screen.moc"
