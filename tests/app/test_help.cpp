// The user guide: every window of the program has its section, and the pages read as written.

#include "app/help_guide.h"
#include "app/help_window.h"
#include "app/screen_registry.h"

#include <QLineEdit>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

class TestHelp : public QObject {
    Q_OBJECT

private slots:
    // F1 on any screen lands on a section written about it.
    void everyRegisteredWindowHasItsSection()
    {
        ScreenRegistry registry;
        registerAllScreens(registry);
        QVERIFY(registry.classNames().size() > 50);
        for (const QString &windowClass : registry.classNames()) {
            const std::optional<help::Place> place = help::placeOf(windowClass);
            QVERIFY2(place, qPrintable(windowClass));
            bool found = false;
            for (const help::Section &s : help::sections())
                found = found || (s.page == place->page && s.level == 2 && s.heading == place->heading);
            QVERIFY2(found, qPrintable(windowClass + " → " + place->page + " " + place->heading));
        }
        // And the table names no window the program does not have.
        for (const QString &described : help::describedWindows())
            QVERIFY2(registry.classNames().contains(described), qPrintable(described));
    }

    void everyPageIsCompiledInWithItsTitle()
    {
        QCOMPARE(help::pages().size(), size_t(11));
        for (const help::Page &page : help::pages()) {
            QVERIFY2(!help::pageText(page.file).isEmpty(), qPrintable(page.file));
            QVERIFY(!page.title.isEmpty());
        }
        QCOMPARE(help::pages().front().title, "开始使用");
    }

    // The window opens at the section, and the search box narrows the contents to sections
    // that hold the words.
    void windowShowsTheSectionAndSearches()
    {
        Tfrmhelp window;
        window.showPlace(help::placeOf("Tfrmgzlr"));
        QCOMPARE(window.currentPage(), "pay.md");
        QCOMPARE(window.headingInView(), "职工工资编辑");
        QVERIFY(window.browser()->toPlainText().contains("只复制上月工资表并追加新职工工资项"));

        window.searchBox()->setText("恢复前");
        QStringList listed;
        for (int i = 0; i < window.contents()->topLevelItemCount(); ++i)
            for (int k = 0; k < window.contents()->topLevelItem(i)->childCount(); ++k)
                listed << window.contents()->topLevelItem(i)->child(k)->text(0);
        QCOMPARE(listed, QStringList({"数据备份与恢复", "备份、恢复与导入"}));
        window.contents()->setCurrentItem(window.contents()->topLevelItem(0)->child(0));
        QCOMPARE(window.currentPage(), "codes.md");
        QCOMPARE(window.browser()->textCursor().selectedText(), "恢复前");

        window.showPlace(std::nullopt);
        QCOMPARE(window.currentPage(), "start.md");
        QCOMPARE(window.contents()->topLevelItemCount(), int(help::pages().size()));
    }
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"
