// The cadre résumé as a person works it: who is listed, the first "编辑" and "确定" writing one
// row of each, "忽略" keeping the list rows already written, a refused write leaving neither
// row, deletions confirmed, and the printed résumé holding every page.

#include "app/file_choice.h"
#include "app/notify.h"
#include "app/prompt.h"
#include "db/database.h"
#include "db/dialect.h"
#include "records/employee_search.h"
#include "records/employee_search_panel.h"
#include "reports/print_preview.h"
#include "reports/render.h"
#include "staff/cadre_resume_screen.h"
#include "staff/employee_fixture.h"
#include "staff/resume_grid.h"
#include "staff/resume_report.h"
#include "support/engine_sql.h"
#include "support/test_support.h"

#include <QComboBox>
#include <QDir>
#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTest>

using edit::Action;
namespace resume = staff::resume;

namespace {

QStringList cadreCodes(const QSqlDatabase &db, const records::EmployeeSearch &search = {})
{
    QSqlQuery q = records::searchEmployees(db, records::ListBase::TechnicalCadres, search);
    QStringList codes;
    while (q.next())
        codes << q.value(0).toString();
    return codes;
}

int count(const QSqlDatabase &db, const QString &table)
{
    return queryValue(db, QString("select count(*) from %1 where 职工编码='000101'").arg(table)).toInt();
}

// Types a value into a list's cell, as the cell editor would hand it over.
void typeCell(ResumeGrid *grid, int row, int column, const QString &text)
{
    grid->setCurrentIndex(grid->model()->index(row, column));
    QVERIFY(grid->model()->setData(grid->model()->index(row, column), text, Qt::EditRole));
}

// Every text of the page's answers and lists, as the screen is given them.
void fillEverything(Tfrmgbllbj *screen)
{
    for (const resume::Page &page : resume::pages())
        for (const resume::Block &b : page.blocks) {
            if (b.kind == resume::Block::Kind::Text)
                static_cast<QPlainTextEdit *>(screen->answerBox(b.column))->setPlainText("答" + b.column);
            if (b.kind == resume::Block::Kind::Grid)
                for (size_t c = 0; c < b.grid->columns.size(); ++c)
                    typeCell(screen->grid(b.grid->table), 0, int(c), b.grid->table + b.grid->columns[c].column);
        }
    for (const resume::LabelledValue &f : resume::spouseFields()) {
        QWidget *box = screen->spouseBox(f.column);
        if (auto *list = qobject_cast<QComboBox *>(box))
            list->setCurrentText(f.offered.first());
        else
            static_cast<QLineEdit *>(box)->setText("配" + f.column);
    }
}

const QString kTwoFamilyRows =
    "insert into jtcyb (职工编码,关系,姓名) values ('000101','父亲','王大'), ('000101','母亲','刘英')";

// Cadre 000101 on the résumé screen, in editing, once `statements` have run on a fresh database.
struct EditingCadre {
    explicit EditingCadre(const QStringList &statements)
    {
        addEmployee(db, "000101", "02");
        for (const QString &s : statements)
            sql::exec(db, s);
        screen = new Tfrmgbllbj(host);
        screen->edit();
    }
    ~EditingCadre() { delete screen; }

    ProgramFolder folder;
    QSqlDatabase db = folder.db();
    TestHost host;
    Tfrmgbllbj *screen = nullptr;
};

}  // namespace

class TestCadreResume : public QObject {
    Q_OBJECT

    QList<prompt::Call> asked;
    int answer = prompt::Ok;
    prompt::ScopedAnswerer answering{[this](const prompt::Call &call) {
        asked << call;
        return answer;
    }};

private slots:
    void init()
    {
        asked.clear();
        answer = prompt::Ok;
    }

