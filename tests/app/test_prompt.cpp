// The prompt dialog: its buttons and results, the icon file, and the test seam.

#include "app/notify.h"
#include "app/prompt.h"
#include "support/test_support.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestPrompt : public QObject {
    Q_OBJECT

    // Answers the next real prompt window with `answer` once it is shown.
    static void answerNextWindow(std::function<void(Tfrmprompt *)> answer)
    {
        QTimer::singleShot(0, [answer] {
            auto *window = qobject_cast<Tfrmprompt *>(QApplication::activeModalWidget());
            QVERIFY(window);
            answer(window);
        });
    }

private slots:
    void results_data()
    {
        QTest::addColumn<bool>("withIgnore");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("result");
        QTest::newRow("Enter") << false << "enter" << 1;
        QTest::newRow("确定") << false << "ok" << 1;
        QTest::newRow("Enter with 忽略") << true << "enter" << 1;
        QTest::newRow("确定 with 忽略") << true << "ok" << 1;
        QTest::newRow("忽略") << true << "ignore" << 2;
        QTest::newRow("closed otherwise") << true << "close" << 2;
    }
    void results()
    {
        QFETCH(bool, withIgnore);
        QFETCH(QString, answer);
        QFETCH(int, result);
        ProgramFolder folder(false);
        answerNextWindow([answer](Tfrmprompt *w) {
            if (answer == "enter")
                QTest::keyClick(w, Qt::Key_Return);
            else if (answer == "ok")
                QTest::mouseClick(w->okButton(), Qt::LeftButton);
            else if (answer == "ignore")
                QTest::mouseClick(w->ignoreButton(), Qt::LeftButton);
            else
                w->reject();
        });
        QCOMPARE(prompt::ask("删除提示", "确定要删除本职务信息吗？", withIgnore), result);
    }

    void layoutFollowsTheIgnoreButton()
    {
        Tfrmprompt plain("错误信息", "由于本职务有人担任，\n无法删除本职务信息！", false);
        Tfrmprompt asking("删除提示", "确定要删除本职务信息吗？", true, QPixmap(8, 8));
        QCOMPARE(plain.size(), QSize(277, 143));
        QCOMPARE(plain.titleStrip()->text(), " 错误信息");
        QCOMPARE(plain.messageLabel()->text().split('\n').size(), 2);
        QVERIFY(plain.ignoreButton()->isHidden() && plain.bevel()->isHidden());
        QVERIFY(!asking.ignoreButton()->isHidden() && !asking.bevel()->isHidden());
        QCOMPARE(plain.okPanel()->x() - asking.okPanel()->x(), 50);
        QVERIFY(asking.okPanel()->geometry().right() < asking.ignoreButton()->geometry().left());
        QCOMPARE(asking.okButton()->focusPolicy(), Qt::NoFocus);
    }

    // A failure's details wait behind "详细信息", which stays below a long message and opens
    // them below the buttons, in a window grown for them.
    void failureDetailsWaitBehindAButton()
    {
        Tfrmprompt plain("错误信息", "数据库正被另一程序使用，请稍后再试。", false);
        QVERIFY(plain.detailsButton()->isHidden());
        const QString lead = "统计表未能重建，仍显示上次的结果。\n数据库错误，未保存。\n";
        Tfrmprompt failed("统计失败", lead + lead + lead, false, {}, nullptr, "disk I/O error");
        QVERIFY(!failed.detailsButton()->isHidden());
        QVERIFY(failed.detailsText()->isHidden());
        QVERIFY(failed.height() > 143);
        QVERIFY(failed.messageLabel()->geometry().bottom() < failed.okPanel()->geometry().top());
        QVERIFY(failed.messageLabel()->geometry().bottom() < failed.detailsButton()->geometry().top());
        const int closed = failed.height();
        QTest::mouseClick(failed.detailsButton(), Qt::LeftButton);
        QVERIFY(!failed.detailsText()->isHidden());
        QCOMPARE(failed.detailsText()->toPlainText(), "disk I/O error");
        QVERIFY(failed.height() > closed);
        QVERIFY(failed.detailsText()->geometry().bottom() < failed.height());
        QTest::mouseClick(failed.detailsButton(), Qt::LeftButton);
        QCOMPARE(failed.height(), closed);
    }

    // A long message is shown whole: lines wrap between words, a path is not cut, and the
    // buttons stay below the text.
    void aLongMessageIsShownWhole()
    {
        const QString path = "/srv/personnel/backups/2025/wenpad-backup-2025-01-01.db";
        Tfrmprompt window("错误信息",
                          "数据库文件无法打开，可能已经损坏或者正被另一程序使用。请先关闭其他程序，"
                          "然后在“数据备份与恢复”中恢复最近的备份：" + path + " 如仍有问题，请与系统管理员联系。",
                          true, QPixmap(8, 8));
        QLabel *message = window.messageLabel();
        QVERIFY(message->heightForWidth(message->width()) <= message->height());
        QVERIFY(QFontMetrics(message->font()).horizontalAdvance(path) <= message->width());
        QVERIFY(window.height() > 143);
        QVERIFY(message->geometry().bottom() < window.bevel()->geometry().top());
        QVERIFY(window.ignoreButton()->geometry().right() < window.width());
        QVERIFY(window.okPanel()->geometry().bottom() < window.height());
    }

    void twoCallsAreIndependent()
    {
        ProgramFolder folder(false);
        QPixmap firstIcon;
        answerNextWindow([&](Tfrmprompt *w) {
            firstIcon = w->iconLabel()->pixmap();
            QTest::mouseClick(w->ignoreButton(), Qt::LeftButton);
        });
        QCOMPARE(prompt::ask("退出提示", "您确定要退出本系统吗？", true), 2);
        bool ignoreHidden = false;
        QPixmap secondIcon;
        answerNextWindow([&](Tfrmprompt *w) {
            ignoreHidden = w->ignoreButton()->isHidden();
            secondIcon = w->iconLabel()->pixmap();
            QTest::keyClick(w, Qt::Key_Enter);
        });
        QCOMPARE(prompt::ask("错误提示", "编号重复或空，请重新输入！", false), 1);
        QVERIFY(ignoreHidden);
        QVERIFY(firstIcon.toImage() != secondIcon.toImage());
    }

    void missingIconAbandonsTheCallWithIgnoreOnly()
    {
        ProgramFolder folder(false);
        QVERIFY(QFile::remove(folder.file("MSGBOX02.ico")));
        QStringList reported;
        const notify::ScopedObserver observing([&](notify::Kind, const QString &, const QString &text) { reported << text; });
        QList<prompt::Call> asked;
        const prompt::ScopedAnswerer answering([&](const prompt::Call &c) { asked << c; return 1; });
        QCOMPARE(prompt::ask("删除提示", "确定要删除本员工信息吗？", true), int(prompt::Abandoned));
        QCOMPARE(reported.size(), 1);
        QVERIFY(reported.first().contains("MSGBOX02.ico"));
        QVERIFY(asked.isEmpty());
        QCOMPARE(prompt::ask("错误提示", "职工编号空，请重新输入！", false), 1);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().message, "职工编号空，请重新输入！");
        QVERIFY(!asked.first().withIgnore);
    }
};

QTEST_MAIN(TestPrompt)
#include "test_prompt.moc"
