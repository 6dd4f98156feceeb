// Start-up: splash, shared database, maximised main window, login; then the message loop.

#include "app/chinese.h"
#include "app/login_window.h"
#include "app/main_window.h"
#include "app/navigation.h"
#include "app/notify.h"
#include "app/operator_settings.h"
#include "app/program_database.h"
#include "app/prompt.h"
#include "app/screen_registry.h"
#include "app/splash.h"
#include "db/database.h"
#include "db/address.h"
#include "db/app_paths.h"
#include "db/private_files.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QFont>
#include <QScreen>
#include <memory>

int main(int argc, char **argv)
{
    private_files::restrictNewFiles();
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 10));
    if (!chinese::install(app))
        qWarning("Qt's Chinese translation (qtbase_zh_CN) is missing: standard buttons stay English");

    // The database is opened and its pages checked while the splash shows, inside its time.
    std::unique_ptr<Tfrmstart> splash(Tfrmstart::create());
    QElapsedTimer shown;
    shown.start();
    if (splash) {
        splash->show();
        splash->repaint();
    }
    QApplication::setApplicationDisplayName(navigation_texts::kProductTitle);

    registerStoredTables();
    // database/wenpad.ini may name a server: then the login connects as the operator's own
    // user there, with the one password he types (server_roles.h).
    const database::Address where = database::configuredAddress();
    const QString databaseFile = where.text();
    if (!where.isServer()) {
        if (!QFileInfo::exists(databaseFile))
            splash.reset();  // the question below must not hide behind the splash
        const program_database::Opened opened = program_database::open(nullptr, databaseFile);
        if (opened.declined)
            return 0;
        if (!opened.result.ok) {
            splash.reset();
            prompt::ask(navigation_texts::kProductTitle, opened.result.message, false, nullptr, opened.result.details);
            return 1;
        }
        if (!opened.result.keptCopy.isEmpty()) {
            splash.reset();
            notify::show(nullptr, notify::Kind::Information, navigation_texts::kProductTitle,
                         QStringLiteral("数据库已升级到本版本，升级前的数据库另存为：%1")
                             .arg(QDir::toNativeSeparators(opened.result.keptCopy)));
        }
    }
    if (splash)
        holdSplash(std::max<qint64>(0, 3000 - shown.elapsed()));

    ScreenRegistry registry;
    registerAllScreens(registry);
    TfrmMain mainWindow(registry);
    // Sized to the screen first, so it fills it even where no window manager maximises.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        mainWindow.setGeometry(screen->availableGeometry());
    mainWindow.showMaximized();
    // Where the data lives, kept in view whatever else the status bar shows.
    auto *whereShown = new QLabel(QStringLiteral("数据库：%1").arg(QDir::toNativeSeparators(where.shown())));
    mainWindow.statusBar()->addPermanentWidget(whereShown);

    int result = 0;
    {
        Tfrmlogin login(databaseFile, &mainWindow);
        splash.reset();
        if (login.exec() == QDialog::Accepted) {
            operator_settings::setOperator(login.nameBox()->text());
            if (where.isServer()) {
                database::Address connected = where;
                connected.user = database::shared().userName();
                whereShown->setText(QStringLiteral("数据库：%1").arg(connected.shown()));
            }
            mainWindow.applyRights();
            mainWindow.restoreRemembered();
            result = app.exec();
        }
    }
    database::close(database::kSharedConnection);
    return result;
}
