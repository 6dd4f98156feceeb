// Rights by role, held by the logic: a write the role may not make is refused with
// "您没有此项操作的权限。" and changes nothing, whatever screen or tool asks; the main window
// greys what the role may not open; the last administrator stays; a first login with the
// delivered password sets a new one; the files written are the owner's alone.

#include "app/login_window.h"
#include "app/main_window.h"
#include "app/new_password_dialog.h"
#include "app/notify.h"
#include "app/program_database.h"
#include "app/screen_registry.h"
#include "app/edit_rows.h"
#include "codes/code_members.h"
#include "codes/code_rows.h"
#include "db/app_paths.h"
#include "db/operators.h"
#include "db/private_files.h"
#include "db/rights.h"
#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "pay/appraisal.h"
#include "pay/pay_month.h"
#include "support/test_support.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <sys/stat.h>

namespace {

struct SessionScope {
    explicit SessionScope(const QString &role) { rights::setSession({QStringLiteral("某人"), role}); }
    ~SessionScope() { rights::setSession({}); }
};

// Runs `write`; the refusal's text, or empty when it was allowed.
QString refusalOf(const std::function<void()> &write)
{
    try {
        write();
    } catch (const sql::Failure &e) {
        return e.kind() == sql::Failure::Kind::Denied ? e.explain(QStringLiteral("?")) : e.message();
    }
    return {};
}

// What the group and others may do with the file: nothing, for a private one.
QFile::Permissions othersMay(const QString &file)
{
    return QFileInfo(file).permissions()
           & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther);
}

bool enabledButton(QWidget *root, const QString &text)
{
    for (QAbstractButton *b : root->findChildren<QAbstractButton *>())
        if (b->text() == text)
            return b->isEnabled();
    qFatal("no button %s", qPrintable(text));
}

bool enabledMenuItem(QMainWindow &window, const QString &text)
{
    for (QAction *top : window.menuBar()->actions())
        if (top->menu())
            for (QAction *a : top->menu()->actions())
                if (a->text() == text)
                    return a->isEnabled();
    qFatal("no menu item %s", qPrintable(text));
}

// Three generated employees with their histories, pay and records: every kind of row to write.
QSqlDatabase smallOrganisation(const ProgramFolder &folder)
{
    const QSqlDatabase db = folder.db();
    demo::Options options;
    options.employees = 3;
    demo::generate(db, options);
    return db;
}

}  // namespace

