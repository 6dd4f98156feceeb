// Database failures as the person sees them: each kind (a database another program holds, one
// that cannot be written, a full disk, a refused value, a damaged file, an unnamed error, a
// server that dropped the connection) driven through one screen of each family, said in
// Chinese only, the database's own words kept for the details part, and never under a
// progress dialog.

#include "app/edit_modes.h"
#include "app/prompt.h"
#include "codes/code_editor.h"
#include "codes/code_members.h"
#include "db/app_paths.h"
#include "db/clock.h"
#include "db/database.h"
#include "db/dialect.h"
#include "db/rights.h"
#include "db/server_roles.h"
#include "pay/pay_entry_screen.h"
#include "records/training_editor.h"
#include "staff/cadre_resume_screen.h"
#include "staff/detail_panel.h"
#include "staff/employee_editor.h"
#include "staff/employee_fixture.h"
#include "stats/statistics_screen.h"
#include "stats/statistics_table.h"
#include "support/engine_sql.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <functional>
#include <memory>

namespace {

const QString kBusy = QStringLiteral("数据库正被另一程序使用，请稍后再试。");
const QString kFull = QStringLiteral("磁盘已满或数据库只读，未保存。");
const QString kDamaged = QStringLiteral("数据库文件已损坏，无法读写。请用“数据备份与恢复”从最近的备份恢复。");
const QString kOther = QStringLiteral("数据库错误，未保存。");
const QString kDenied = QStringLiteral("您没有此项操作的权限。");
const QString kLost = QStringLiteral("与数据库服务器的连接已断开，请重新启动程序。");

// One screen of a family, the write it makes, and what it says besides the kind's sentence.
struct Family {
    const char *name;
    QString table;  // where the write goes (and where a damaged file is damaged)
    std::function<void(const QSqlDatabase &)> prepare;
    // Makes the write meet a refusal of the database (a duplicate code); empty: it cannot.
    std::function<void(const QSqlDatabase &)> collide;
    std::function<QWidget *(TestHost &)> open;
    std::function<void(QWidget *)> write;
    QString refusal;  // said alone for a refused value
    QString lead;     // said before every other kind's sentence
};

QPushButton *button(QWidget *screen, const QString &caption)
{
    for (QPushButton *b : screen->findChildren<QPushButton *>())
        if (b->objectName() == caption || b->text() == caption)
            return b;
    return nullptr;
}

void choose(Tfrmzglr *editor, const QString &key, const QString &value)
{
    QWidget *control = editor->detail()->control(key);
    if (auto *list = qobject_cast<QComboBox *>(control)) {
        list->setCurrentIndex(list->findData(value));
        emit list->activated(list->currentIndex());
    } else {
        static_cast<QLineEdit *>(control)->setText(value);
    }
}

const std::vector<Family> &families()
{
    static const std::vector<Family> all = {
        {"code table", "mzdmb", {},
         [](const QSqlDatabase &db) { sql::exec(db, "insert into mzdmb (民族编码,民族名称) values ('99','旧民族')"); },
         [](TestHost &host) -> QWidget * { return new codes::CodeEditor(host, *codes::findMember("Tfrmmzdm")); },
         [](QWidget *screen) {
             button(screen, "添加")->click();
             screen->findChild<QLineEdit *>("民族编号")->setText("99");
             screen->findChild<QLineEdit *>("民族名称")->setText("新民族");
             button(screen, "保存")->click();
         },
         "编号重复或空，请重新输入！", {}},
        {"employee editor", "zghmc", {},
         [](const QSqlDatabase &db) { addEmployee(db, "000200", "02"); },
         [](TestHost &host) -> QWidget * { return new Tfrmzglr(host); },
         [](QWidget *screen) {
             auto *editor = static_cast<Tfrmzglr *>(screen);
             editor->add();
             const staff::EmployeeRecord r = validEmployee("000200");
             for (auto it = r.values.cbegin(); it != r.values.cend(); ++it)
                 if (it.key() != "照片")
                     choose(editor, it.key(), it.value());
             editor->save();
         },
         "编号重复或空，请重新输入！", {}},
        {"training", "pxnrb", {},
         [](const QSqlDatabase &db) { sql::exec(db, "insert into pxnrb (培训编码,培训日期) values ('P9','2004-01-01')"); },
         [](TestHost &host) -> QWidget * { return new Tfrmpxjlbj(host); },
         [](QWidget *screen) {
             auto *editor = static_cast<Tfrmpxjlbj *>(screen);
             const Tfrmpxjlbj::Side &courses = editor->side(Tfrmpxjlbj::Courses);
             courses.bar->button(edit::Action::Add)->click();
             static_cast<QLineEdit *>(courses.control("培训编码"))->setText("P9");
             static_cast<QLineEdit *>(courses.control("培训日期"))->setText("2005-06-01");
             courses.bar->button(edit::Action::Save)->click();
         },
         "这条培训内容无法插入！", "这条培训内容无法插入！"},
        {"pay month", "gzb", [](const QSqlDatabase &db) { addEmployee(db, "000001", "01", "2020-01-01"); }, {},
         [](TestHost &host) -> QWidget * { return new Tfrmgzlr(host); },
         [](QWidget *screen) { static_cast<Tfrmgzlr *>(screen)->copydata(false); },
         {}, "工资表没有生成。"},
        {"statistics rebuild", "zgjbqkfxb", [](const QSqlDatabase &db) { addEmployee(db, "000001", "01", "2020-01-01"); }, {},
         [](TestHost &host) -> QWidget * { return new StatisticsScreen(host, *stats::findStatisticsTable("zgjbqkfxb")); },
         [](QWidget *screen) {
             auto *statistics = static_cast<StatisticsScreen *>(screen);
             statistics->cutoffPicker()->setDate(QDate(2023, 12, 31));
             statistics->insertdata();
         },
         {}, "统计表未能重建，仍显示上次的结果。"},
        {"résumé", "pojlb", [](const QSqlDatabase &db) { addEmployee(db, "000101", "02"); },
         [](const QSqlDatabase &db) { failInserts(db, "pojlb", "CHECK constraint failed: 姓名"); },
         [](TestHost &host) -> QWidget * {
             auto *screen = new Tfrmgbllbj(host);
             screen->edit();
             return screen;
         },
         [](QWidget *screen) {
             auto *resume = static_cast<Tfrmgbllbj *>(screen);
             static_cast<QLineEdit *>(resume->spouseBox("姓名"))->setText("李梅");
             resume->confirm();
         },
         "您输入的数据存在错误！", {}},
    };
    return all;
}

// Writes garbage over the first page of `table`'s tree, with every connection closed, so the
// next statement that reaches the table finds the file damaged.
void damage(const QString &file, const QString &table)
{
    const qint64 pageSize = queryValue(database::shared(), "PRAGMA page_size").toLongLong();
    const qint64 root =
        queryValue(database::shared(), "select rootpage from sqlite_master where name='" + table + "'").toLongLong();
    database::close(database::kSharedConnection);
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.seek((root - 1) * pageSize));
    f.write(QByteArray(64, '\xff'));
    f.close();
    QVERIFY(database::open(database::kSharedConnection, file, database::Check::Identity).ok);
}

}  // namespace

