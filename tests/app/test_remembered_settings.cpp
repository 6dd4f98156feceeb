// What the program remembers for an operator from one use to the next: written by one set of
// windows, read back by new ones, and kept in the settings file.

#include "app/file_choice.h"
#include "app/main_window.h"
#include "app/operator_settings.h"
#include "app/prompt.h"
#include "app/remembered_columns.h"
#include "app/striped_grid.h"
#include "pay/pay_entry_screen.h"
#include "stats/statistics_screen.h"
#include "stats/statistics_screens.h"
#include "support/test_support.h"

#include <QDateEdit>
#include <QHeaderView>
#include <QSettings>
#include <QSpinBox>
#include <QTest>

namespace {

// A screen with one grid of three columns, as the program makes it.
struct GridScreen {
    QWidget screen;
    StripedGrid *grid;
    RowsModel *rows;
    GridScreen()
    {
        screen.setObjectName("Tfrmtest");
        grid = new StripedGrid(&screen);
        rows = new RowsModel({"职工编码", "职工姓名", "出生年月"}, grid);
        rows->setRows({{"000001", "张三", "1980-01-02"}});
        grid->setModel(rows);
        screen.resize(600, 300);
        grid->resize(600, 300);
        screen.show();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    QHeaderView *header() const { return grid->horizontalHeader(); }
    QStringList order() const
    {
        QStringList titles;
        for (int v = 0; v < header()->count(); ++v)
            titles << rows->headerData(header()->logicalIndex(v), Qt::Horizontal, Qt::DisplayRole).toString();
        return titles;
    }
    // A width dragged by hand: with the mouse held on the column's edge.
    void drag(int column, int width)
    {
        QWidget *titles = header()->viewport();
        const QPoint edge(header()->sectionViewportPosition(column) + header()->sectionSize(column) - 1, 5);
        QTest::mousePress(titles, Qt::LeftButton, {}, edge);
        header()->resizeSection(column, width);
        QTest::mouseRelease(titles, Qt::LeftButton, {}, edge);
    }
};

}  // namespace

class TestRememberedSettings : public QObject {
    Q_OBJECT

    QTemporaryDir config;

private slots:
    void initTestCase()
    {
        // Before the settings are first read: this test's own settings file.
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    }

    void cleanup() { operator_settings::setOperator({}); }

    void columnWidthsAndOrderComeBackInANewGrid()
    {
        operator_settings::setOperator("张三");
        {
            GridScreen first;
            QCOMPARE(remembered_columns::keyOf(*first.grid), "columns/Tfrmtest/grid0");
            first.drag(1, 237);
            first.header()->moveSection(2, 0);
            // The grid fitting its columns to new rows does not undo the person's width.
            first.rows->setRows({{"000002", "一个很长很长很长很长很长的名字", "1990-01-02"}});
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            QCOMPARE(first.header()->sectionSize(1), 237);
        }
        GridScreen again;
        QCoreApplication::processEvents();
        QCOMPARE(again.header()->sectionSize(1), 237);
        QCOMPARE(again.order(), QStringList({"出生年月", "职工编码", "职工姓名"}));

        // Another operator keeps his own.
        operator_settings::setOperator("李四");
        GridScreen other;
        QCOMPARE(other.order(), QStringList({"职工编码", "职工姓名", "出生年月"}));
        QVERIFY(other.header()->sectionSize(1) != 237);
    }

    void mainWindowFolderCutoffAndPayMonthComeBack()
    {
        operator_settings::setOperator("张三");
        ProgramFolder folder;
        ScreenRegistry registry;
        registerStatisticsScreens(registry);
        const prompt::ScopedAnswerer yes([](const prompt::Call &) { return prompt::Ok; });
        {
            TfrmMain window(registry);
            window.show();
            window.toggleNavigator();
            window.pressGroupHeader(4);
            QVERIFY(window.close());
        }
        {
            TfrmMain window(registry);
            window.restoreRemembered();
            window.show();
            QVERIFY(window.navigator()->isHidden());
            QCOMPARE(window.expandedGroup(), 4);
        }

        // The folder a file was last chosen in is where the same dialog starts next time.
        const QString exports = folder.file("exports");
        QDir().mkpath(exports);
        QStringList suggested;
        const file_choice::ScopedChooser choosing([&](const file_choice::Request &r) {
            suggested << r.suggested;
            return exports + "/名单.xlsx";
        });
        const file_choice::Request request{file_choice::Purpose::Save, "导出Excel", QDir::home().filePath("花名册.xlsx"), {}};
        file_choice::choose(nullptr, request);
        file_choice::choose(nullptr, request);
        QCOMPARE(suggested, QStringList({QDir::home().filePath("花名册.xlsx"), exports + "/花名册.xlsx"}));

        const QDate cutoff(2018, 3, 15);
        {
            TfrmMain window(registry);
            auto *screen = qobject_cast<StatisticsScreen *>(window.openScreen("Tfrmzgjbqkfxb"));
            screen->cutoffPicker()->setDate(cutoff);
            emit screen->cutoffPicker()->editingFinished();
            TestHost host;
            Tfrmgzlr pay(host);
            pay.yearBox()->setValue(2019);
            pay.monthBox()->setValue(7);
        }
        TfrmMain window(registry);
        auto *screen = qobject_cast<StatisticsScreen *>(window.openScreen("Tfrmzgjbqkfxb"));
        QCOMPARE(screen->cutoffPicker()->date(), cutoff);
        TestHost host;
        Tfrmgzlr pay(host);
        QCOMPARE(pay.month(), QDate(2019, 7, 1));

        // All of it is in the settings file, under the operator.
        operator_settings::flush();
        QSettings file(config.filePath("wenpad/wenpad.ini"), QSettings::IniFormat);
        file.beginGroup("operators/" + QString::fromLatin1(QUrl::toPercentEncoding("张三")));
        for (const char *key : {"columns/Tfrmtest/grid0/widths", "mainWindow/geometry", "folders/导出Excel",
                                "statistics/cutoff", "pay/month"})
            QVERIFY2(file.contains(key), key);
        QCOMPARE(file.value("pay/month").toDate(), QDate(2019, 7, 1));
    }
};

QTEST_MAIN(TestRememberedSettings)
#include "test_remembered_settings.moc"
