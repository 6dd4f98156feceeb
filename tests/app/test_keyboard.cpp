// The keyboard: Enter confirms and Escape cancels edit boxes and prompts, and a whole date typed
// into a date box is taken as typed.

#include "app/edit_modes.h"
#include "app/period_boxes.h"
#include "app/prompt.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void aWholeTypedDateIsTaken_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("taken");
        QTest::newRow("another year") << "2018-03-15" << QDate(2018, 3, 15);
        QTest::newRow("the same year") << "2020-11-30" << QDate(2020, 11, 30);
        QTest::newRow("a leap day") << "2016-02-29" << QDate(2016, 2, 29);
        QTest::newRow("without zeros") << "2003-6-1" << QDate(2003, 6, 1);
        QTest::newRow("month 1 then more") << "2011-1-15" << QDate(2011, 1, 15);
    }

    void aWholeTypedDateIsTaken()
    {
        QFETCH(QString, typed);
        QFETCH(QDate, taken);
        QWidget parent;
        int chosen = 0;
        QDateEdit *box = makeDatePicker(QDate(2020, 1, 1), &parent, [&chosen] { ++chosen; });
        parent.show();
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->date(), taken);
        QVERIFY(chosen >= 1);
    }

    void escapeCancelsAPrompt()
    {
        for (bool withIgnore : {true, false}) {
            Tfrmprompt window("错误提示", "编号重复或空，请重新输入！", withIgnore);
            window.open();
            QTest::keyClick(&window, Qt::Key_Escape);
            QCOMPARE(window.result(), int(prompt::Ignore));
        }
        Tfrmprompt window("删除提示", "确定要删除吗？", true);
        window.open();
        QTest::keyClick(&window, Qt::Key_Return);
        QCOMPARE(window.result(), int(prompt::Ok));
    }

    // While a row is edited, Enter in a box saves and Escape ignores; while browsing they do
    // nothing.
    void enterSavesAndEscapeIgnoresWhileEditing()
    {
        QWidget screen;
        QStringList pressed;
        edit::ModeBar bar({{edit::Action::Add, "添加", [&] { pressed << "添加"; }},
                           {edit::Action::Save, "保存", [&] { pressed << "保存"; }},
                           {edit::Action::Ignore, "忽略", [&] { pressed << "忽略"; }}},
                          {}, &screen);
        auto *fields = new QWidget(&screen);
        auto *name = new QLineEdit(fields);
        bar.enable(fields, edit::ModeBar::When::ReadOnlyWhileBrowsing);
        screen.show();

        QTest::keyClick(name, Qt::Key_Return);
        QTest::keyClick(name, Qt::Key_Escape);
        QCoreApplication::processEvents();
        QVERIFY(pressed.isEmpty());

        bar.setMode(edit::Mode::Editing);
        QTest::keyClick(name, Qt::Key_Return);
        QCoreApplication::processEvents();
        bar.setMode(edit::Mode::Adding);
        QTest::keyClick(name, Qt::Key_Escape);
        QCoreApplication::processEvents();
        QCOMPARE(pressed, QStringList({"保存", "忽略"}));
    }
};

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
