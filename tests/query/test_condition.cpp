// The combined condition: its clauses, its dialog, and the basic situation query it narrows.

#include "app/grid_export.h"
#include "app/main_window.h"
#include "db/clock.h"
#include "db/sql.h"
#include "query/basic_situation.h"
#include "query/basic_situation_screen.h"
#include "query/condition.h"
#include "query/condition_dialog.h"
#include "query/condition_list.h"
#include "query/query_screens.h"
#include "reports/print_preview.h"
#include "support/document_texts.h"
#include "support/test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTest>
#include <QTimer>

using namespace query;

namespace {

// Four employees with complete current rows; 000004's name is hostile.
void fillRegister(const QSqlDatabase &db)
{
    for (const char *s : {
             "insert into zghmc (职工编码,职工姓名,职工性别,出生年月,民族编码,文化程度,政治面貌,入司时间) values "
             "('000001','张三','男','1980-05-01','00','03','01','2000-01-01'),"
             "('000002','张三丰','男','1990-05-01','00','05','00','2010-01-01'),"
             "('000003','李四','女','1970-05-01','01','02','02','1995-01-01'),"
             "('000004','O''B_5%','女','1985-01-01','00','04','00','2005-01-01')",
             "insert into dwdtb (职工编码,变动时间,单位编码) values ('000001','2000-01-01','01'),"
             "('000002','2010-01-01','02'),('000003','1995-01-01','01'),('000004','2005-01-01','03')",
             "insert into zwdtb (职工编码,变动时间,职务编码) values ('000001','2000-01-01','04'),"
             "('000002','2010-01-01','10'),('000003','1995-01-01','01'),('000004','2005-01-01','09')",
             "insert into zcdtb (职工编码,变动时间,职称编码,类别编码) values ('000001','2000-01-01','03','01'),"
             "('000002','2010-01-01','00','00'),('000003','1995-01-01','02','01'),('000004','2005-01-01','00','00')",
             "insert into gwjndtb (职工编码,变动时间,档次编码,类别编码) values ('000001','2000-01-01','02','01'),"
             "('000002','2010-01-01','05','03'),('000003','1995-01-01','01','01'),('000004','2005-01-01','06','04')"}) {
        sql::exec(db, QString::fromUtf8(s));
    }
}

QStringList codesFor(const QSqlDatabase &db, const Choices &choices)
{
    QSqlQuery q = basicSituationQuery(db, build(choices));
    QStringList codes;
    while (q.next())
        codes << q.value("职工编码").toString();
    codes.sort();
    return codes;
}

}  // namespace

class TestCondition : public QObject {
    Q_OBJECT
private slots:
    void init() { clock_source::setToday(QDate(2020, 6, 1)); }
    void cleanup() { clock_source::setToday({}); }