class TestRights : public QObject {
    Q_OBJECT

private slots:
    void writesAreRefusedByRole_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("allowed");
        const QStringList tables = {"zghmc", "dwdtb", "zwdjdtb", "gzb", "mzdmb", "czydmb"};
        const QMap<QString, QList<bool>> allowed = {
            {rights::kAdministrator, {true, true, true, true, true, true}},
            {rights::kPersonnel, {true, true, true, false, false, false}},
            {rights::kPayroll, {false, false, true, true, false, false}},
            {rights::kQuery, {false, false, false, false, false, false}},
        };
        for (auto i = allowed.begin(); i != allowed.end(); ++i)
            for (int t = 0; t < tables.size(); ++t)
                QTest::addRow("%s %s", qPrintable(i.key()), qPrintable(tables[t])) << i.key() << tables[t] << i.value()[t];
    }

    void writesAreRefusedByRole()
    {
        QFETCH(QString, role);
        QFETCH(QString, table);
        QFETCH(bool, allowed);
        ProgramFolder folder;
        const QSqlDatabase db = smallOrganisation(folder);
        const QByteArray before = databaseChecksum(testDatabase());
        const SessionScope session(role);
        // A harmless change of one row: writing a column with the value it holds.
        const QString key = table == "zghmc" ? "职工编码" : table == "mzdmb" ? "民族编码" : table == "czydmb" ? "czybh" : "自动编号";
        const QString column = table == "zghmc" ? "职工姓名" : table == "mzdmb" ? "民族名称" : table == "czydmb" ? "czyxm" : "职工编码";
        const QVariant keyValue = queryValue(db, QStringLiteral("select min(%1) from %2").arg(key, table));
        const QVariant value = queryValue(db, QStringLiteral("select %1 from %2 where %3=(select min(%3) from %2)").arg(column, table, key));
        const QString refused = refusalOf([&] { edit::writeRow(db, table, {{column, value}}, {key, keyValue}); });
        QCOMPARE(refused, allowed ? QString() : rights::kDeniedMessage);
        if (!allowed) {
            QCOMPARE(refusalOf([&] { edit::deleteRows(db, table, {key, keyValue}); }), rights::kDeniedMessage);
            QCOMPARE(databaseChecksum(testDatabase()), before);
        }
    }

    // The logic the screens call, not a widget: a 查询 operator saves nothing.
    void aQueryOperatorSavesNothingThroughTheScreensLogic()
    {
        ProgramFolder folder;
        const QSqlDatabase db = smallOrganisation(folder);
        const QByteArray before = databaseChecksum(testDatabase());
        const SessionScope session(rights::kQuery);
        QCOMPARE(refusalOf([&] { pay::generateMonth(db, QDate(2030, 1, 1), pay::Generation::Blank); }), rights::kDeniedMessage);
        QCOMPARE(refusalOf([&] { pay::generateAppraisalSheet(db, 2030); }), rights::kDeniedMessage);
        QCOMPARE(refusalOf([&] {
                     codes::saveRow(db, *codes::findMember("Tfrmmzdm"), {{}, {{"民族编码", "99"}, {"民族名称", "某族"}}, std::nullopt});
                 }),
                 rights::kDeniedMessage);
        QCOMPARE(refusalOf([&] { operators::add(db, "小张", rights::kQuery, "abcdefgh1"); }), rights::kDeniedMessage);
        QCOMPARE(databaseChecksum(testDatabase()), before);
    }

    void theLastAdministratorStays()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        const codes::Member &operatorsScreen = *codes::findMember("Tfrmczydm");
        const auto asRole = [&](const QString &role) {
            return refusalOf([&] {
                codes::saveRow(db, operatorsScreen, {"01", {{"czybh", "01"}, {"czyxm", "admin"}, {"角色", role}}, std::nullopt});
            });
        };
        QCOMPARE(asRole(rights::kQuery), operators::kLastAdministrator);
        QCOMPARE(refusalOf([&] { codes::deleteRow(db, operatorsScreen, "01"); }).isEmpty(), false);
        QCOMPARE(queryValue(db, "select 角色 from czydmb where czybh='01'").toString(), rights::kAdministrator);
        // With a second administrator the first may change role.
        QCOMPARE(operators::add(db, "小张", rights::kAdministrator, "abcdefgh1"), QStringLiteral("02"));
        QCOMPARE(asRole(rights::kQuery), QString());
        QCOMPARE(refusalOf([&] { codes::deleteRow(db, operatorsScreen, "02"); }), operators::kLastAdministrator);
        QCOMPARE(operators::logIn(db, "小张", "abcdefgh1")->role, rights::kAdministrator);
        QCOMPARE(operators::logIn(db, "admin", "123456")->role, rights::kQuery);
    }

    void theMainWindowGreysWhatTheRoleMayNotOpen()
    {
        ProgramFolder folder;
        ScreenRegistry registry;
        registerAllScreens(registry);
        TfrmMain window(registry);
        QVERIFY(enabledButton(window.navigator(), "操作员代码表"));
        {
            const SessionScope session(rights::kQuery);
            window.applyRights();
            QVERIFY(!enabledButton(window.navigator(), "操作员代码表"));
            QVERIFY(!enabledMenuItem(window, "操作员代码表"));
            QVERIFY(!enabledButton(window.navigator(), "数据备份与恢复"));
            // Every list opens, pay's too; writing is what is refused.
            QVERIFY(enabledButton(window.navigator(), "职工工资编辑"));
            QVERIFY(enabledButton(window.navigator(), "职工基本情况编辑"));
            QVERIFY(enabledButton(window.quickLaunchBar(), "职工某月\n工资编辑"));
            QStringList told;
            const notify::ScopedObserver observer([&](notify::Kind, const QString &, const QString &text) { told << text; });
            QVERIFY(!window.openScreen("Tfrmczydm"));
            QCOMPARE(told, QStringList{rights::kDeniedMessage});
        }
        {
            const SessionScope session(rights::kPersonnel);
            window.applyRights();
            QVERIFY(!enabledButton(window.navigator(), "职工工资编辑"));
            QVERIFY(!enabledButton(window.quickLaunchBar(), "职工某月\n工资编辑"));
            QVERIFY(enabledButton(window.quickLaunchBar(), "职工基本\n情况编辑"));
        }
    }

    void aFirstLoginWithTheDeliveredPasswordSetsANewOne()
    {
        ProgramFolder folder;
        Tfrmlogin login(testDatabase());
        // Nobody is connected to a server before the login: its hint is never shown.
        QCOMPARE(login.hintLabel()->isHidden(), testOnServer());
        QStringList messages;
        const auto answer = [&] {
            auto *dialog = login.findChild<NewPasswordDialog *>();
            if (!dialog)
                return;
            for (const auto &[typed, repeated] : {std::pair{"short", "short"}, {"abcdefgh1", "abcdefgh2"}}) {
                dialog->passwordBox()->setText(typed);
                dialog->repeatBox()->setText(repeated);
                dialog->confirmButton()->click();
                messages << dialog->messageLabel()->text();
            }
            dialog->passwordBox()->setText("abcdefgh1");
            dialog->repeatBox()->setText("abcdefgh1");
            dialog->confirmButton()->click();
        };
        login.nameBox()->setText("admin");
        login.passwordBox()->setText("123456");
        QTimer::singleShot(0, &login, [&] {
            QTimer::singleShot(0, &login, answer);
            login.confirmButton()->click();
        });
        QCOMPARE(login.exec(), int(QDialog::Accepted));
        QCOMPARE(messages, (QStringList{"新密码至少要8个字符。", "两次输入的密码不一致。"}));
        QCOMPARE(login.loggedIn().role, rights::kAdministrator);
        QVERIFY(!operators::canLogIn(folder.db(), "admin", "123456"));
        QVERIFY(operators::canLogIn(folder.db(), "admin", "abcdefgh1"));
        // The change is his, logged under his name, not the process's default writer.
        QCOMPARE(listed(folder.db(), "select 操作员 from czrzb where 表名='czydmb'"), QString("admin"));
        rights::setSession({});
        Tfrmlogin next(testDatabase());
        QVERIFY(next.hintLabel()->isHidden());
    }

    // Whatever the umask: the tool's database file, its backup, exports and PDFs are the owner's.
    void filesAreTheOwnersAlone()
    {
        QTemporaryDir dir;
        const mode_t previous = ::umask(0);
        // On a server the database is not a file here; what is written beside it is.
        const QString db = testOnServer() ? emptyServerDatabase() : dir.filePath("w.db");
        QCOMPARE(runAdmin({"init", "--db", db}).status, 0);
        QCOMPARE(runAdmin({"demo", "--db", db, "--employees", "5"}).status, 0);
        QCOMPARE(runAdmin({"backup", "--db", db, "--to", dir.filePath("b.db")}).status, 0);
        QCOMPARE(runAdmin({"export", "--db", db, "--to", dir.filePath("e.xlsx")}).status, 0);
        QCOMPARE(runAdmin({"roster", "Tfrmdyxx", "--db", db, "--pdf", dir.filePath("r.pdf")}).status, 0);
        QCOMPARE(runAdmin({"restore", "--db", db, "--from", dir.filePath("b.db")}).status, 0);
        ::umask(previous);
        const QStringList files = QDir(dir.path()).entryList(QDir::Files);
        QVERIFY(files.size() >= (testOnServer() ? 3 : 5));
        for (const QString &f : files)
            QVERIFY2(othersMay(dir.filePath(f)) == QFile::Permissions(), qPrintable(f));
        QCOMPARE(runAdmin({"log", "--db", db}).out.count(QStringLiteral(",恢复,")), 1);
    }

    void aDatabaseOthersCanReadIsToldAndMadePrivate()
    {
        SKIP_ON_SERVER("the permissions are the file's");
        ProgramFolder folder(false);
        QVERIFY(database::createDelivered(testDatabase()).ok);
        QVERIFY(QFile::setPermissions(testDatabase(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        QStringList asked;
        const notify::ScopedAnswerer answerer([&](const QString &, const QString &text) { asked << text; return true; });
        QVERIFY(program_database::open(nullptr, testDatabase()).result.ok);
        QCOMPARE(asked.size(), 1);
        QVERIFY(private_files::readableByOthers(testDatabase()).isEmpty());
    }
};

QTEST_MAIN(TestRights)
#include "test_rights.moc"
