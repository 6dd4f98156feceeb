// The code table screens in the running main window: what differs between the members, the
// modes, the code box, the database's refusals, the education code box, operator passwords and
// salary items.

#include "app/main_window.h"
#include "app/prompt.h"
#include "app/striped_grid.h"
#include "codes/code_editor.h"
#include "codes/code_screens.h"
#include "db/database.h"
#include "db/dialect.h"
#include "db/operators.h"
#include "db/rights.h"
#include "support/test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using codes::CodeEditor;
using Mode = CodeEditor::Mode;

namespace {

ScreenRegistry codeRegistry()
{
    ScreenRegistry registry;
    registerCodeScreens(registry);
    return registry;
}

QString call(const prompt::Call &c) { return c.title + '|' + c.message; }

// A delivered database, the main window with the code screens, and prompts answered by `answer`.
struct Program {
    ProgramFolder folder;
    ScreenRegistry registry = codeRegistry();
    TfrmMain window{registry};
    QStringList prompts;  // "title|message" of each prompt asked
    int answer = prompt::Ok;
    const prompt::ScopedAnswerer answering{[this](const prompt::Call &c) {
        prompts << call(c);
        return answer;
    }};

    Program()
    {
        window.resize(1200, 800);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    QSqlDatabase db() const { return folder.db(); }
    CodeEditor *open(const QString &className)
    {
        return qobject_cast<CodeEditor *>(window.openScreen(className));
    }
    QStringList takePrompts() { return std::exchange(prompts, {}); }
};

QLineEdit *box(CodeEditor *e, const QString &label) { return e->findChild<QLineEdit *>(label); }
QPushButton *button(CodeEditor *e, const QString &caption) { return e->findChild<QPushButton *>(caption); }
void press(CodeEditor *e, const QString &caption) { QTest::mouseClick(button(e, caption), Qt::LeftButton); }

QStringList listed(CodeEditor *e)
{
    QStringList codes;
    for (int row = 0; row < e->grid()->model()->rowCount(); ++row)
        codes << e->grid()->model()->index(row, 0).data().toString();
    return codes;
}

QString currentCode(CodeEditor *e) { return e->grid()->currentIndex().siblingAtColumn(0).data().toString(); }

void select(CodeEditor *e, const QString &code)
{
    e->grid()->selectRow(int(listed(e).indexOf(code)));
}

// Types into a box as the user does, then leaves it with Tab.
void typeAndLeave(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->clear();
    if (!text.isEmpty())  // one key event carrying the whole text, Chinese included
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, text, Qt::NoModifier);
    QTest::keyClick(edit, Qt::Key_Tab);
}

void addEmployee(const QSqlDatabase &db, const QString &code)
{
    queryValue(db, QString("insert into zghmc(职工编码,职工姓名,文化程度) values('%1','某人','03')").arg(code));
}

}  // namespace

class TestCodeEditor : public QObject {
    Q_OBJECT
private slots:
    void membersDiffer_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("listTitle");
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QStringList>("firstCodes");
        QTest::addColumn<QString>("notListed");
        QTest::addColumn<QString>("formatMessage");  // empty: codes are taken as typed
        QTest::addColumn<bool>("striped");
        QTest::addColumn<bool>("arrows");

