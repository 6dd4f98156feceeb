// The edit-screen kit on its own: the mode switch of the bar and its registered widgets, the
// controls and their values, the checks, and row writes that never report a lost row as saved.

#include "app/edit_modes.h"
#include "app/edit_rows.h"
#include "app/field_controls.h"
#include "db/sql.h"
#include "support/test_support.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace edit;

namespace {

// The position code table as a screen would describe it.
const Fields &positionFields()
{
    static const Fields fields = {
        {.label = "职务编码", .table = "zwdmb", .column = "职务编码", .check = Check::NotBlank, .message = "编码空"},
        {.label = "职务名称", .table = "zwdmb", .column = "职务名称"},
        {.label = "职务级别", .table = "zwdmb", .column = "职务级别", .kind = Kind::CodeList,
         .check = Check::Chosen, .message = "级别未选"},
    };
    return fields;
}

}  // namespace

class TestEditKit : public QObject {
    Q_OBJECT
private slots:
    void modeSwitchEnablesBarAndWidgets()
    {
        QWidget screen;
        int added = 0;
        ModeBar bar({{Action::Add, "添加", [&] { ++added; }}, {Action::Modify, "修改"}, {Action::Save, "确定"},
                     {Action::Ignore, "忽略"}, {Action::Delete, "删除"}, {Action::Return, "返回"}},
                    {}, &screen);
        QWidget list(&screen), field(&screen), code(&screen);
        bar.enable(&list, ModeBar::When::Browsing);
        bar.enable(&field, ModeBar::When::Editing);
        bar.enable(&code, ModeBar::When::Adding);
        QList<Mode> switched;
        connect(&bar, &ModeBar::modeChanged, this, [&](Mode m) { switched << m; });
        const auto states = [&] {
            QString s;
            for (Action a : {Action::Add, Action::Modify, Action::Save, Action::Ignore, Action::Delete, Action::Return})
                s += bar.button(a)->isEnabled() ? '1' : '0';
            for (QWidget *w : {&list, &field, &code})
                s += w->isEnabled() ? '1' : '0';
            return s;
        };
        QCOMPARE(bar.button(Action::Save)->text(), "确定");
        bar.button(Action::Add)->click();
        QCOMPARE(added, 1);
        QCOMPARE(states(), "110011100");
        bar.setMode(Mode::Adding);
        QCOMPARE(states(), "001100011");
        bar.setMode(Mode::Editing);
        QCOMPARE(states(), "001100010");
        bar.setMode(Mode::Browse);
        bar.setRowShown(false);  // nothing to modify or delete
        QCOMPARE(states(), "100001100");
        QCOMPARE(switched, (QList<Mode>{Mode::Adding, Mode::Editing, Mode::Browse}));

        ModeBar partial({{Action::Add, "添加"}}, {.columns = 3, .takeFocus = false}, &screen);
        QVERIFY(!partial.button(Action::Delete));
        QCOMPARE(partial.button(Action::Add)->focusPolicy(), Qt::NoFocus);
    }

    void controlsShowAndGiveValues()
    {
        ProgramFolder folder;
        QWidget parent;
        const Field date{.label = "出生日期", .table = "zghmc", .column = "出生年月", .kind = Kind::MaskedDate};
        const Field name{.label = "职工姓名", .table = "zghmc", .column = "职工姓名"};
        const Field sex{.label = "性别", .table = "zghmc", .column = "职工性别", .kind = Kind::PickList,
                        .choices = {"男", "女"}};
        auto *nameBox = qobject_cast<QLineEdit *>(makeControl(name, &parent));
        QCOMPARE(nameBox->objectName(), "职工姓名");
        // The column's width in characters as the database counts them: typed or pasted text
        // is cut at whole characters, never inside a four-byte one.
        const QString smile = QString::fromUtf8("\U0001F600");
        for (const auto &[typed, kept] : std::vector<std::pair<QString, QString>>{
                 {"张" + smile.repeated(9), "张" + smile.repeated(7)}, {"abcdefghij", "abcdefgh"}, {smile + "ab", smile + "ab"}}) {
            nameBox->clear();
            for (const char32_t c : typed.toUcs4())
                QTest::sendKeyEvent(QTest::Click, nameBox, Qt::Key_unknown, QString::fromUcs4(&c, 1), Qt::NoModifier);
            QCOMPARE(nameBox->text(), kept);
            nameBox->clear();
            nameBox->insert(typed);  // as pasted
            QCOMPARE(nameBox->text(), kept);
        }
        QCOMPARE(qobject_cast<QLineEdit *>(makeControl(date, &parent))->inputMask(), "0000-00-00");
        QWidget *sexList = makeControl(sex, &parent);
        setValue(sexList, "女");
        QCOMPARE(valueOf(sexList), "女");
        setValue(sexList, "");
        QCOMPARE(valueOf(sexList), "");

        // A code list shows names and gives codes; the "none" item gives nothing.
        const Field &level = positionFields()[2];
        QCOMPARE(level.listTable(), "zwjbdmb");  // from the column's reference
        auto *levels = qobject_cast<QComboBox *>(makeControl(level, &parent));
        fillCodeList(levels, code_items::codeItems(folder.db(), level.listTable()), Shown::Name, QString());
        QCOMPARE(levels->currentIndex(), 0);
        setValue(levels, "02");
        QCOMPARE(levels->currentText(), queryValue(folder.db(), "select 级别名称 from zwjbdmb where 级别编码='02'").toString());
        QCOMPARE(valueOf(levels), "02");
        setValue(levels, "");
        QCOMPARE(levels->currentIndex(), 0);
        QCOMPARE(valueOf(levels), "");
        fillCodeList(levels, {{"01", "甲"}}, Shown::CodeSpaceName);
        QCOMPARE(levels->itemText(0), "01 甲");
        QCOMPARE(levels->currentIndex(), -1);
    }