    void clauses_data()
    {
        QTest::addColumn<Choices>("choices");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariantMap>("values");
        QTest::addColumn<QString>("words");
        const auto row = [](const char *name, Choices c, const char *text, QVariantMap v, const char *words) {
            QTest::newRow(name) << c << QString(text) << v << QString(words);
        };
        row("nothing", {}, "", {}, "");
        row("name equal", {.name = "张"}, " and zghmc.职工姓名=:zgcx_name", {{":zgcx_name", "张"}}, "职工姓名：张");
        row("name begins", {.name = "张", .nameMatch = NameMatch::Prefix},
            " and zghmc.职工姓名 like :zgcx_name escape '\\'", {{":zgcx_name", "张%"}}, "职工姓名：以“张”开头");
        row("blank name", {.name = "  "}, "", {}, "");
        row("age from and to", {.ageFrom = 30, .ageTo = 40},
            " and datediff('YYYY',zghmc.出生年月,date())>=:zgcx_age_from and datediff('YYYY',zghmc.出生年月,date())<=:zgcx_age_to",
            {{":zgcx_age_from", 30}, {":zgcx_age_to", 40}}, "职工年龄：30至40");
        row("age to only", {.ageTo = 40}, " and datediff('YYYY',zghmc.出生年月,date())<=:zgcx_age_to", {{":zgcx_age_to", 40}},
            "职工年龄：40以下");
        row("service from", {.serviceFrom = 5}, " and datediff('YYYY',zghmc.入司时间,date())>=:zgcx_service_from",
            {{":zgcx_service_from", 5}}, "职工工龄：5以上");
        row("education and above", {.education = "03", .educationComparison = Comparison::AtOrAbove},
            " and zghmc.文化程度<=:zgcx_education", {{":zgcx_education", "03"}}, "文化程度：03 本科生及以上");
        row("position level and below", {.positionLevel = "07", .positionLevelComparison = Comparison::AtOrBelow},
            " and zwdmb.职务级别>=:zgcx_position_level", {{":zgcx_position_level", "07"}}, "职务级别：07 级别及以下");
        row("cadres alone", {.staff = StaffKind::Cadre}, " and zcdtb.职称编码<>'00'", {}, "干部");
        row("post category needs ordinary staff", {.postCategory = "03"}, "", {}, "");
        row("ordinary staff with post category", {.staff = StaffKind::Ordinary, .postCategory = "03"},
            " and zcdtb.职称编码='00' and gwjndtb.类别编码=:zgcx_post", {{":zgcx_post", "03"}}, "普通职工；岗位类别：03 类别");
        row("order of clauses", {.department = "01", .party = "01", .staff = StaffKind::Cadre, .skillGrade = "02"},
            " and dwdtb.单位编码=:zgcx_department and zghmc.政治面貌=:zgcx_party and zcdtb.职称编码<>'00'"
            " and gwjndtb.档次编码=:zgcx_skill",
            {{":zgcx_department", "01"}, {":zgcx_party", "01"}, {":zgcx_skill", "02"}},
            "部门名称：01 部门；政治面貌：01 党派；干部；岗位技能：02 档次");
    }
    void clauses()
    {
        QFETCH(Choices, choices);
        QFETCH(QString, text);
        QFETCH(QVariantMap, values);
        QFETCH(QString, words);
        // The words name each code as the dialog's list shows it.
        const QMap<QString, QString> shown = {{"文化程度", "本科生"}, {"职务级别", "级别"}, {"岗位类别", "类别"},
                                              {"部门名称", "部门"}, {"政治面貌", "党派"}, {"岗位技能", "档次"}};
        const Condition c = build(choices, [&](const QString &label, const QString &code) { return code + ' ' + shown.value(label); });
        QCOMPARE(c.text, text);
        QCOMPARE(c.values, values);
        QCOMPARE(c.description, words);
    }

    void narrowsTheList_data()
    {
        QTest::addColumn<Choices>("choices");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("everyone") << Choices{} << QStringList{"000001", "000002", "000003", "000004"};
        QTest::newRow("exactly 张") << Choices{.name = "张"} << QStringList{};
        QTest::newRow("beginning with 张") << Choices{.name = "张", .nameMatch = NameMatch::Prefix} << QStringList{"000001", "000002"};
        QTest::newRow("blanks around a name are not part of it") << Choices{.name = " 张 ", .nameMatch = NameMatch::Prefix} << QStringList{"000001", "000002"};
        QTest::newRow("quote, percent, underscore literally") << Choices{.name = "O'B_5%"} << QStringList{"000004"};
        QTest::newRow("percent is no wildcard") << Choices{.name = "%", .nameMatch = NameMatch::Prefix} << QStringList{};
        QTest::newRow("underscore is no wildcard") << Choices{.name = "张_", .nameMatch = NameMatch::Prefix} << QStringList{};
        QTest::newRow("age 30 to 40 from today") << Choices{.ageFrom = 30, .ageTo = 40} << QStringList{"000001", "000002", "000004"};
        QTest::newRow("cadres") << Choices{.staff = StaffKind::Cadre} << QStringList{"000001", "000003"};
        QTest::newRow("college and above") << Choices{.education = "04", .educationComparison = Comparison::AtOrAbove}
                                           << QStringList{"000001", "000003", "000004"};
        QTest::newRow("ordinary staff in 技能岗位") << Choices{.staff = StaffKind::Ordinary, .postCategory = "03"} << QStringList{"000002"};
    }
    void narrowsTheList()
    {
        QFETCH(Choices, choices);
        QFETCH(QStringList, codes);
        ProgramFolder folder;
        fillRegister(folder.db());
        QCOMPARE(codesFor(folder.db(), choices), codes);
    }

