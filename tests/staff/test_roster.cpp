// The rosters: who each one lists under every filter, the printed roster's columns, the
// screen's hand-offs, and a printed roster written by wenpad-admin and read back.

#include "app/main_window.h"
#include "app/prompt.h"
#include "app/striped_grid.h"
#include "db/database.h"
#include "db/sql.h"
#include "db/windowed_rows.h"
#include "demo/demo_organisation.h"
#include "reference/roster_plain.h"
#include "reports/print_preview.h"
#include "staff/roster_report.h"
#include "staff/roster_screen.h"
#include "staff/roster_screens.h"
#include "support/test_support.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using roster::LevelRange;

Q_DECLARE_METATYPE(roster::LevelRange)

namespace {

// Title levels: 000002 "01", 000001 "02", 000005 "03", 000003 "05", 000008 "00" (an extra level).
// Position levels: 000002 "07", 000001 "09", 000005 "11", 000003 "12", 000008 "09", 000009 "09".
// 000004's title is "00" (in no roster); 000009's title category is "00" (not a technical
// cadre, but a cadre of the other two); 000006 has no position row, 000007 no nation: nowhere.
// 000002 moved from department 01 to 02; 000005 had title "00" before "07".
void fillRegister(const QSqlDatabase &db)
{
    for (const char *s : {
             "insert into zcjbdmb values ('00','特级')",
             "insert into zcdmb values ('20','特聘专家','00','01')",
             "insert into zghmc (职工编码,职工姓名,职工性别,出生年月,籍贯,民族编码,文化程度,毕业学校,所学专业,政治面貌) values "
             "('000001','甲一','男','1960-03-15','湖北武汉','00','03','武汉大学','机械制造','01'),"
             "('000002','乙二','女','1970-05-12','新疆喀什','04','02','哈尔滨工业大学威海分校','机械设计制造及其自动化','02'),"
             "('000003','丙三','男','1980-01-01','山东青岛','00','04','青岛大学','会计','01'),"
             "('000004','丁四','男','1975-01-01','河北','00','03','河北大学','会计','01'),"
             "('000005','戊五','女','1965-07-07','广东','00','03','中山大学','会计','03'),"
             "('000006','己六','男','1966-01-01','广西','00','03','广西大学','会计','01'),"
             "('000007','庚七','男','1967-01-01','云南',NULL,'03','云南大学','会计','01'),"
             "('000008','辛八','男','1955-01-01','北京','00','01','北京大学','物理','01'),"
             "('000009','壬九','女','1969-01-01','天津','00','03','南开大学','会计','01')",
             "insert into dwdtb (职工编码,变动时间,单位编码) values "
             "('000001','1990-01-01','01'),('000002','1990-01-01','01'),('000002','2000-01-01','02'),"
             "('000003','1990-01-01','01'),('000004','1990-01-01','01'),('000005','1990-01-01','03'),"
             "('000006','1990-01-01','01'),('000007','1990-01-01','01'),('000008','1990-01-01','04'),"
             "('000009','1990-01-01','01')",
             "insert into zwdtb (职工编码,变动时间,职务编码) values "
             "('000001','1995-01-01','04'),('000002','1996-01-01','01'),('000003','1997-01-01','10'),"
             "('000004','1995-01-01','04'),('000005','1998-01-01','09'),('000007','1995-01-01','04'),"
             "('000008','1995-01-01','04'),('000009','1995-01-01','06')",
             "insert into zcdtb (职工编码,变动时间,职称编码,类别编码) values "
             "('000001','1999-01-01','02','01'),('000002','1999-01-01','01','01'),('000003','1999-01-01','05','01'),"
             "('000004','1999-01-01','00','00'),('000005','1990-01-01','00','00'),('000005','1999-01-01','07','02'),"
             "('000006','1999-01-01','02','01'),('000007','1999-01-01','02','01'),('000008','1999-01-01','20','01'),"
             "('000009','1999-01-01','03','00')"}) {
        sql::exec(db, QString::fromUtf8(s));
    }
}

QStringList codesOf(const QList<QVariantList> &rows)
{
    QStringList codes;
    for (const QVariantList &r : rows)
        codes << r.at(roster::Code).toString();
    codes.sort();
    return codes;
}

QStringList codesOf(const WindowedRows *model)
{
    QStringList codes;
    for (int r = 0; r < model->rowCount(); ++r)
        codes << model->value(r, roster::Code).toString();
    codes.sort();
    return codes;
}

QStringList read(const QString &screenClass, const roster::Filter &filter)
{
    return codesOf(roster::read(database::shared(), *roster::findMember(screenClass), filter));
}

// Every level, every department and category, party members of the communist party.
roster::Filter widest()
{
    roster::Filter f;
    f.range = LevelRange::Below;
    f.level = "00";
    f.party = "01";
    return f;
}

std::vector<QString> texts(const report::Page &page, report::FontRole role)
{
    std::vector<QString> found;
    for (const report::Text &t : page.texts)
        if (t.role == role)
            found.push_back(t.text);
    return found;
}

}  // namespace