    void checksAndStoredValues_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("text keeps blanks") << "text" << " a " << QVariant(" a ");
        QTest::newRow("empty text is null") << "text" << "" << QVariant();
        QTest::newRow("date to ISO") << "date" << "2003-6-1" << QVariant("2003-06-01");
        QTest::newRow("money exact") << "money" << "12.3456" << QVariant(qlonglong(123456));
        QTest::newRow("blank money is null") << "money" << "  " << QVariant();
    }
    void checksAndStoredValues()
    {
        QFETCH(QString, kind);
        QFETCH(QString, shown);
        QFETCH(QVariant, stored);
        const Kind k = kind == "date" ? Kind::Date : kind == "money" ? Kind::Money : Kind::Text;
        const Field f{.label = "x", .table = "t", .column = "c", .kind = k};
        QCOMPARE(storedValue(f, shown), stored);
        if (!stored.isNull())
            QCOMPARE(storedValue(f, shownValue(f, stored)), stored);
    }

    void firstFailingCheckInTheOrderGiven()
    {
        ProgramFolder folder;
        const Fields &fields = positionFields();
        const std::vector<const Field *> order = {&fields[2], &fields[0]};
        QCOMPARE(firstFailure(folder.db(), order, {{"职务级别", "77"}}), "级别未选");
        QCOMPARE(firstFailure(folder.db(), order, {{"职务级别", "01"}}), "编码空");
        QCOMPARE(firstFailure(folder.db(), order, {{"职务级别", "01"}, {"职务编码", "20"}}), "");

        // A filtered list offers only the rows of the other field's value.
        const Field title{.label = "技术职称", .table = "zcdtb", .column = "职称编码", .kind = Kind::CodeList,
                          .filterColumn = "技术分类", .filterField = "zcdtb.类别编码", .check = Check::Chosen,
                          .qualified = true};
        const QString category = queryValue(folder.db(), "select 技术分类 from zcdmb where 职称编码='03'").toString();
        QVERIFY(passes(folder.db(), title, {{"zcdtb.职称编码", "03"}, {"zcdtb.类别编码", category}}));
        QVERIFY(!passes(folder.db(), title, {{"zcdtb.职称编码", "03"}, {"zcdtb.类别编码", "77"}}));
    }

    void rowsReadWrittenAndDeleted()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        const Fields &fields = positionFields();
        saveRow(db, fields, "zwdmb", {{"职务编码", "20"}, {"职务名称", "顾问"}, {"职务级别", "02"}});
        const RowKey key{"职务编码", "20"};
        QCOMPARE(readRow(db, fields, "zwdmb", key), (std::optional<Values>{{{"职务编码", "20"}, {"职务名称", "顾问"},
                                                                             {"职务级别", "02"}}}));
        saveRow(db, fields, "zwdmb", {{"职务编码", "20"}, {"职务名称", "高级顾问"}}, key);
        QCOMPARE(queryValue(db, "select 职务名称||coalesce(职务级别,'-') from zwdmb where 职务编码='20'").toString(),
                 "高级顾问-");

        // A refused write leaves nothing; an update of a row that is gone is a failure.
        QVERIFY_THROWS_EXCEPTION(sql::Failure, saveRow(db, fields, "zwdmb", {{"职务编码", "21"}, {"职务级别", "77"}}));
        QCOMPARE(queryValue(db, "select count(*) from zwdmb where 职务编码='21'").toInt(), 0);
        QVERIFY_THROWS_EXCEPTION(sql::Failure, saveRow(db, fields, "zwdmb", {{"职务名称", "无"}}, {"职务编码", "99"}));

        QCOMPARE(removeRow(db, "zwdmb", key), 1);
        QCOMPARE(readRow(db, fields, "zwdmb", key), std::nullopt);
    }
};

QTEST_MAIN(TestEditKit)
#include "test_edit_kit.moc"
