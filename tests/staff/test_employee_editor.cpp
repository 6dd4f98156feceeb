// The employee editor as the operator uses it: modes, lists, couplings, save, delete, photo.

#include "app/prompt.h"
#include "app/field_controls.h"
#include "staff/detail_panel.h"
#include "staff/employee_editor.h"
#include "staff/photo_box.h"
#include "staff/photo_picker.h"
#include "employee_fixture.h"
#include "support/engine_sql.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {

// Sets a control as the operator would, by the code or text it offers.
void choose(Tfrmzglr &editor, const QString &key, const QString &value)
{
    QWidget *control = editor.detail()->control(key);
    if (auto *list = qobject_cast<QComboBox *>(control)) {
        list->setCurrentIndex(list->findData(value));
        emit list->activated(list->currentIndex());
    } else {
        static_cast<QLineEdit *>(control)->setText(value);
    }
}

QString shown(Tfrmzglr &editor, const QString &key) { return edit::valueOf(editor.detail()->control(key)); }

void selectDepartment(Tfrmzglr &editor, int row) { editor.departmentGrid()->selectRow(row); }

QString employeesListed(Tfrmzglr &editor)
{
    QStringList codes;
    const QAbstractItemModel *m = editor.employeeGrid()->model();
    for (int i = 0; i < m->rowCount(); ++i)
        codes << m->index(i, 0).data().toString();
    return codes.join(' ');
}

}  // namespace

class TestEmployeeEditor : public QObject {
    Q_OBJECT

    QList<prompt::Call> asked;
    int answer = prompt::Ok;
    const prompt::ScopedAnswerer answering{[this](const prompt::Call &c) {
        asked << c;
        return answer;
    }};

private slots:
    void init()
    {
        asked.clear();
        answer = prompt::Ok;
    }

    void modesSetTheControls()
    {
        ProgramFolder folder;
        addEmployee(folder.db(), "000100", "02");
        TestHost host;
        Tfrmzglr editor(host);
        QCOMPARE(host.enabledCalls, QList<bool>{false});
        selectDepartment(editor, 1);
        QCOMPARE(editor.currentCode(), QString("000100"));
        const QStringList names = {"添加", "删除", "修改", "返回", "保存", "忽略", "departmentUp", "employeeDown"};
        QList<QWidget *> controls;
        for (const QString &n : names)
            controls << editor.button(n);
        controls << editor.employeeGrid() << editor.detail() << editor.detail()->control("职工编码");
        const auto states = [&] {
            QString s;
            for (QWidget *w : controls)
                s += w->isEnabledTo(&editor) ? '1' : '0';
            return s;
        };
        // The detail panel stays enabled, so the photo keeps its colours; while browsing its
        // boxes are read-only instead.
        auto *name = qobject_cast<QLineEdit *>(editor.detail()->control("职工姓名"));
        QVERIFY(name);
        // 添加 删除 修改 返回 保存 忽略 ↑ ↓, employee grid, detail panel, 职工编号
        QCOMPARE(states(), QString("11110011110"));
        QVERIFY(name->isReadOnly());
        editor.add();
        QCOMPARE(editor.mode(), Tfrmzglr::Mode::Adding);
        QCOMPARE(states(), QString("00001100011"));
        QVERIFY(!name->isReadOnly());
        editor.cancel();
        QCOMPARE(editor.currentCode(), QString("000100"));
        QCOMPARE(states(), QString("11110011110"));
        QVERIFY(name->isReadOnly());
        editor.edit();
        QCOMPARE(editor.mode(), Tfrmzglr::Mode::Editing);
        QCOMPARE(states(), QString("00001100010"));
        QVERIFY(!name->isReadOnly());
    }

    void emptyDepartmentOffersNoEditOrDelete()
    {
        ProgramFolder folder;
        addEmployee(folder.db(), "000100", "02");
        TestHost host;
        Tfrmzglr editor(host);
        selectDepartment(editor, 0);  // 经理办公室: nobody
        QCOMPARE(employeesListed(editor), QString());
        QVERIFY(!editor.button("修改")->isEnabled());
        QVERIFY(!editor.button("删除")->isEnabled());
        editor.edit();
        QCOMPARE(editor.mode(), Tfrmzglr::Mode::Browse);
        QCOMPARE(editor.detail()->photo()->shownFile(), folder.file("msgbox02.ico"));
    }