class TestRoster : public QObject {
    Q_OBJECT

private slots:
    void levelRanges_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<LevelRange>("range");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QStringList>("expected");

        const QString gb = "Tfrmgbxx", kj = "Tfrmkjgbxx";
        QTest::newRow("title 以上 first level: it and 00") << gb << LevelRange::Above << "01" << QStringList{"000002", "000008"};
        QTest::newRow("title 以上 last level: all") << gb << LevelRange::Above << "05"
                                                   << QStringList{"000001", "000002", "000003", "000005", "000008"};
        QTest::newRow("title 等于") << gb << LevelRange::Equal << "03" << QStringList{"000005"};
        QTest::newRow("title 等于 00") << gb << LevelRange::Equal << "00" << QStringList{"000008"};
        QTest::newRow("title 等于 nobody") << gb << LevelRange::Equal << "04" << QStringList{};
        QTest::newRow("title 以下 first level: all but 00") << gb << LevelRange::Below << "01"
                                                          << QStringList{"000001", "000002", "000003", "000005"};
        QTest::newRow("title 以下 last level") << gb << LevelRange::Below << "05" << QStringList{"000003"};
        QTest::newRow("position 以上 07") << kj << LevelRange::Above << "07" << QStringList{"000002"};
        QTest::newRow("position 以上 last level: all") << kj << LevelRange::Above << "99"
                                                      << QStringList{"000001", "000002", "000003", "000005", "000008", "000009"};
        QTest::newRow("position 等于 09") << kj << LevelRange::Equal << "09" << QStringList{"000001", "000008", "000009"};
        QTest::newRow("position 以下 11") << kj << LevelRange::Below << "11" << QStringList{"000003", "000005"};
    }

    // Also the group conditions: 000004 (title "00") is in neither roster, 000009 (category
    // "00") only in the position-level one; 000006 and 000007 lack a row or code: nowhere.
    void levelRanges()
    {
        QFETCH(QString, screen);
        QFETCH(LevelRange, range);
        QFETCH(QString, level);
        QFETCH(QStringList, expected);
        ProgramFolder folder;
        fillRegister(folder.db());
        roster::Filter f;
        f.range = range;
        f.level = level;
        QCOMPARE(read(screen, f), expected);
    }

    // On a generated organisation every roster under every kind of filter lists exactly the
    // rows of the plain statement, in code order, and the windowed list shows the same rows.
    void filterFirstReadingMatchesThePlainStatement()
    {
        ProgramFolder folder;
        demo::generate(folder.db(), {.employees = 1500, .seed = 7});
        const QSqlDatabase db = folder.db();
        int nonEmpty = 0;
        for (const roster::Member &member : roster::members()) {
            const QList<code_items::Item> levels = roster::levelItems(db, member);
            const QString first = levels.first().code, middle = levels.at(levels.size() / 2).code,
                          last = levels.last().code;
            struct Case {
                const char *name;
                roster::Filter filter;
            };
            const std::vector<Case> cases = {
                {"以上 first level", {.level = first, .range = LevelRange::Above, .party = "01"}},
                {"以上 last level", {.level = last, .range = LevelRange::Above, .party = "01"}},
                {"等于 middle level", {.level = middle, .range = LevelRange::Equal, .party = "02"}},
                {"以下 middle level", {.level = middle, .range = LevelRange::Below, .party = "01"}},
                {"one department", {.department = "03", .level = last, .range = LevelRange::Above, .party = "01"}},
                {"department and level",
                 {.department = "02", .level = middle, .range = LevelRange::Below, .category = "01", .party = "03"}},
                {"one category", {.level = "00", .range = LevelRange::Below, .category = "02", .party = "01"}},
            };
            for (const Case &c : cases) {
                const QString tag = member.screenClass + ' ' + c.name;
                const QList<QVariantList> expected = reference::plainRoster(db, member, c.filter);
                QVERIFY2(roster::read(db, member, c.filter) == expected, qPrintable(tag));
                nonEmpty += expected.isEmpty() ? 0 : 1;
                WindowedRows model;
                model.open(db, roster::listing(db, member, c.filter));
                QVERIFY2(model.rowCount() == expected.size(), qPrintable(tag));
                for (int r : {0, int(expected.size()) / 2, int(expected.size()) - 1})
                    if (r >= 0 && r < expected.size())
                        QVERIFY2(model.value(r, roster::Code) == expected.at(r).at(roster::Code), qPrintable(tag));
            }
        }
        QVERIFY(nonEmpty >= 15);  // the cases do list people
    }

    void departmentsCategoriesAndParties()
    {
        ProgramFolder folder;
        fillRegister(folder.db());
        roster::Filter f = widest();
        f.department = "01";
        // 000002 was in 01 before moving to 02: only the current department counts.
        QCOMPARE(read("Tfrmkjgbxx", f), QStringList({"000001", "000003", "000009"}));
        f.department = "02";
        QCOMPARE(read("Tfrmkjgbxx", f), QStringList({"000002"}));

        f = widest();
        f.category = "02";
        QCOMPARE(read("Tfrmgbxx", f), QStringList({"000005"}));  // current title 07, category 02

        f = widest();
        QCOMPARE(read("Tfrmdyxx", f), QStringList({"000001", "000003", "000008", "000009"}));
        f.party = "03";
        QCOMPARE(read("Tfrmdyxx", f), QStringList({"000005"}));

        // A department code holding a LIKE wildcard matches only itself.
        sql::exec(folder.db(), QString::fromUtf8("insert into dwdmb values ('0_','通配部门')"));
        f = widest();
        f.department = "0_";
        QCOMPARE(read("Tfrmkjgbxx", f), QStringList());

        const roster::Member &kj = *roster::findMember("Tfrmkjgbxx");
        QCOMPARE(roster::levelItems(folder.db(), kj).last().code, QString("99"));
        QCOMPARE(roster::partyItems(folder.db()).value(1).name, QString("共产党员"));
        for (const code_items::Item &category : roster::categoryItems(folder.db()))
            QVERIFY(category.code != "00");
    }

    void printedForms_data()
    {
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("汉族") << roster::shortNation("汉族") << "汉族";
        QTest::newRow("维吾尔族") << roster::shortNation("维吾尔族") << "维族";
        QTest::newRow("birth month") << roster::yearAndMonth("1970-05-12") << "1970-05";
        QTest::newRow("school: six characters") << roster::cutToGb2312Bytes("哈尔滨工业大学威海分校", 12) << "哈尔滨工业大";
        QTest::newRow("school: never half a character") << roster::cutToGb2312Bytes("A清华大学计算机", 12) << "A清华大学计";
        QTest::newRow("school: ASCII is one byte") << roster::cutToGb2312Bytes("AB清华大学计算机", 12) << "AB清华大学计";
        QTest::newRow("school: short stays") << roster::cutToGb2312Bytes("MIT", 12) << "MIT";
        QTest::newRow("speciality: seven characters") << roster::cutToGb2312Bytes("机械设计制造及其自动化", 14) << "机械设计制造及";
        QTest::newRow("party title") << roster::printedTitle(*roster::findMember("Tfrmdyxx"), "01共产党员") << "共产党员花名册";
        QTest::newRow("cadre title") << roster::printedTitle(*roster::findMember("Tfrmkjgbxx"), {}) << "专业技术干部基本情况表";
    }

    void printedForms()
    {
        QFETCH(QString, printed);
        QFETCH(QString, expected);
        QCOMPARE(printed, expected);
    }

    // Title and seventeen headings on every page, running numbers from 1, transformed cells.
    void printedRosterPages()
    {
        ProgramFolder folder;
        fillRegister(folder.db());
        QList<QVariantList> rows = roster::read(folder.db(), *roster::findMember("Tfrmgbxx"), widest());
        while (rows.size() < 60)
            rows += rows;
        const report::Document doc = roster::layoutRoster("Trepgbxx", "专业技术干部基本情况表", rows);
        QCOMPARE(doc.orientation, QPageLayout::Landscape);
        QVERIFY(doc.pages.size() >= 3);
        QStringList numbers;
        for (const report::Page &page : doc.pages) {
            QCOMPARE(texts(page, report::FontRole::Title), std::vector<QString>{"专业技术干部基本情况表"});
            const std::vector<QString> headings = texts(page, report::FontRole::Heading);
            QVERIFY(std::find(headings.begin(), headings.end(), "序 号") != headings.end());
            QVERIFY(std::find(headings.begin(), headings.end(), "备注") != headings.end());
            QVERIFY(std::find(headings.begin(), headings.end(), "入党（团）") != headings.end());  // broken in two
            for (const report::Text &t : page.texts)
                if (t.role == report::FontRole::Body && t.align == report::Align::Centre && !t.text.contains('-')
                    && t.text.toInt() > 0)
                    numbers << t.text;
        }
        QCOMPARE(numbers.size(), rows.size());
        QCOMPARE(numbers.first(), "1");
        QCOMPARE(numbers.last(), QString::number(rows.size()));
    }

    // wenpad-admin writes a roster PDF; pdftotext reads the Chinese back.
    void adminWritesRosterPdf()
    {
        ProgramFolder folder;
        fillRegister(folder.db());
        const QString pdf = folder.file("roster.pdf");
        const AdminRun run = runAdmin({"roster", "Tfrmgbxx", "--db", folder.address(), "--pdf", pdf, "--level", "05"});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QString out = pdfText(pdf);
        for (const char *expected : {"专业技术干部基本情况表", "入司时间", "专业技", "乙二", "维族", "1970-05",
                                     "哈尔滨工业大", "机械设计制造及", "教授级高级工程师"})
            QVERIFY2(out.contains(QString::fromUtf8(expected)), expected);
        QVERIFY(!out.contains("哈尔滨工业大学"));
        QVERIFY(!out.contains("壬九"));  // category "00"

        QCOMPARE(runAdmin({"roster", "Tfrmgbxx", "--db", folder.file("none.db"), "--pdf", pdf}).status, 1);
        QVERIFY(!QFile::exists(folder.file("none.db")));  // a mistyped path creates nothing
        QCOMPARE(runAdmin({"roster", "Tfrmgbxx", "--db", folder.address(), "--pdf", pdf, "--range", "高于"}).status, 2);
        QCOMPARE(runAdmin({"roster", "Tfrmdyxx", "--db", folder.address(), "--pdf", pdf, "--party", "00"}).status, 1);
    }

    // Where the screen, the printed roster and the benchmarks start when the party list is short:
    // its only party, or none.
    void openingFilterWithFewParties()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        const roster::Member &party = *roster::findMember("Tfrmdyxx");
        QCOMPARE(roster::openingFilter(db, party).party, roster::partyItems(db).at(1).code);
        QVERIFY(roster::openingFilter(db, *roster::findMember("Tfrmkjgbxx")).party.isEmpty());
        sql::exec(db, "delete from dpdmb where 党派编码<>'01'");
        QCOMPARE(roster::openingFilter(db, party).party, "01");
        sql::exec(db, "delete from dpdmb");
        QVERIFY(roster::openingFilter(db, party).party.isEmpty());
    }

    // The screen: its starting filters, re-reading on every change, the arrows, the sheet
    // hand-off, the empty roster's prompt, and printing.
    void screen()
    {
        ProgramFolder folder;
        fillRegister(folder.db());
        ScreenRegistry registry;
        registerRosterScreens(registry);
        QStringList opened;
        registry.addWindow("Tfrmgrxxzl", [&opened](ScreenHost &, const QString &code) {
            opened << code;
            return nullptr;
        });
        QList<prompt::Call> prompts;
        const prompt::ScopedAnswerer answering([&prompts](const prompt::Call &c) {
            prompts << c;
            return prompt::Ok;
        });
        QList<report::Document> printed;
        const ScopedHook<report::PreviewObserver, &report::setPreviewObserver> previewing(
            [&printed](const report::Document &d) { printed << d; });

        TfrmMain window(registry);
        window.resize(1300, 800);
        window.show();

        auto *party = qobject_cast<RosterScreen *>(window.openScreen("Tfrmdyxx"));
        QVERIFY(party);
        QCOMPARE(party->departmentList()->currentItem()->text(1), "全部");
        QCOMPARE(party->levelBox()->currentText(), "99无级别");
        QVERIFY(party->rangeButton(LevelRange::Above)->isChecked());
        QCOMPARE(party->partyBox()->currentText(), "01共产党员");
        QCOMPARE(codesOf(party->rows()), QStringList({"000001", "000003", "000008", "000009"}));
        QCOMPARE(party->grid()->currentIndex().row(), 0);

        party->rangeButton(LevelRange::Equal)->click();  // 等于 99: nobody
        QCOMPARE(party->rows()->rowCount(), 0);
        party->showDetails();
        QCOMPARE(prompts.size(), 1);
        QCOMPARE(prompts.first().message, "花名册中没有职工，无法显示详细信息。");
        QVERIFY(opened.isEmpty());
        party->rangeButton(LevelRange::Above)->click();

        // "全部" shows no code of its own (no "%").
        QCOMPARE(party->departmentList()->topLevelItem(0)->text(0), QString());
        QCOMPARE(party->departmentList()->topLevelItem(0)->text(1), "全部");
        party->downButton()->click();  // from 全部 to the first department
        QCOMPARE(party->departmentList()->currentItem()->text(0), "01");
        QCOMPARE(codesOf(party->rows()), QStringList({"000001", "000003", "000009"}));
        party->upButton()->click();  // never back to 全部
        QCOMPARE(party->departmentList()->currentItem()->text(0), "01");
        const int last = party->departmentList()->topLevelItemCount() - 1;
        party->departmentList()->setCurrentItem(party->departmentList()->topLevelItem(last));
        party->downButton()->click();
        QCOMPARE(party->departmentList()->indexOfTopLevelItem(party->departmentList()->currentItem()), last);
        party->departmentList()->setCurrentItem(party->departmentList()->topLevelItem(0));

        party->grid()->selectRow(1);
        party->showDetails();
        QCOMPARE(opened, QStringList{party->rows()->value(1, roster::Code).toString()});

        party->printRoster();
        party->printRoster();
        QCOMPARE(printed.size(), 2);
        for (const report::Document &d : printed) {
            QCOMPARE(d.name, "Trepdyxx");
            const report::Page page = d.pages.front();
            QCOMPARE(texts(page, report::FontRole::Title), std::vector<QString>{"共产党员花名册"});
            const auto first = std::find_if(page.texts.begin(), page.texts.end(),
                                            [](const report::Text &t) { return t.role == report::FontRole::Body; });
            QCOMPARE(first->text, "1");  // the running number starts again at each build
        }
        party->partyBox()->setCurrentIndex(0);  // "00其他" prints nothing
        QCOMPARE(party->partyBox()->currentText(), "00其他");
        party->printRoster();
        QCOMPARE(printed.size(), 2);
        party->close();

        auto *technical = qobject_cast<RosterScreen *>(window.openScreen("Tfrmgbxx"));
        QVERIFY(technical);
        QCOMPARE(technical->levelBox()->currentText(), "00特级");
        QCOMPARE(technical->categoryBox()->currentText(), "所有类别");
        QVERIFY(!technical->partyBox());
        QCOMPARE(codesOf(technical->rows()), QStringList({"000008"}));
        technical->levelBox()->setCurrentIndex(technical->levelBox()->count() - 1);
        technical->categoryBox()->setCurrentIndex(technical->categoryBox()->findText("02会计"));
        QCOMPARE(codesOf(technical->rows()), QStringList({"000005"}));
        technical->close();

        auto *section = qobject_cast<RosterScreen *>(window.openScreen("Tfrmkjgbxx"));
        QVERIFY(section);
        QVERIFY(!section->upButton() && !section->categoryBox() && !section->partyBox());
        section->close();
    }
};

QTEST_MAIN(TestRoster)
#include "test_roster.moc"