    // Listed: a current title of a category other than "00" and a current department and
    // position; an earlier title does not count, a blank nation does not hide anyone.
    void cadreListMembership()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        addEmployee(db, "000101", "02");
        addEmployee(db, "000102", "03");
        addEmployee(db, "001103", "02");
        addEmployee(db, "000104", "02");
        sql::exec(db, "insert into zcdtb (职工编码,变动时间,职称编码,类别编码) values ('000102','2010-01-01','00','00')");
        sql::exec(db, "insert into zcdtb (职工编码,变动时间,职称编码,类别编码) values ('001103','2001-01-01','00','00')");
        sql::exec(db, "update zcdtb set 类别编码='00', 职称编码='00' where 职工编码='000104'");
        sql::exec(db, "insert into zcdtb (职工编码,变动时间,职称编码,类别编码) values ('000104','2012-01-01','03','01')");
        sql::exec(db, "update zghmc set 民族编码=null where 职工编码='000101'");
        QCOMPARE(cadreCodes(db), QStringList({"000101", "000104"}));  // 001103: its current title is 00 (entered last)
        QCOMPARE(cadreCodes(db, {.codePrefix = "00"}), QStringList({"000101", "000104"}));
        QCOMPARE(cadreCodes(db, {.department = "03"}), QStringList());
        QCOMPARE(cadreCodes(db, {.namePrefix = "王%"}), QStringList());  // typed text is matched literally

