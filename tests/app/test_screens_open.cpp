// Every screen and further window of the program opens on a small organisation without a
// database error: nothing the database refused is told, no grid's query failed and the
// driver warned of nothing. Run on both engines, it is the check that every screen's SQL
// also runs on a server.

#include "app/function_screen.h"
#include "app/main_window.h"
#include "app/notify.h"
#include "app/prompt.h"
#include "app/screen_registry.h"
#include "demo/demo_organisation.h"
#include "support/test_support.h"

#include <QSqlError>
#include <QSqlQueryModel>
#include <QTest>

namespace {

// What the driver says on standard error while a screen opens (a result set lost, a statement
// refused by a model that reports nothing itself).
QStringList driverWarnings;
QtMessageHandler previousHandler = nullptr;

void keepDriverWarnings(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (text.contains("QPSQL") || text.contains("QSQLITE") || text.contains("ERROR:"))
        driverWarnings << text;
    previousHandler(type, context, text);
}

}  // namespace

class TestScreensOpen : public QObject {
    Q_OBJECT

    QStringList told_;  // "class: message | details" of every prompt and note shown

    // What went wrong while `shown` opened: empty when nothing did.
    QString failuresOf(const QString &name, const QWidget *shown)
    {
        QStringList failed = told_;
        for (const QSqlQueryModel *model : shown->findChildren<QSqlQueryModel *>())
            if (model->lastError().isValid())
                failed << model->lastError().text();
        failed << driverWarnings;
        told_.clear();
        driverWarnings.clear();
        return failed.isEmpty() ? QString() : name + ": " + failed.join("\n  ");
    }

private slots:
    void everyScreenOpens()
    {
        ProgramFolder folder;
        demo::generate(folder.db(), {.employees = 40, .seed = 29});
        const QString employee = queryValue(folder.db(), "select min(职工编码) from gbllb").toString();
        ScreenRegistry registry;
        registerAllScreens(registry);
        TfrmMain window{registry};
        const prompt::ScopedAnswerer answering([&](const prompt::Call &c) {
            told_ << c.message + " | " + c.details;
            return int(prompt::Ignore);
        });
        const notify::ScopedObserver noting([&](notify::Kind kind, const QString &, const QString &text) {
            if (kind != notify::Kind::Information)
                told_ << text;
        });
        const notify::ScopedAnswerer no([](const QString &, const QString &) { return false; });
        previousHandler = qInstallMessageHandler(keepDriverWarnings);

        int screens = 0, windows = 0;
        QStringList failures;
        for (const QString &name : registry.classNames()) {
            if (registry.find(name)) {
                FunctionScreen *screen = window.openScreen(name);
                QVERIFY2(screen, qPrintable(name));
                QCoreApplication::processEvents();
                failures << failuresOf(name, screen);
                screen->close();
                ++screens;
            } else {
                QWidget *shown = (*registry.findWindow(name))(window, employee);
                QVERIFY2(shown, qPrintable(name));
                QCoreApplication::processEvents();
                failures << failuresOf(name, shown);
                shown->close();
                shown->deleteLater();
                ++windows;
            }
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        qInstallMessageHandler(previousHandler);
        failures.removeAll(QString());
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
        QVERIFY2(screens > 40 && windows >= 3, qPrintable(QString("%1 screens, %2 windows").arg(screens).arg(windows)));
    }
};

QTEST_MAIN(TestScreensOpen)
#include "test_screens_open.moc"