class TestFailureMessages : public QObject {
    Q_OBJECT

    struct Asked {
        prompt::Call call;
        bool underProgress;  // a progress dialog was still shown
    };
    QList<Asked> asked;
    const prompt::ScopedAnswerer answering{[this](const prompt::Call &c) {
        bool underProgress = false;
        for (QWidget *w : QApplication::topLevelWidgets())
            underProgress = underProgress || (qobject_cast<QProgressDialog *>(w) && w->isVisible());
        asked << Asked{c, underProgress};
        return int(prompt::Ok);
    }};

private slots:
    void init()
    {
        asked.clear();
        clock_source::setToday(QDate(2024, 3, 20));
    }
    void cleanup() { clock_source::setToday({}); }

    void everyKindSaidInChinese_data()
    {
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("fault");
        for (size_t f = 0; f < families().size(); ++f) {
            QStringList faults = {"busy", "read-only", "full", "damaged", "lost"};
            if (families()[f].collide)
                faults << "refused";
            for (const QString &fault : faults)
                QTest::newRow(qPrintable(QString("%1 × %2").arg(families()[f].name, fault))) << int(f) << fault;
        }
        QTest::newRow("code table × unnamed") << 0 << "unnamed";
    }
    void everyKindSaidInChinese()
    {
        QFETCH(int, family);
        QFETCH(QString, fault);
        const Family &screenFamily = families()[size_t(family)];
        ProgramFolder folder;
        if (screenFamily.prepare)
            screenFamily.prepare(folder.db());

        // The fault, set up before the screen opens: what the screen reads on opening may meet
        // it too, and says so in the same words.
        std::unique_ptr<FullDisk> disk;
        QSqlDatabase other;
        QString sentence;
        QString detailsHold;  // a part of the database's own words the details must keep
        if (fault == "busy") {
            // Another program in the middle of a write: its transaction holds the write lock.
            QVERIFY(database::open("other program", testDatabase(), database::Check::Identity).ok);
            other = QSqlDatabase::database("other program", false);
            for (const QString &statement : sql::dialect(other).beginWrite())
                execOrDie(other, statement);
            execOrDie(folder.db(), onPostgres(folder.db()) ? "SET lock_timeout = '50ms'" : "PRAGMA busy_timeout=50");
            sentence = kBusy;
        } else if (fault == "read-only" && testOnServer()) {
            // On a server a connection that may not write is one whose user lacks the grant.
            execOrDie(folder.db(), QStringLiteral("SET ROLE \"%1\"")
                                       .arg(server_roles::groupName(folder.db().databaseName(), rights::kQuery)));
            sentence = kDenied;
        } else if (fault == "read-only") {
            queryValue(folder.db(), "PRAGMA query_only=ON");
            sentence = kFull;
        } else if (fault == "lost") {
            if (!testOnServer())
                QSKIP("a file has no connection to lose");
            sentence = kLost;
        } else if (fault == "full") {
            SKIP_ON_SERVER("a full disk is the file's");
            disk = std::make_unique<FullDisk>(folder.file("disk"));
            if (!disk->mounted)
                QSKIP("a small file system needs root to mount");
            moveSharedDatabase(folder.file("disk/wenpad.db"));
            disk->fill();
            sentence = kFull;
        } else if (fault == "damaged") {
            SKIP_ON_SERVER("the damage is to the file's bytes");
            damage(testDatabase(), screenFamily.table);
            sentence = kDamaged;
            detailsHold = "malformed";
        } else if (fault == "refused") {
            screenFamily.collide(folder.db());
        } else {
            // A column the screen writes, gone: a file changed by another program.
            sql::exec(folder.db(), "alter table mzdmb rename column 民族名称 to 名称");
            sentence = kOther;
            detailsHold = "民族名称";
        }

        TestHost host;
        std::unique_ptr<QWidget> screen(screenFamily.open(host));
        if (fault == "lost") {
            // The server ends the open screen's connection (restarted, or an administrator's doing).
            QVERIFY(database::open("administrator", testDatabase(), database::Check::Identity).ok);
            queryValue(QSqlDatabase::database("administrator", false),
                       "select count(pg_terminate_backend(pid)) from pg_stat_activity "
                       "where datname=current_database() and pid<>pg_backend_pid()");
            database::close("administrator");
        }
        screenFamily.write(screen.get());
        QVERIFY(!asked.isEmpty());
        const QString expected = fault == "refused"          ? screenFamily.refusal
                                 : screenFamily.lead.isEmpty() ? sentence
                                                               : screenFamily.lead + '\n' + sentence;
        // A lost connection may be met by the read before the write, which has no lead.
        if (fault == "lost")
            QVERIFY2(asked.last().call.message.endsWith(kLost), qPrintable(asked.last().call.message));
        else
            QCOMPARE(asked.last().call.message, expected);
        QVERIFY2(asked.last().call.details.contains(detailsHold), qPrintable(asked.last().call.details));
        // A lost connection's details are whatever the driver could still say.
        if (detailsHold.isEmpty() && fault != "lost")
            QCOMPARE(asked.last().call.details, QString());
        // Whatever was said on the way (reading on opening too) is Chinese, and said after any
        // progress dialog has closed.
        static const QRegularExpression latin("[A-Za-z]");
        for (const Asked &a : std::as_const(asked)) {
            QVERIFY2(!a.call.message.contains(latin), qPrintable(a.call.message));
            QVERIFY(!a.underProgress);
        }

        screen.reset();
        if (other.isValid()) {
            queryValue(other, "ROLLBACK");
            other = {};
            database::close("other program");
        }
    }
};

QTEST_MAIN(TestFailureMessages)
#include "test_failure_messages.moc"