        TestHost host;
        auto *screen = new Tfrmgbllbj(host);
        QCOMPARE(screen->search()->list()->model()->rowCount(), 2);
        QCOMPARE(screen->cadre(), "000101");
        QCOMPARE(screen->personalBox("职工姓名")->text(), "王五");
        QCOMPARE(screen->personalBox("单位职务")->text(), queryValue(db, "select 单位名称 from dwdmb where 单位编码='02'").toString() + ' '
                                                               + queryValue(db, "select 职务名称 from zwdmb where 职务编码='04'").toString());
        QCOMPARE(screen->personalBox("民族名称")->text(), QString());
        delete screen;
    }

    // The first "编辑" and "确定" give the cadre one row of each; later ones change those rows.
    void firstEditCreatesOneRowOfEach()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        addEmployee(db, "000101", "02");
        TestHost host;
        auto *screen = new Tfrmgbllbj(host);
        edit::ModeBar *bar = screen->bar();
        auto *party = static_cast<QPlainTextEdit *>(screen->answerBox("入党"));
        QVERIFY(party->isReadOnly());
        QVERIFY(!bar->button(Action::Save)->isEnabled() && !bar->button(Action::Ignore)->isEnabled());

        bar->button(Action::Modify)->click();
        QVERIFY(!party->isReadOnly() && !screen->search()->isEnabled() && !bar->button(Action::Modify)->isEnabled());
        QVERIFY(screen->personalBox("职工姓名")->isReadOnly());
        fillEverything(screen);
        bar->button(Action::Save)->click();
        QVERIFY(asked.isEmpty());
        QVERIFY(party->isReadOnly() && screen->search()->isEnabled());
        for (const char *t : {"gbllb", "pojlb", "jtcyb", "gwgxb", "hyjlb", "gzjlb", "xxjlb"})
            QVERIFY2(count(db, t) == 1, t);
        QCOMPARE(queryValue(db, "select 入党 || 其他说明 from gbllb").toString(), "答入党答其他说明");
        QCOMPARE(queryValue(db, "select 姓名 || 政治面貌 || 学历 from pojlb").toString(), "配姓名共产党员博士");
        QCOMPARE(queryValue(db, "select 毕业 || 证明人 from xxjlb").toString(), "xxjlb毕业xxjlb证明人");

        bar->button(Action::Modify)->click();
        party->setPlainText("1990年入党");
        static_cast<QLineEdit *>(screen->spouseBox("籍贯"))->setText("浙江");
        bar->button(Action::Save)->click();
        QCOMPARE(count(db, "gbllb"), 1);
        QCOMPARE(count(db, "pojlb"), 1);
        QCOMPARE(queryValue(db, "select 入党 from gbllb").toString(), "1990年入党");
        QCOMPARE(queryValue(db, "select 籍贯 || 姓名 from pojlb").toString(), "浙江配姓名");
        delete screen;

        // Coming back finds it all.
        screen = new Tfrmgbllbj(host);
        QCOMPARE(static_cast<QPlainTextEdit *>(screen->answerBox("入党"))->toPlainText(), "1990年入党");
        QCOMPARE(static_cast<QComboBox *>(screen->spouseBox("学历"))->currentText(), "博士");
        QCOMPARE(screen->grid("gzjlb")->model()->index(0, 1).data().toString(), "gzjlb单位职务");
        delete screen;
    }

    // A list row is written when the cursor leaves it and stays after "忽略", which drops the
    // answers and the spouse typed.
    void ignoreKeepsListRowsButDropsTheAnswers()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        addEmployee(db, "000101", "02");
        TestHost host;
        auto *screen = new Tfrmgbllbj(host);
        screen->edit();
        ResumeGrid *work = screen->grid("gzjlb");
        typeCell(work, 0, 0, "1990.7-1995.3");
        typeCell(work, 0, 1, "一车间技术员");
        QCOMPARE(count(db, "gzjlb"), 0);   // not while the cursor is on it
        QCOMPARE(work->model()->rowCount(), 2);  // and a blank row for the next
        work->setCurrentIndex(work->model()->index(1, 0));
        QCOMPARE(count(db, "gzjlb"), 1);
        typeCell(work, 1, 0, "1995.4-");    // still on its row when "忽略" is pressed
        static_cast<QPlainTextEdit *>(screen->answerBox("奖励"))->setPlainText("先进工作者");
        static_cast<QLineEdit *>(screen->spouseBox("姓名"))->setText("李梅");
        screen->ignore();
        QCOMPARE(count(db, "gzjlb"), 2);
        QCOMPARE(count(db, "gbllb"), 0);
        QCOMPARE(count(db, "pojlb"), 0);
        QCOMPARE(static_cast<QPlainTextEdit *>(screen->answerBox("奖励"))->toPlainText(), QString());
        QCOMPARE(work->model()->rowCount(), 2);  // no blank row while browsing
        delete screen;
    }

    // A row refused on leaving it is told once: "忽略" then drops it without telling again.
    void ignoreAfterARefusedRowTellsOnce()
    {
        EditingCadre editing({});
        failInserts(editing.db, "gzjlb", "refused");
        ResumeGrid *work = editing.screen->grid("gzjlb");
        typeCell(work, 0, 0, "1990.7-1995.3");
        work->setCurrentIndex(work->model()->index(1, 0));
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].message, "您输入的数据存在错误！");
        editing.screen->ignore();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(editing.screen->bar()->mode(), edit::Mode::Browse);
        QCOMPARE(count(editing.db, "gzjlb"), 0);
    }

    // "确定" writes both rows or neither; a refusal keeps the screen in editing.
    void refusedConfirmWritesNeither()
    {
        EditingCadre editing({});
        failInserts(editing.db, "gbllb", "refused");
        const QSqlDatabase &db = editing.db;
        Tfrmgbllbj *screen = editing.screen;
        static_cast<QLineEdit *>(screen->spouseBox("姓名"))->setText("李梅");
        screen->confirm();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].title, "错误提示");
        QCOMPARE(asked[0].message, "您输入的数据存在错误！");
        QCOMPARE(screen->bar()->mode(), edit::Mode::Editing);
        QCOMPARE(count(db, "pojlb"), 0);
        // Corrected, the same typing goes in.
        stopFailingInserts(db, "gbllb");
        screen->confirm();
        QCOMPARE(screen->bar()->mode(), edit::Mode::Browse);
        QCOMPARE(count(db, "pojlb"), 1);
        QCOMPARE(count(db, "gbllb"), 1);
    }

    void deletingAListRowAsksFirst()
    {
        EditingCadre editing({kTwoFamilyRows});
        const QSqlDatabase &db = editing.db;
        ResumeGrid *family = editing.screen->grid("jtcyb");
        family->setCurrentIndex(family->model()->index(0, 1));
        answer = prompt::Ignore;
        family->removeCurrentRow();
        QCOMPARE(asked.last().title, "删除提示");
        QCOMPARE(count(db, "jtcyb"), 2);
        answer = prompt::Ok;
        family->removeCurrentRow();
        QCOMPARE(joinedColumn(db, "select 姓名 from jtcyb order by rowid"), "刘英");
        QCOMPARE(family->model()->index(0, 1).data().toString(), "刘英");
    }

    // A database another program holds, or one that cannot be written, is told as such by the
    // answers, a list row and a deletion alike, never as a typing error; nothing is written.
    void unwritableDatabaseSaysSo_data()
    {
        QTest::addColumn<bool>("locked");  // else read-only
        QTest::addColumn<QString>("message");
        QTest::newRow("locked by another connection") << true << sql::kBusyMessage;
        QTest::newRow("read-only") << false << sql::kFullMessage;
    }
    void unwritableDatabaseSaysSo()
    {
        QFETCH(bool, locked);
        QFETCH(QString, message);
        EditingCadre editing({kTwoFamilyRows});
        QSqlDatabase db = editing.db;
        Tfrmgbllbj *screen = editing.screen;
        const bool server = onPostgres(db);
        queryValue(db, server ? "SET lock_timeout = '50ms'" : "PRAGMA busy_timeout=50");
        {
            QVERIFY(database::open("other program", editing.folder.address()).ok);
            QSqlDatabase other = QSqlDatabase::database("other program", false);
            if (locked)
                for (const QString &s : sql::dialect(other).beginWrite())
                    queryValue(other, s);
            else
                queryValue(db, server ? "SET default_transaction_read_only = on" : "PRAGMA query_only=ON");
            static_cast<QLineEdit *>(screen->spouseBox("姓名"))->setText("李梅");
            screen->confirm();
            ResumeGrid *family = screen->grid("jtcyb");
            family->setCurrentIndex(family->model()->index(0, 1));
            family->removeCurrentRow();
            typeCell(family, 0, 1, "王二");
            family->setCurrentIndex(family->model()->index(1, 1));  // leaving the row writes it
            QStringList said;
            for (const prompt::Call &c : std::as_const(asked))
                said << c.title + '|' + c.message;
            QCOMPARE(said, (QStringList{"错误提示|" + message, "删除提示|确定要删除这条记录吗？",
                                        "错误信息|" + message, "错误提示|" + message}));
            queryValue(locked ? other : db, locked ? "ROLLBACK" : server ? "SET default_transaction_read_only = off" : "PRAGMA query_only=OFF");
        }
        database::close("other program");
        QCOMPARE(screen->bar()->mode(), edit::Mode::Editing);
        QCOMPARE(count(db, "pojlb"), 0);
        QCOMPARE(joinedColumn(db, "select 姓名 from jtcyb order by rowid"), "王大,刘英");
    }

    // The printed résumé holds every page's captions and texts, the personal data and the
    // photo; the PDF reads back.
    // "导出Excel…" writes the résumé shown, a sheet per page, not the list of cadres.
    void exportWritesTheResumeShown()
    {
        EditingCadre editing({kTwoFamilyRows});
        static_cast<QPlainTextEdit *>(editing.screen->answerBox("培训"))->setPlainText("党校培训三个月");
        editing.screen->confirm();
        const QString file = editing.folder.file("履历.xlsx");
        const file_choice::ScopedChooser choosing([&](const file_choice::Request &) { return file; });
        QStringList told;
        const notify::ScopedObserver observing([&](notify::Kind, const QString &, const QString &text) { told << text; });
        QPushButton *exportButton = editing.screen->button("导出Excel…");
        QVERIFY(exportButton && exportButton->isEnabled());
        exportButton->click();
        QCOMPARE(told.size(), 1);

        const QJsonArray sheets = workbookSheets(file);
        QCOMPARE(sheets.size(), int(resume::pages().size()));
        QString all;
        for (int i = 0; i < sheets.size(); ++i) {
            const QJsonObject sheet = sheets[i].toObject();
            QVERIFY2(sheet["name"].toString().endsWith(resume::pages()[size_t(i)].tab), qPrintable(sheet["name"].toString()));
            for (const QJsonValue &row : sheet["rows"].toArray())
                for (const QJsonValue &c : row.toArray())
                    all += c.toObject()["v"].toVariant().toString() + '|';
        }
        for (const char *shown : {"000101王五", "党校培训三个月", "王大", "刘英", "父亲"})
            QVERIFY2(all.contains(shown), shown);
    }

    void printedResumeHoldsEveryPage()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        addEmployee(db, "000101", "02");
        QImage photo(60, 80, QImage::Format_RGB32);
        photo.fill(Qt::darkCyan);
        QVERIFY(QDir(folder.path()).mkpath("picture"));
        QVERIFY(photo.save(folder.file("picture/p1.jpg")));  // the fixture's photo name
        TestHost host;
        auto *screen = new Tfrmgbllbj(host);
        screen->edit();
        fillEverything(screen);
        static_cast<QPlainTextEdit *>(screen->answerBox("培训"))->setPlainText("答培训" + QString("长篇培训经历。").repeated(60));
        screen->confirm();

        QList<report::Document> previewed;
        report::setPreviewObserver([&](const report::Document &d) { previewed << d; });
        screen->print();
        report::setPreviewObserver({});
        QCOMPARE(previewed.size(), 1);
        const report::Document &doc = previewed.first();
        QCOMPARE(doc.orientation, QPageLayout::Portrait);
        QVERIFY(doc.pages.size() >= 2);
        QString all;
        int pictures = 0;
        for (const report::Page &p : doc.pages) {
            for (const report::Text &t : p.texts)
                if (!t.text.contains(QRegularExpression("^第 \\d+ 页 共 \\d+ 页$")))  // the page numbers
                    all += t.text;
            pictures += int(p.pictures.size());
        }
        all.remove(' ');
        QCOMPARE(pictures, 1);
        QStringList expected = {"干部履历表", "王五", "工资情况", "何年何月何处参加工作", "配偶"};
        for (const resume::Page &page : resume::pages()) {
            expected << page.heading;
            for (const resume::Block &b : page.blocks) {
                expected << b.caption;
                if (b.kind == resume::Block::Kind::Text)
                    expected << "答" + b.column;
                if (b.kind == resume::Block::Kind::Grid)
                    for (const resume::GridColumn &c : b.grid->columns)
                        expected << c.heading << b.grid->table + c.column;
            }
        }
        for (const resume::LabelledValue &f : resume::personalFields())
            expected << f.label;
        for (const resume::LabelledValue &f : resume::spouseFields())
            expected << f.label << (f.offered.isEmpty() ? "配" + f.column : f.offered.first());
        for (QString e : expected)
            QVERIFY2(all.contains(e.remove(' ')), qPrintable(e));
        QVERIFY(all.contains(QString("长篇培训经历。").repeated(60)));
        // In the form's order: the first page's answers before the lists, the last page's at the end.
        QVERIFY(all.indexOf("答入党") < all.indexOf("学习简历") && all.indexOf("学习简历") < all.indexOf("答其他说明"));

        const QString pdf = folder.file("resume.pdf");
        QVERIFY(report::writePdf(doc, pdf));
        const QString read = pdfText(pdf);
        for (const char *shown : {"干部履历表", "答其他说明", "毕(结,肄)业", "配姓名"})
            QVERIFY2(read.contains(shown), shown);
        delete screen;
    }
};

QTEST_MAIN(TestCadreResume)
#include "test_cadre_resume.moc"
