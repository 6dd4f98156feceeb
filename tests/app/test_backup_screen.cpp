// "数据备份与恢复" as a person uses it: the navigator and the menu open it; a backup is written
// where chosen; a bad file is refused before any question; a declined restore changes
// nothing; a confirmed one brings the backup's data back on a reopened connection.

#include "app/backup_screen.h"
#include "app/file_choice.h"
#include "app/main_window.h"
#include "app/notify.h"
#include "app/prompt.h"
#include "app/screen_registry.h"
#include "db/backup.h"
#include "db/database.h"
#include "db/sql.h"
#include "support/test_support.h"

#include <QAbstractButton>
#include <QFile>
#include <QMenuBar>
#include <QTest>

class TestBackupScreen : public QObject {
    Q_OBJECT
private slots:
    void backUpAndRestore()
    {
        ProgramFolder folder;
        ScreenRegistry registry;
        registerBackupScreen(registry);
        TfrmMain window(registry);
        window.show();

        // The navigator entry and the menu item both open the screen.
        QAbstractButton *entry = nullptr;
        for (QAbstractButton *b : window.navigator()->findChildren<QAbstractButton *>())
            if (b->text() == "数据备份与恢复")
                entry = b;
        QVERIFY(entry && entry->isEnabled());
        entry->click();
        auto *screen = window.findChild<Tfrmsjbf *>();
        QVERIFY(screen);
        screen->close();
        QAction *item = nullptr;
        for (QAction *menu : window.menuBar()->actions())
            if (menu->menu())
                for (QAction *a : menu->menu()->actions())
                    if (a->text() == "数据备份与恢复")
                        item = a;
        QVERIFY(item && item->isEnabled());
        item->trigger();
        QTRY_VERIFY(window.findChild<Tfrmsjbf *>());
        screen = window.findChild<Tfrmsjbf *>();

        QString chosen;
        const file_choice::ScopedChooser choosing([&](const file_choice::Request &) { return chosen; });
        QStringList shown;
        const notify::ScopedObserver observing([&](notify::Kind kind, const QString &, const QString &text) {
            shown << QString(kind == notify::Kind::Error ? "错误：" : "") + text;
        });
        QList<prompt::Call> asked;
        int answer = prompt::Ignore;
        const prompt::ScopedAnswerer answering([&](const prompt::Call &c) {
            asked << c;
            return answer;
        });

        chosen = folder.file("备份");  // the suffix is added
        screen->backUp();
        QVERIFY(backup::check(folder.file("备份.db")).ok);
        QCOMPARE(shown, QStringList{"数据已备份到：" + folder.file("备份.db")});

        const auto operators = [] { return sql::scalar(database::shared(), "select count(*) from czydmb").toInt(); };
        const int delivered = operators();
        sql::exec(database::shared(), "insert into czydmb (czybh, czyxm, 角色) values ('77', '新操作员', '查询')");

        QFile text(folder.file("说明.txt"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a database");
        text.close();
        chosen = text.fileName();
        screen->restore();
        QCOMPARE(asked.size(), 1);  // refused before the question
        QVERIFY2(asked[0].message.startsWith("该文件不是数据库文件"), qPrintable(asked[0].message));
        QVERIFY2(!asked[0].details.isEmpty(), "SQLite's words behind 详细信息");

        chosen = folder.file("备份.db");
        screen->restore();  // declined
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked[1].title, "恢复提示");
        QCOMPARE(operators(), delivered + 1);

        answer = prompt::Ok;
        screen->restore();
        QCOMPARE(operators(), delivered);
        QVERIFY2(shown.last().startsWith("数据已恢复。"), qPrintable(shown.last()));
        // A reopened, configured connection.
        QCOMPARE(sql::scalar(database::shared(), testOnServer() ? "select current_setting('lock_timeout')" : "PRAGMA foreign_keys")
                     .toString(),
                 testOnServer() ? "5s" : "1");
    }
};

QTEST_MAIN(TestBackupScreen)
#include "test_backup_screen.moc"