    void dialogClearsCadreListsForOrdinaryStaff()
    {
        ProgramFolder folder;
        Tfrmzgcx dialog(folder.db(), nullptr);
        QCOMPARE(dialog.list("文化程度")->itemText(0), "-- 无条件 --");
        QCOMPARE(dialog.list("文化程度")->itemText(1), "01 博士生");
        const QStringList cadreLists = {"岗位技能", "职务级别", "技术分类", "职称级别"};
        for (const QString &name : cadreLists)
            dialog.list(name)->setCurrentIndex(2);
        dialog.option("干部或普通员工", "普通职工")->click();
        for (const QString &name : cadreLists) {
            QVERIFY(!dialog.list(name)->isEnabled());
            QCOMPARE(dialog.list(name)->currentIndex(), 0);
        }
        dialog.option("干部或普通员工", "全部")->click();
        for (const QString &name : cadreLists) {
            QVERIFY(dialog.list(name)->isEnabled());
            QCOMPARE(dialog.list(name)->currentIndex(), 0);
        }
        QTest::keyClicks(dialog.box("职工年龄从"), "3x");  // whole numbers only
        QCOMPARE(dialog.box("职工年龄从")->text(), "3");
        dialog.box("职工姓名")->setText("张");
        dialog.list("部门名称")->setCurrentIndex(1);
        dialog.search();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialog.condition().text.contains("dwdtb.单位编码"));
        dialog.clear();
        QVERIFY(dialog.box("职工姓名")->text().isEmpty());
        QCOMPARE(dialog.list("部门名称")->currentIndex(), 0);
    }

    void screenSearchesFromTheBaseAndKeepsItsListOnCancel()
    {
        ProgramFolder folder;
        fillRegister(folder.db());
        ScreenRegistry registry;
        registerQueryScreens(registry);
        TfrmMain window(registry);
        window.show();
        auto *screen = qobject_cast<Tfrmzgjbqkcx *>(window.openScreen("Tfrmzgjbqkcx"));
        QVERIFY(screen);
        QCOMPARE(screen->model()->rowCount(), 4);
        QCOMPARE(screen->model()->headerData(7, Qt::Horizontal).toString(), "现任职务");

        screen->showList(build({.party = "02"}));
        QCOMPARE(screen->model()->rowCount(), 1);
        screen->showList(build({.staff = StaffKind::Cadre}));  // not narrowed further by the party
        QCOMPARE(screen->model()->rowCount(), 2);

        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<Tfrmzgcx *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->box("职工姓名")->setText("李四");
            for (QPushButton *b : dialog->findChildren<QPushButton *>())
                if (b->text() == "返回")
                    b->click();
        });
        screen->askCondition();
        QCOMPARE(screen->model()->rowCount(), 2);
    }

    void printedRosterTakesTheTypedTitle_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("typed") << "在职人员花名册";
        QTest::newRow("empty") << "";
    }
    void printedRosterTakesTheTypedTitle()
    {
        QFETCH(QString, title);
        ProgramFolder folder;
        fillRegister(folder.db());
        ScreenRegistry registry;
        registerQueryScreens(registry);
        TfrmMain window(registry);
        auto *screen = qobject_cast<Tfrmzgjbqkcx *>(window.openScreen("Tfrmzgjbqkcx"));
        screen->showList(build({.staff = StaffKind::Cadre}));
        screen->rosterTitle()->setText(title);
        // The workbook and the printout name the condition.
        QCOMPARE(grid_export::titleOf(*screen->findChild<ConditionList *>()), "职工基本情况查询 查询条件：干部");
        QList<report::Document> printed;
        {
            const ScopedHook<report::PreviewObserver, &report::setPreviewObserver> previewing(
                [&](const report::Document &d) { printed << d; });
            screen->button("打印花名册")->click();
        }
        QCOMPARE(printed.size(), 1);
        QStringList titles, names;
        for (const report::Text &t : printed.first().pages.front().texts) {
            if (t.role == report::FontRole::Title)
                titles << t.text;
            if (t.text == "张三" || t.text == "李四" || t.text == "张三丰")
                names << t.text;
        }
        QCOMPARE(titles, title.isEmpty() ? QStringList{} : QStringList{title});
        QVERIFY(documentTexts(printed.first()).join('\n').contains("查询条件：干部"));
        names.sort();
        QCOMPARE(names, QStringList({"张三", "李四"}));  // the rows now listed, not the whole register
    }
};

QTEST_MAIN(TestCondition)
#include "test_condition.moc"