        const QString none;
        QTest::newRow("departments") << "Tfrmdwdm" << "  基础数据维护 -> 部门代码表" << "部门列表"
            << QStringList{"编号", "部门名称"} << QStringList{"01", "02", "03"} << "97" << "部门编码输入错误！" << true << true;
        QTest::newRow("titles") << "Tfrmzcdm" << "  基础数据维护 -> 职称代码表" << "职称信息"
            << QStringList{"编号", "职称名称"} << QStringList{"00", "01", "02"} << none << "职称编码输入错误！" << false << true;
        QTest::newRow("title levels") << "Tfrmzcjbdm" << "  基础数据维护 -> 职称级别代码表" << "职称级别"
            << QStringList{"编号", "级别名称"} << QStringList{"01", "02", "03"} << none << "编码输入错误！" << false << true;
        QTest::newRow("position levels") << "Tfrmzwjbdm" << "  基础数据维护 -> 职务级别代码表" << "职务级别"
            << QStringList{"编号", "级别名称"} << QStringList{"01", "02", "03"} << none << none << false << true;
        QTest::newRow("technical categories") << "Tfrmjsfl" << "  基础数据维护 -> 专业技术分类代码表" << "技术分类"
            << QStringList{"编号", "技术类别"} << QStringList{"01", "02", "03"} << "00" << "编码输入错误！" << false << true;
        QTest::newRow("positions") << "Tfrmzwdm" << "  基础数据维护 -> 职务代码表" << "职务信息"
            << QStringList{"编号", "职务名称"} << QStringList{"01", "02", "03"} << "00" << "职务编码输入错误！" << false << true;
        QTest::newRow("nationalities") << "Tfrmmzdm" << "  基础数据维护 -> 民族代码表" << "民族代码"
            << QStringList{"编号", "民族名称"} << QStringList{"00", "01", "02"} << none << none << false << true;
        QTest::newRow("education") << "Tfrmwhcddm" << "  基础数据维护 -> 文化程度代码表" << "文化程度"
            << QStringList{"编号", "文化程度"} << QStringList{"01", "02", "03"} << none << none << false << true;
        QTest::newRow("attendance kinds") << "Tfrmcqfs" << "  基础数据维护 -> 出勤方式代码表" << "出勤方式"
            << QStringList{"编码", "出勤方式"} << QStringList{"01", "02", "03"} << none << none << true << false;
        QTest::newRow("operators") << "Tfrmczydm" << "  基础数据维护 -> 操作员代码表" << "操作员信息"
            << QStringList{"编号", "姓名", "角色"} << QStringList{"01"} << none << none << true << true;
        QTest::newRow("salary items") << "Tfrmgzgs" << "  基础数据维护 -> 工资表字段维护" << "文化程度"
            << QStringList{"字段"} << QStringList{} << none << none << false << true;
        QTest::newRow("post-skill grades") << "Tfrmdcdmb" << "  基础数据维护 -> 岗位技能档次代码表" << "职务信息"
            << QStringList{"编码", "档次名称"} << QStringList{"01", "02", "03"} << none << none << false << true;
        QTest::newRow("grade salary levels") << "Tfrmdjzwdcdmb" << "  基础数据维护 -> 等级（职务）档次代码表" << "级别信息"
            << QStringList{"编码", "等级名称"} << QStringList{"01", "02", "03"} << none << none << false << true;
        QTest::newRow("post-skill categories") << "Tfrmdclbdmb" << "  基础数据维护 -> 岗位技能类别代码表" << "职务信息"
            << QStringList{"类别", "类别名称"} << QStringList{"01", "02", "03"} << none << none << false << true;
    }
    void membersDiffer()
    {
        QFETCH(QString, className);
        QFETCH(QString, title);
        QFETCH(QString, listTitle);
        QFETCH(QStringList, headers);
        QFETCH(QStringList, firstCodes);
        QFETCH(QString, notListed);
        QFETCH(QString, formatMessage);
        QFETCH(bool, striped);
        QFETCH(bool, arrows);
        Program p;
        CodeEditor *e = p.open(className);
        QVERIFY(e);
        QCOMPARE(e->objectName(), className);
        QCOMPARE(e->pos(), centredOrigin(p.window.workArea()->size(), e->size()));
        QCOMPARE(e->titleStrip()->text(), title);
        QCOMPARE(e->listTitle()->text(), listTitle);
        QStringList shownHeaders;
        for (int c = 0; c < e->grid()->model()->columnCount(); ++c)
            shownHeaders << e->grid()->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(shownHeaders, headers);
        QCOMPARE(listed(e).mid(0, firstCodes.size()), firstCodes);
        if (!notListed.isEmpty())
            QVERIFY(!listed(e).contains(notListed));
        QCOMPARE(qobject_cast<StripedDelegate *>(e->grid()->itemDelegate()) != nullptr, striped);
        QCOMPARE(e->findChildren<QToolButton *>().size(), arrows ? 2 : 0);
        if (!firstCodes.isEmpty())
            QCOMPARE(currentCode(e), firstCodes.first());  // starts on the first row

        // Leaving the code box: zero-padding and the member's message, or the code as typed.
        press(e, "添加");
        QLineEdit *code = e->findChildren<QLineEdit *>().first();
        typeAndLeave(code, "7");
        QCOMPARE(code->text(), formatMessage.isEmpty() ? "7" : "07");
        typeAndLeave(code, "x");
        QCOMPARE(p.takePrompts(), formatMessage.isEmpty() ? QStringList{} : QStringList{"错误信息|" + formatMessage});
        QCOMPARE(code->text(), "x");
        if (!formatMessage.isEmpty())
            QCOMPARE(QApplication::focusWidget(), code);
    }

    void codeScreensAreReachable()
    {
        ScreenRegistry registry;
        registerAllScreens(registry);
        ProgramFolder folder;
        TfrmMain window(registry);
        const QStringList hidden{"职称级别代码表", "职务级别代码表"};  // 工资表内容编辑 shows: payroll clerks add items
        for (const NavGroup &group : navigatorGroups()) {
            if (group.header != "基础数据维护")
                continue;
            for (const NavButton &b : group.buttons) {
                if (b.action.kind != NavAction::Open)
                    continue;
                QVERIFY2(registry.contains(b.action.target), qPrintable(b.action.target));
                for (QPushButton *found : window.navigator()->findChildren<QPushButton *>())
                    if (found->text() == b.caption) {
                        QVERIFY(found->isEnabled());
                        QCOMPARE(found->isHidden(), hidden.contains(b.caption));
                    }
            }
        }
    }

    void oneMemberThroughEveryMode()
    {
        Program p;
        CodeEditor *e = p.open("Tfrmzwdm");
        QLineEdit *code = box(e, "职务编码");
        QLineEdit *name = box(e, "职务名称");
        auto *level = e->findChild<QComboBox *>("职务级别");
        const auto states = [&] {
            QString s;
            for (QWidget *w : std::initializer_list<QWidget *>{button(e, "添加"), button(e, "修改"), button(e, "删除"),
                                                               button(e, "返回"), e->grid(), button(e, "保存"),
                                                               button(e, "忽略"), name, level, code})
                s += w->isEnabled() ? '1' : '0';
            return s;
        };
        QCOMPARE(e->mode(), Mode::Browse);
        QCOMPARE(states(), "1111100000");
        QCOMPARE(name->text(), "总经理");
        QCOMPARE(level->currentText(), "处级");
        QTest::mouseClick(e->findChildren<QToolButton *>().last(), Qt::LeftButton);  // down
        QCOMPARE(currentCode(e), "02");
        QTest::mouseClick(e->findChildren<QToolButton *>().first(), Qt::LeftButton);  // up
        QTest::mouseClick(e->findChildren<QToolButton *>().first(), Qt::LeftButton);  // stays on the first
        QCOMPARE(currentCode(e), "01");

        press(e, "添加");
        QCOMPARE(e->mode(), Mode::Adding);
        QCOMPARE(states(), "0000011111");
        QVERIFY(code->text().isEmpty() && name->text().isEmpty() && level->currentIndex() == 0);
        typeAndLeave(code, "11");
        name->setText("技术员");
        level->setCurrentIndex(level->findText("科员"));
        press(e, "保存");
        QCOMPARE(e->mode(), Mode::Browse);
        QCOMPARE(currentCode(e), "11");
        QCOMPARE(queryValue(p.db(), "select 职务名称||职务级别 from zwdmb where 职务编码='11'").toString(), "技术员11");

        press(e, "修改");
        QCOMPARE(states(), "0000011110");
        name->setText("高级技术员");
        press(e, "忽略");
        QCOMPARE(e->mode(), Mode::Browse);
        QCOMPARE(name->text(), "技术员");
        QCOMPARE(queryValue(p.db(), "select 职务名称 from zwdmb where 职务编码='11'").toString(), "技术员");

        press(e, "修改");
        press(e, "保存");  // nothing changed
        QCOMPARE(e->mode(), Mode::Browse);
        press(e, "修改");
        name->setText("高级技术员");
        press(e, "保存");
        QCOMPARE(queryValue(p.db(), "select 职务名称 from zwdmb where 职务编码='11'").toString(), "高级技术员");
        QCOMPARE(p.prompts, QStringList{});

        QPointer<CodeEditor> guard(e);
        press(e, "返回");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guard.isNull());
        QVERIFY(p.window.navigator()->isEnabled());
    }

    void refusedSaveKeepsTheTypedRow_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("code");
        QTest::newRow("duplicate code") << "Tfrmmzdm" << "01";
        QTest::newRow("empty code") << "Tfrmmzdm" << "";
        QTest::newRow("code cut to its width, a used one") << "Tfrmmzdm" << "123";
        QTest::newRow("duplicate after padding") << "Tfrmdwdm" << "7";
        QTest::newRow("hostile salary item") << "Tfrmgzgs" << "a\"; DROP TABLE zghmc; --";
        QTest::newRow("salary item named like a gzb column") << "Tfrmgzgs" << "实发工资";
    }
    void refusedSaveKeepsTheTypedRow()
    {
        QFETCH(QString, className);
        QFETCH(QString, code);
        Program p;
        CodeEditor *e = p.open(className);
        const QStringList before = listed(e);
        const QVariant wageColumns = QVariant(sql::dialect(p.db()).columnNames(p.db(), "gzb").size());
        press(e, "添加");
        QLineEdit *codeBox = e->findChildren<QLineEdit *>().first();
        typeAndLeave(codeBox, code);
        const QString typed = codeBox->text();
        e->findChildren<QLineEdit *>().at(1)->setText("名称");
        press(e, "保存");
        QCOMPARE(p.takePrompts(), QStringList{"错误提示|编号重复或空，请重新输入！"});
        QCOMPARE(e->mode(), Mode::Adding);
        QCOMPARE(codeBox->text(), typed);
        QCOMPARE(e->findChildren<QLineEdit *>().at(1)->text(), "名称");
        press(e, "忽略");
        QCOMPARE(listed(e), before);
        QCOMPARE(QVariant(sql::dialect(p.db()).columnNames(p.db(), "gzb").size()), wageColumns);
        QCOMPARE(queryValue(p.db(), "select count(*) from zghmc").toInt(), 0);  // still there, still empty
    }

    // A database another program holds, or one that cannot be written: the save and the
    // delete say so instead of refusing the code, and nothing is written.
    void unwritableDatabase_data()
    {
        QTest::addColumn<bool>("locked");  // else read-only
        QTest::addColumn<QString>("message");
        QTest::newRow("locked by another connection") << true << "数据库正被另一程序使用，请稍后再试。";
        QTest::newRow("read-only") << false << "磁盘已满或数据库只读，未保存。";
    }
    void unwritableDatabase()
    {
        QFETCH(bool, locked);
        QFETCH(QString, message);
        Program p;
        CodeEditor *e = p.open("Tfrmmzdm");
        const bool server = testOnServer();
        queryValue(p.db(), server ? "set lock_timeout='50ms'" : "PRAGMA busy_timeout=50");
        // Another program holding the code table, or this connection made read-only.
        const QStringList hold = locked ? (server ? QStringList{"begin", "lock table mzdmb in share mode"} : QStringList{"BEGIN IMMEDIATE"})
                                        : QStringList{server ? "set default_transaction_read_only=on" : "PRAGMA query_only=ON"};
        const QString release = locked ? "ROLLBACK" : server ? "set default_transaction_read_only=off" : "PRAGMA query_only=OFF";
        {
            QVERIFY(database::openBeside("other program", p.db()).ok);
            QSqlDatabase other = QSqlDatabase::database("other program");
            for (const QString &statement : hold)
                queryValue(locked ? other : p.db(), statement);
            press(e, "添加");
            typeAndLeave(box(e, "民族编号"), "99");
            box(e, "民族名称")->setText("新民族");
            press(e, "保存");
            press(e, "忽略");
            press(e, "删除");
            QCOMPARE(p.takePrompts(), (QStringList{"错误提示|" + message, "删除提示|确定要删除本职务信息吗？",
                                                   "错误信息|" + message}));
            queryValue(locked ? other : p.db(), release);
        }
        database::close("other program");
        QCOMPARE(queryValue(p.db(), "select count(*) from mzdmb where 民族编码='99'").toInt(), 0);
        QCOMPARE(queryValue(p.db(), "select count(*) from mzdmb where 民族编码='00'").toInt(), 1);  // not deleted
    }

    void departmentCodes()
    {
        Program p;
        // A code typed before padding existed sorts by its number, not as text.
        queryValue(p.db(), "delete from dwdmb where 单位编码='05'");
        queryValue(p.db(), "insert into dwdmb values('5','安全监察科')");
        CodeEditor *e = p.open("Tfrmdwdm");
        QCOMPARE(listed(e).mid(3, 3), (QStringList{"04", "5", "06"}));

        QLineEdit *code = box(e, "部门编号");
        press(e, "添加");
        typeAndLeave(code, "7");
        QCOMPARE(p.takePrompts(), QStringList{});
        press(e, "保存");
        QCOMPARE(p.takePrompts(), QStringList{"错误提示|编号重复或空，请重新输入！"});
        press(e, "忽略");

        // An empty code box cannot be left, nor saved.
        press(e, "添加");
        typeAndLeave(code, "");
        press(e, "保存");
        QCOMPARE(p.takePrompts(), QStringList(2, "错误信息|部门编码输入错误！"));
        QCOMPARE(e->mode(), Mode::Adding);

        // Staff not on duty: saved, but not listed here.
        typeAndLeave(code, "96");
        box(e, "部门名称")->setText("待岗人员");
        press(e, "保存");
        QCOMPARE(e->mode(), Mode::Browse);
        QCOMPARE(currentCode(e), "96");
        press(e, "添加");
        typeAndLeave(code, "98");
        press(e, "保存");
        QCOMPARE(p.takePrompts(), QStringList{"错误提示|编号重复或空，请重新输入！"});  // delivered already
        typeAndLeave(code, "95");
        press(e, "保存");
        QCOMPARE(p.takePrompts(), QStringList{});
        queryValue(p.db(), "delete from dwdmb where 单位编码='95'");
    }

    // Each kind becomes a column of the attendance statistics, so a name already used is
    // refused like a used code, when adding and when modifying.
    void attendanceKindNamesAreDistinct()
    {
        Program p;
        CodeEditor *e = p.open("Tfrmcqfs");
        press(e, "添加");
        typeAndLeave(e->findChildren<QLineEdit *>().first(), "11");
        e->findChildren<QLineEdit *>().at(1)->setText("病假");
        press(e, "保存");
        QCOMPARE(p.takePrompts(), QStringList{"错误提示|编号重复或空，请重新输入！"});
        QCOMPARE(e->mode(), Mode::Adding);
        press(e, "忽略");
        select(e, "01");
        press(e, "修改");
        e->findChildren<QLineEdit *>().at(1)->setText("旷工");
        press(e, "保存");
        QCOMPARE(p.takePrompts(), QStringList{"错误提示|编号重复或空，请重新输入！"});
        press(e, "忽略");
        QCOMPARE(queryValue(p.db(), "select count(distinct 方式名称) - count(*) from kqfsb").toInt(), 0);
    }

    void deletion()
    {
        Program p;
        addEmployee(p.db(), "000001");
        queryValue(p.db(), "insert into zwdtb(职工编码,变动时间,职务编码) values('000001','2020-01-01','04')");
        CodeEditor *e = p.open("Tfrmzwdm");

        select(e, "04");
        press(e, "删除");
        QCOMPARE(p.takePrompts(), (QStringList{"删除提示|确定要删除本职务信息吗？",
                                               "错误信息|由于本职务有人担任，\n无法删除本职务信息！"}));
        QVERIFY(listed(e).contains("04"));

        select(e, "10");
        p.answer = prompt::Ignore;
        press(e, "删除");
        QVERIFY(listed(e).contains("10"));
        p.answer = prompt::Ok;
        press(e, "删除");
        QVERIFY(!listed(e).contains("10"));
        QCOMPARE(queryValue(p.db(), "select count(*) from zwdmb where 职务编码='10'").toInt(), 0);
        QCOMPARE(currentCode(e), "09");  // the row that took its place
    }

    void educationCodeChangesInModifyMode()
    {
        Program p;
        addEmployee(p.db(), "000001");  // uses "03"
        CodeEditor *e = p.open("Tfrmwhcddm");
        QLineEdit *level = box(e, "级别");
        select(e, "08");
        press(e, "修改");
        QVERIFY(!box(e, "文化程度编号")->isEnabled() && level->isEnabled());
        typeAndLeave(level, "09");
        QCOMPARE(box(e, "文化程度编号")->text(), "09");
        press(e, "保存");
        QCOMPARE(currentCode(e), "09");
        QCOMPARE(queryValue(p.db(), "select 文化程度 from whcddmb where 文化程度编码='09'").toString(), "小学");

        select(e, "03");
        press(e, "修改");
        typeAndLeave(level, "13");
        press(e, "保存");
        QCOMPARE(p.takePrompts(), QStringList{"错误提示|编号重复或空，请重新输入！"});
        QCOMPARE(queryValue(p.db(), "select count(*) from whcddmb where 文化程度编码='03'").toInt(), 1);
    }

    void gradeSalaryIsExact()
    {
        Program p;
        CodeEditor *e = p.open("Tfrmdjzwdcdmb");
        QLineEdit *salary = box(e, "等级工资");
        QCOMPARE(salary->text(), "3600.00");
        press(e, "修改");
        salary->setText("3600.4567");
        press(e, "保存");
        QCOMPARE(queryValue(p.db(), "select 等级工资 from zwdjdmb where 等级编码='01'").toLongLong(), 36004567LL);
        press(e, "修改");
        salary->setText("三千");
        press(e, "保存");
        QCOMPARE(p.takePrompts(), QStringList{"错误提示|等级工资格式错误，请重新输入！"});
        QCOMPARE(e->mode(), Mode::Editing);
    }

    void operatorPasswords()
    {
        Program p;
        CodeEditor *e = p.open("Tfrmczydm");
        QLineEdit *stored = box(e, "操作员密码");
        QLineEdit *fresh = box(e, "设置密码");
        QLineEdit *repeat = box(e, "确认密码");
        QCOMPARE(stored->text(), "******");  // the delivered operator has one

        press(e, "添加");
        QVERIFY(!stored->isEnabled() && fresh->isEnabled() && repeat->isEnabled());
        QCOMPARE(fresh->echoMode(), QLineEdit::Password);
        typeAndLeave(box(e, "操作员编号"), "02");
        box(e, "操作员姓名")->setText("张三");
        press(e, "保存");  // every operator has a role
        QCOMPARE(p.takePrompts(), QStringList{"错误提示|角色未填写，请重新输入！"});
        QComboBox *role = nullptr;
        for (QComboBox *list : e->findChildren<QComboBox *>())
            if (list->findText(rights::kAdministrator) >= 0)
                role = list;
        QVERIFY(role);
        role->setCurrentText(rights::kAdministrator);
        press(e, "保存");  // no password yet: saved, but cannot log in
        QCOMPARE(stored->text(), "");
        QVERIFY(!operators::canLogIn(p.db(), "张三", ""));

        press(e, "修改");
        fresh->setText("秘密1");
        repeat->setText("秘密2");
        press(e, "保存");
        QCOMPARE(p.takePrompts(), QStringList{"错误提示|两次输入的密码不一致，请重新输入！"});
        repeat->setText("秘密1");
        press(e, "保存");
        QCOMPARE(e->mode(), Mode::Browse);
        QVERIFY(operators::canLogIn(p.db(), "张三", "秘密1"));
        QCOMPARE(stored->text(), "******");
        QVERIFY(fresh->text().isEmpty());
        for (QLineEdit *edit : e->findChildren<QLineEdit *>())
            QVERIFY(!edit->text().contains("argon2"));

        press(e, "修改");
        box(e, "操作员姓名")->setText("张三丰");
        press(e, "保存");  // no new password typed: the old one stays
        QVERIFY(operators::canLogIn(p.db(), "张三丰", "秘密1"));

        // Someone must still be able to log in.
        select(e, "01");
        press(e, "删除");
        QCOMPARE(listed(e), QStringList{"02"});
        p.takePrompts();
        press(e, "删除");
        QCOMPARE(p.takePrompts(), (QStringList{"删除提示|确定要删除本职务信息吗？",
                                               "错误信息|至少要保留一个能登录的操作员，无法删除！"}));
        QVERIFY(operators::canLogIn(p.db(), "张三丰", "秘密1"));
    }

    void salaryItems()
    {
        Program p;
        addEmployee(p.db(), "000001");
        queryValue(p.db(), "insert into gzb(年月,职工编码,基本工资) values('2026-01-01','000001',25000000)");
        CodeEditor *e = p.open("Tfrmgzgs");
        QVERIFY(!button(e, "修改"));
        QStringList labels;
        for (QLabel *label : e->findChildren<QLabel *>())
            labels << label->text();
        QVERIFY(labels.contains("此公式只适用于工资表内字段之间的计算"));
        press(e, "添加");
        typeAndLeave(box(e, "字段名"), "bonus");
        box(e, "计算公式")->setText("基本工资*0.1");
        press(e, "保存");
        QCOMPARE(listed(e), QStringList{"bonus"});
        QCOMPARE(queryValue(p.db(), "select bonus from gzb").toLongLong(), 0LL);

        queryValue(p.db(), "update gzb set bonus=10000");
        press(e, "删除");
        QCOMPARE(p.takePrompts(), QStringList{"删除提示|确定要删除本字段信息吗？"});
        QCOMPARE(listed(e), QStringList{});
        QCOMPARE(sql::dialect(p.db()).columnNames(p.db(), "gzb").count("bonus"), 0);

        // A row whose column is gone cannot be deleted: the row stays.
        queryValue(p.db(), "insert into gzzd(字段) values('孤立字段')");
        press(e, "添加");
        press(e, "忽略");
        e->close();
        e = p.open("Tfrmgzgs");
        press(e, "删除");
        QCOMPARE(p.takePrompts(), (QStringList{"删除提示|确定要删除本字段信息吗？", "错误信息|无法删除本字段信息！"}));
        QCOMPARE(listed(e), QStringList{"孤立字段"});
    }
};

QTEST_MAIN(TestCodeEditor)
#include "test_code_editor.moc"
