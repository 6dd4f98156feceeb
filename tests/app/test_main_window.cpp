// The main window: its tables of entries, Form1Enabled, the navigator, hosting and closing.

#include "app/chinese.h"
#include "app/function_screen.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/notify.h"
#include "app/prompt.h"
#include "support/test_support.h"

#include <QCalendarWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

class FakeScreen : public FunctionScreen {
public:
    FakeScreen(ScreenHost &host, const QString &name, QSize size) : FunctionScreen(host, name)
    {
        resize(size);
    }
};

// Navigator buttons (not group headers) with this caption.
QList<QAbstractButton *> buttonsWithText(QWidget *root, const QString &text, bool headers = false)
{
    QList<QAbstractButton *> found;
    for (QAbstractButton *b : root->findChildren<QAbstractButton *>())
        if (b->text() == text && b->property("groupHeader").toBool() == headers)
            found << b;
    return found;
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    ScreenRegistry registry;
    QSize centredSize{400, 300};

private slots:
    void initTestCase()
    {
        registry.add("Tfrmdwdm", {Placement::Centred, [this](ScreenHost &h) {
                                      return new FakeScreen(h, "Tfrmdwdm", centredSize);
                                  }});
        registry.add("Tfrmzglr", {Placement::Stored, [](ScreenHost &h) {
                                      return new FakeScreen(h, "Tfrmzglr", {500, 400});
                                  }});
        registry.addWindow("Tfrmgrxxzl", [](ScreenHost &h, const QString &code) {
            auto *sheet = new QWidget(h.workArea());
            sheet->setObjectName(code);
            return sheet;
        });
    }

    void everyEntryExistsAndOnlyBuiltScreensAreEnabled()
    {
        ProgramFolder folder;
        TfrmMain window(registry);
        for (const NavGroup &group : navigatorGroups()) {
            QCOMPARE(buttonsWithText(window.navigator(), group.header, true).size(), 1);
            for (const NavButton &b : group.buttons) {
                const QList<QAbstractButton *> found = buttonsWithText(window.navigator(), b.caption);
                QVERIFY2(!found.isEmpty(), qPrintable(b.caption));
                QCOMPARE(found.first()->isHidden(), b.hidden);
                // Entries with nothing behind them are greyed.
                const bool built = b.action.kind == NavAction::Open ? registry.contains(b.action.target)
                                                                    : b.action.kind != NavAction::Inert;
                QCOMPARE(found.first()->isEnabled(), built);
            }
        }
        QVERIFY(buttonsWithText(window.navigator(), "员工等级(职务)工资\n变动及年度考核览表").size() == 1);
        const QList<QToolButton *> quick = window.quickLaunchBar()->findChildren<QToolButton *>();
        QCOMPARE(quick.size(), 8);
        QCOMPARE(quick.first()->text(), "职工基本\n情况编辑");
        QVERIFY(quick.first()->isEnabled());
        QVERIFY(!quick[1]->isEnabled());
        QCOMPARE(quick[3]->text(), "人事资料\n记 录 卡");

        QStringList titles;
        for (QAction *a : window.menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, QStringList({"职工花名册", "员工人事资料记录卡", "员工等级工资变动及考核", "干部履历表",
                                      "职工工资表", "员工培训记录", "基础数据维护", "帮助"}));
        QAction *codes = window.menuBar()->actions()[6];
        QCOMPARE(codes->menu()->actions().size(), 19);  // 13 items and 6 separators
        // A payroll clerk reaches the salary items from the code tables, in the navigator and the menu.
        QVERIFY(!buttonsWithText(window.navigator(), "工资表内容编辑").first()->isHidden());
        const QList<QAction *> codeItems = codes->menu()->actions();
        QVERIFY(std::any_of(codeItems.begin(), codeItems.end(), [](QAction *a) { return a->text() == "工资表内容编辑"; }));
    }

    void openScreenDisablesAndClosingEnables()
    {
        ProgramFolder folder;
        TfrmMain window(registry);
        window.resize(1000, 700);
        window.show();
        FunctionScreen *screen = window.openScreen("Tfrmzglr");
        QVERIFY(screen);
        QCOMPARE(screen->parentWidget(), window.workArea());
        const QList<QAction *> top = window.menuBar()->actions();
        for (int i = 0; i < top.size() - 1; ++i)
            QVERIFY2(!top[i]->isEnabled(), qPrintable(top[i]->text()));
        QVERIFY(top.last()->isEnabled());
        QVERIFY(!window.navigator()->isEnabled());
        QVERIFY(!window.quickLaunchBar()->isEnabled());
        QVERIFY(window.navigatorToggle()->isEnabled());

        QPointer<FunctionScreen> guard(screen);
        screen->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guard.isNull());
        for (QAction *a : top)
            QCOMPARE(a->isEnabled(), a->text() != "干部履历表");  // its screen is not built here
        QVERIFY(window.navigator()->isEnabled());
        QVERIFY(window.quickLaunchBar()->isEnabled());
    }

    void furtherWindowsOpenInTheWorkArea()
    {
        ProgramFolder folder;
        TfrmMain window(registry);
        window.show();
        QWidget *sheet = window.openWindow("Tfrmgrxxzl", "000123");
        QVERIFY(sheet && sheet->isVisible());
        QCOMPARE(sheet->parentWidget(), window.workArea());
        QCOMPARE(sheet->objectName(), "000123");
        QCOMPARE(window.openWindow("TfrmPie", {}), nullptr);
    }

    void navigatorExpandsOneGroupAndToggles()
    {
        ProgramFolder folder;
        TfrmMain window(registry);
        window.show();
        const int groups = int(navigatorGroups().size());
        const auto expanded = [&] {
            QList<int> open;
            for (int i = 0; i < groups; ++i)
                if (!window.groupPanel(i)->isHidden())
                    open << i;
            return open;
        };
        QCOMPARE(expanded(), QList<int>{0});
        QTest::mouseClick(window.groupHeader(6), Qt::LeftButton);
        QCOMPARE(expanded(), QList<int>{6});
        QTest::mouseClick(window.groupHeader(1), Qt::LeftButton);
        QCOMPARE(expanded(), QList<int>{1});

        QCOMPARE(window.navigatorToggle()->text(), "隐藏导航");
        const int before = window.workArea()->width();
        QTest::mouseClick(window.navigatorToggle(), Qt::LeftButton);
        QVERIFY(window.navigator()->isHidden() && window.edgeStrip()->isHidden());
        QCOMPARE(window.navigatorToggle()->text(), "显示导航");
        QTRY_VERIFY(window.workArea()->width() > before);
        QTest::mouseClick(window.navigatorToggle(), Qt::LeftButton);
        QVERIFY(!window.navigator()->isHidden() && !window.edgeStrip()->isHidden());
        QCOMPARE(window.navigatorToggle()->text(), "隐藏导航");
    }

    void centring_data()
    {
        QTest::addColumn<QSize>("area");
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QPoint>("origin");
        QTest::newRow("smaller") << QSize(800, 600) << QSize(400, 300) << QPoint(200, 150);
        QTest::newRow("odd difference") << QSize(801, 601) << QSize(400, 300) << QPoint(200, 150);
        QTest::newRow("larger, truncated towards zero") << QSize(300, 200) << QSize(401, 301) << QPoint(-50, -50);
        QTest::newRow("equal") << QSize(400, 300) << QSize(400, 300) << QPoint(0, 0);
    }
    void centring()
    {
        QFETCH(QSize, area);
        QFETCH(QSize, screen);
        QFETCH(QPoint, origin);
        QCOMPARE(centredOrigin(area, screen), origin);

        ProgramFolder folder;
        centredSize = screen;
        TfrmMain window(registry);
        window.show();
        window.workArea()->setFixedSize(area);
        FunctionScreen *opened = window.openScreen("Tfrmdwdm");
        QCOMPARE(opened->pos(), origin);
        QCOMPARE(window.openScreen("Tfrmzglr")->pos(), QPoint(0, 0));  // not centred
    }

    void closingAsksAndOnlyOkCloses_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("screenOpen");
        QTest::newRow("ok") << 1 << false;
        QTest::newRow("ignore") << 2 << false;
        QTest::newRow("ok with a screen open") << 1 << true;
    }
    void closingAsksAndOnlyOkCloses()
    {
        QFETCH(int, answer);
        QFETCH(bool, screenOpen);
        ProgramFolder folder;
        QList<prompt::Call> asked;
        const prompt::ScopedAnswerer answering([&](const prompt::Call &c) { asked << c; return answer; });
        TfrmMain window(registry);
        window.show();
        if (screenOpen)
            window.openScreen("Tfrmzglr");
        QCOMPARE(window.close(), answer == 1);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().title, "退出提示");
        QCOMPARE(asked.first().message, "您确定要退出本系统吗？");
        QVERIFY(asked.first().withIgnore);
    }

    void greyedEntriesInformationAndHelp()
    {
        ProgramFolder folder;
        QStringList shown;
        const notify::ScopedObserver observing([&](notify::Kind, const QString &, const QString &text) { shown << text; });
        TfrmMain window(registry);
        window.show();
        QTest::mouseClick(window.groupHeader(1), Qt::LeftButton);
        QVERIFY(!buttonsWithText(window.navigator(), "公司员工出勤率统计分析").first()->isEnabled());
        QStringList greyed;
        for (QAction *entry : window.menuBar()->actions())
            if (entry->menu())
                for (QAction *item : entry->menu()->actions())
                    if (!item->isSeparator() && !item->isEnabled())
                        greyed << item->text();
        QVERIFY(greyed.contains("公司工作动态统计"));
        QVERIFY(greyed.contains("公司员工出勤率情况统计"));

        QTest::mouseClick(window.groupHeader(7), Qt::LeftButton);
        buttonsWithText(window.navigator(), "关于本系统").first()->click();
        QCOMPARE(shown.size(), 1);
        // "帮助" in the menu and the navigator's "使用说明" open the guide at its start page.
        window.menuBar()->actions().last()->trigger();
        Tfrmhelp *guide = window.findChild<Tfrmhelp *>();
        QVERIFY(guide && guide->isVisible());
        QCOMPARE(guide->currentPage(), help::pages().front().file);
        guide->close();
        buttonsWithText(window.navigator(), "使用说明").first()->click();
        QVERIFY(guide->isVisible());
        QCOMPARE(shown.size(), 1);
    }

    // F1 opens the guide where the screen in front is described, over a screen too.
    void f1OpensTheGuideAtTheScreenInFront()
    {
        ProgramFolder folder;
        TfrmMain window(registry);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.openScreen("Tfrmdwdm");
        QTest::keyClick(&window, Qt::Key_F1);
        Tfrmhelp *guide = window.findChild<Tfrmhelp *>();
        QVERIFY(guide && guide->isVisible());
        QCOMPARE(guide->currentPage(), help::placeOf("Tfrmdwdm")->page);
        QCOMPARE(guide->headingInView(), "部门代码表");
        window.workArea()->findChild<FunctionScreen *>("Tfrmdwdm")->close();
        window.openScreen("Tfrmzglr");
        QTest::keyClick(&window, Qt::Key_F1);
        QCOMPARE(guide->currentPage(), "staff.md");
        QCOMPARE(guide->headingInView(), "职工基本情况编辑");
    }

    // Last: it changes the locale of the whole test program.
    void qtTextsAreChinese()
    {
        QVERIFY(chinese::install(*QCoreApplication::instance()));
        QMessageBox box(QMessageBox::Question, "退出提示", "您确定要退出本系统吗？", QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Ok)->text(), "确定");
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), "取消");
        QCalendarWidget calendar;
        QCOMPARE(calendar.locale().monthName(1), "一月");
        QCOMPARE(calendar.locale().dayName(1, QLocale::ShortFormat), "周一");
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