    void listsFollowTheCurrentDepartmentRow()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        addEmployee(db, "000102", "02");
        addEmployee(db, "000101", "02");
        addEmployee(db, "000103", "03");
        // 000103 moved to 人事科 later (back-dated, entered last): listed there now.
        sql::exec(db, "insert into dwdtb (职工编码,变动时间,单位编码) values ('000103','2001-01-01','02')");
        TestHost host;
        Tfrmzglr editor(host);
        selectDepartment(editor, 1);
        QCOMPARE(employeesListed(editor), QString("000101 000102 000103"));
        editor.button("employeeDown")->click();
        editor.button("employeeDown")->click();
        editor.button("employeeDown")->click();  // at the end: stays
        QCOMPARE(editor.currentCode(), QString("000103"));
        editor.button("employeeUp")->click();
        QCOMPARE(editor.currentCode(), QString("000102"));
        editor.button("departmentDown")->click();
        QCOMPARE(employeesListed(editor), QString());
    }

    void addingThroughTheScreen()
    {
        ProgramFolder folder;
        QDir(folder.path()).mkpath("picture");
        QImage picture(20, 20, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(folder.file("picture/wang.jpg")));
        QSqlDatabase db = folder.db();
        TestHost host;
        Tfrmzglr editor(host);
        selectDepartment(editor, 0);
        editor.add();
        auto *code = static_cast<QLineEdit *>(editor.detail()->control("职工编码"));
        code->setText("12");
        emit code->editingFinished();
        QCOMPARE(code->text(), QString("000012"));  // normalised on leaving
        const staff::EmployeeRecord r = validEmployee();
        for (const char *key : {"职工姓名", "出生年月", "政治面貌", "入党时间", "文化程度", "入司时间", "zcdtb.类别编码",
                                   "zcdtb.职称编码", "dwdtb.单位编码", "zwdtb.职务编码", "gwjndtb.类别编码", "gwjndtb.档次编码"})
            choose(editor, key, r.value(key));

        // The grade fills its standard salary; a value typed afterwards wins.
        choose(editor, "zwdjdtb.等级编码", "03");
        QCOMPARE(shown(editor, "zwdjdtb.等级工资"), QString("3120.00"));
        choose(editor, "zwdjdtb.等级工资", "3150.25");

        // The title list follows the work type: an engineering title is not an accounting one.
        choose(editor, "zcdtb.类别编码", "02");
        auto *titles = static_cast<QComboBox *>(editor.detail()->control("zcdtb.职称编码"));
        QCOMPARE(titles->count(), 4);
        QCOMPARE(titles->currentIndex(), -1);
        editor.save();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].title, QString("错误提示"));
        QCOMPARE(asked[0].message, QString("技术职称未填写，请重新输入！"));
        QCOMPARE(editor.mode(), Tfrmzglr::Mode::Adding);
        QCOMPARE(queryValue(db, "select count(*) from zghmc").toInt(), 0);
        choose(editor, "zcdtb.职称编码", "07");

        // The photo comes from the picker; only its name is kept.
        QTimer::singleShot(0, [] {
            auto *picker = qobject_cast<Tfrmzpxz *>(QApplication::activeModalWidget());
            QVERIFY(picker);
            picker->okButton()->click();
        });
        QTest::mouseDClick(editor.detail()->photo(), Qt::LeftButton);
        QCOMPARE(editor.detail()->photo()->shownFile(), folder.file("picture/wang.jpg"));
        editor.resume()->setPlainText("简历");

        editor.save();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(editor.mode(), Tfrmzglr::Mode::Browse);
        QCOMPARE(queryValue(db, "select 照片||' '||职工简介||' '||职工姓名 from zghmc where 职工编码='000012'").toString(),
                 QString("wang.jpg 简历 王五"));
        QCOMPARE(queryValue(db, "select 等级工资 from zwdjdtb").toLongLong(), 31502500LL);
        // Listed under the department chosen, not the one selected in the grid.
        QCOMPARE(employeesListed(editor), QString());
        selectDepartment(editor, 1);
        QCOMPARE(employeesListed(editor), QString("000012"));
        QCOMPARE(shown(editor, "zcdtb.职称编码"), QString("07"));

        // The same code again is refused and the screen stays in adding mode.
        editor.add();
        code->setText("000012");
        for (const QString &key : r.values.keys())
            if (key != "职工编码" && key != "照片")
                choose(editor, key, r.value(key));
        editor.save();
        QCOMPARE(asked.last().message, QString("编号重复或空，请重新输入！"));
        QCOMPARE(editor.mode(), Tfrmzglr::Mode::Adding);
        QCOMPARE(queryValue(db, "select count(*) from dwdtb").toInt(), 1);
    }

    void editingMovesTheEntryDate()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        addEmployee(db, "000100", "02");
        TestHost host;
        Tfrmzglr editor(host);
        selectDepartment(editor, 1);
        editor.edit();
        choose(editor, "入司时间", "2004-03-01");
        editor.save();
        QCOMPARE(editor.mode(), Tfrmzglr::Mode::Browse);
        QCOMPARE(joinedColumn(db, "select 变动时间 from dwdtb union all select 变动时间 "
                                  "from zwdtb union all select 变动时间 from zcdtb union all select 变动时间 from gwjndtb "
                                  "union all select 变动时间 from zwdjdtb"),
                 QString("2004-03-01,2004-03-01,2004-03-01,2004-03-01,2004-03-01"));
    }

    void deleteAsksAndObeysTheRules()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        addEmployee(db, "000100", "02");
        addEmployee(db, "000101", "02");
        sql::exec(db, "insert into gzb (年月,职工编码) values ('2023-01-01','000101')");
        TestHost host;
        Tfrmzglr editor(host);
        selectDepartment(editor, 1);

        answer = prompt::Ignore;
        editor.button("删除")->click();
        QCOMPARE(asked.last().title, QString("删除提示"));
        QCOMPARE(asked.last().message, QString("确定要删除本员工信息吗？"));
        QVERIFY(asked.last().withIgnore);
        QCOMPARE(employeesListed(editor), QString("000100 000101"));

        answer = prompt::Ok;
        editor.button("删除")->click();
        QCOMPARE(employeesListed(editor), QString("000101"));

        editor.button("删除")->click();  // has a pay row
        QCOMPARE(asked.last().title, QString("错误信息"));
        QCOMPARE(asked.last().message, QString("由于本员工信息无法删除！"));
        QCOMPARE(employeesListed(editor), QString("000101"));
    }
};

QTEST_MAIN(TestEmployeeEditor)
#include "test_employee_editor.moc"
