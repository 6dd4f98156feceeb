// The reward and attendance screens as a user works them: the editor family through add,
// ignore, save, modify, delete and a refused save; the personal statistics with its cards;
// the company statistics rebuilt for either date, the sort toggle's captions and printing.

#include "app/field_controls.h"
#include "app/prompt.h"
#include "app/striped_grid.h"
#include "db/clock.h"
#include "db/scoped_hook.h"
#include "records/company_events_screen.h"
#include "app/date_range_boxes.h"
#include "records/employee_search_panel.h"
#include "records/event_editor.h"
#include "records/personal_events_screen.h"
#include "reports/print_preview.h"
#include "staff/employee_fixture.h"
#include "support/document_texts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTest>

using edit::Action;

namespace {

// The hours read as a number, the same from either engine (the file's text of a whole number
// of hours would be "8.0").
QString attendanceRows(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    if (!q.exec("select 考勤时间, 方式编码, 时数, coalesce(cast(罚金 as text), '-'), coalesce(事由, '') from kqjlb "
                "order by 自动编号"))
        qFatal("%s", qPrintable(q.lastError().text()));
    QList<QVariantList> rows;
    while (q.next())
        rows << QVariantList{q.value(0), q.value(1), q.value(2), q.value(3), q.value(4)};
    return rowsAsText(rows).join(", ");
}

void chooseDate(QDateEdit *box, const QDate &date)
{
    box->setDate(date);
    emit box->editingFinished();
}

}  // namespace

class TestEventScreens : public QObject {
    Q_OBJECT
private slots:
    void init() { asked.clear(); }

    void attendanceEditorAddsIgnoresSavesAndDeletes()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        addEmployee(db, "000101", "02");
        TestHost host;
        auto *screen = new Tfrmkqjlbj(host);
        edit::ModeBar *bar = screen->bar();
        QCOMPARE(screen->rowModel()->rowCount(), 0);
        QVERIFY(!bar->button(Action::Modify)->isEnabled() && !bar->button(Action::Delete)->isEnabled());

        // "忽略" after "添加" leaves nothing.
        bar->button(Action::Add)->click();
        QVERIFY(screen->editBox()->isVisibleTo(screen));
        QVERIFY(!screen->search()->isEnabled() && !screen->rows()->isEnabled());
        typeInto(screen->control("考勤时间"), "2025-3-1");
        bar->button(Action::Ignore)->click();
        QVERIFY(!screen->editBox()->isVisibleTo(screen));
        QCOMPARE(attendanceRows(db), "");

        // Two rows, hours with their fractions and an exact fine.
        for (const auto &[date, kind, hours] : {std::tuple{"2025-3-1", "02", "2.5"}, {"2025-03-02", "01", "8"}}) {
            bar->button(Action::Add)->click();
            typeInto(screen->control("考勤时间"), date);
            typeInto(screen->control("时数"), hours);
            chooseCode(screen->control("方式编码"), kind);
            typeInto(screen->control("罚金"), "12.3456");
            qobject_cast<QLineEdit *>(screen->control("事由"))->setText("身体不适");
            bar->button(Action::Save)->click();
        }
        QVERIFY(asked.isEmpty());
        QCOMPARE(attendanceRows(db), "2025-03-01 02 2.5 123456 身体不适, 2025-03-02 01 8 123456 身体不适");
        QCOMPARE(screen->rowModel()->rowCount(), 2);
        QCOMPARE(screen->rows()->currentIndex().row(), 1);
        QCOMPARE(screen->rowModel()->index(0, 2).data().toString(), "病假");
        QVERIFY(bar->button(Action::Modify)->isEnabled() && bar->button(Action::Delete)->isEnabled());

        // Modifying shows the stored row; a malformed date is refused and the row stays pending.
        screen->rows()->selectRow(0);
        bar->button(Action::Modify)->click();
        QCOMPARE(edit::valueOf(screen->control("时数")), "2.5");
        QCOMPARE(edit::valueOf(screen->control("方式编码")), "02");
        QCOMPARE(edit::valueOf(screen->control("罚金")), "12.3456");
        qobject_cast<QLineEdit *>(screen->control("考勤时间"))->setText("2025-02-30");
        bar->button(Action::Save)->click();
        QCOMPARE(asked, QStringList{"错误信息 这条动态信息无法保存！\n考勤时间不是正确的日期（年-月-日）"});
        QVERIFY(screen->editBox()->isVisibleTo(screen));
        typeInto(screen->control("考勤时间"), "2025-03-05");
        typeInto(screen->control("罚金"), "");
        bar->button(Action::Save)->click();
        QCOMPARE(attendanceRows(db), "2025-03-05 02 2.5 - 身体不适, 2025-03-02 01 8 123456 身体不适");

        // Deleting asks; "忽略" keeps the row, "确定" removes it.
        asked.clear();
        answer = prompt::Ignore;
        bar->button(Action::Delete)->click();
        QCOMPARE(asked, QStringList{"删除提示 确定要删除这条动态信息吗？"});
        QCOMPARE(screen->rowModel()->rowCount(), 2);
        answer = prompt::Ok;
        bar->button(Action::Delete)->click();
        QCOMPARE(attendanceRows(db), "2025-03-02 01 8 123456 身体不适");
        screen->close();
    }

    // The reward editor offers "奖励" and "惩罚" and stores 1 or -1 with an exact amount.
    void rewardEditorStoresKindAndAmount()
    {
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        addEmployee(db, "000101", "02");
        TestHost host;
        auto *screen = new Tfrmjcjlbj(host);
        QCOMPARE(screen->editBox()->title(), "奖惩编辑");
        auto *kinds = qobject_cast<QComboBox *>(screen->control("奖惩"));
        QCOMPARE(kinds->count(), 2);
        QCOMPARE(kinds->itemText(0) + kinds->itemText(1), "奖励惩罚");
        screen->bar()->button(Action::Add)->click();
        typeInto(screen->control("奖惩日期"), "2025-6-1");
        qobject_cast<QLineEdit *>(screen->control("奖惩方式"))->setText("罚款");
        typeInto(screen->control("奖惩金额"), "50.05");
        qobject_cast<QLineEdit *>(screen->control("事由"))->setText("迟到早退");
        chooseCode(screen->control("奖惩"), "-1");
        screen->bar()->button(Action::Save)->click();
        QVERIFY(asked.isEmpty());
        QCOMPARE(queryValue(db, "select 奖惩日期 || ' ' || 奖惩 || ' ' || 奖惩方式 || ' ' || 奖惩金额 || ' ' || 事由 from jcjlb").toString(),
                 "2025-06-01 -1 罚款 500500 迟到早退");
        QCOMPARE(screen->rowModel()->index(0, 1).data().toString(), "2025-06-01");
        screen->close();
    }

    // The personal attendance statistics: rows of the range and a card per kind with rows.
    void personalAttendanceShowsRowsAndCards()
    {
        const clock_source::ScopedToday today(QDate(2025, 3, 31));
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        addEmployee(db, "000101", "02");
        for (const auto &[date, kind, hours] : {std::tuple{"2024-12-31", "01", 8.0}, {"2025-01-01", "01", 2.5},
                                                {"2025-03-31", "01", 0.25}, {"2025-02-01", "03", 1.0}})
            sql::exec(db, QString("insert into kqjlb (职工编码,方式编码,考勤时间,时数) values ('000101','%1','%2',%3)").arg(kind, date).arg(hours));
        TestHost host;
        auto *screen = new Tfrmkqqktj(host);
        QCOMPARE(screen->dates()->from(), QDate(2025, 1, 1));
        QCOMPARE(screen->dates()->to(), QDate(2025, 3, 31));
        QCOMPARE(screen->rowModel()->rowCount(), 3);
        QCOMPARE(screen->cards(), (QList<QPair<QString, QString>>{{"事假", "2.75"}, {"旷工", "1"}}));
        chooseDate(screen->dates()->fromBox(), QDate(2025, 2, 2));
        QCOMPARE(screen->cards(), (QList<QPair<QString, QString>>{{"事假", "0.25"}}));

        report::Document printed;
        const ScopedHook<report::PreviewObserver, &report::setPreviewObserver> previewing(
            [&](const report::Document &d) { printed = d; });
        screen->print();
        const QStringList texts = documentTexts(printed);
        QVERIFY(texts.contains("个人考勤情况统计"));
        QVERIFY(texts.join(' ').contains("2025-02-02 至 2025-03-31"));
        QVERIFY(texts.contains("0.25"));
        screen->close();
    }

    // The sort toggle: employee order with "按时间排序" offered, then date order again with
    // "按员工排序"; "打印" prints the list as shown.
    void companyRewardsToggleAndPrint()
    {
        const clock_source::ScopedToday today(QDate(2025, 12, 31));
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        addEmployee(db, "000101", "02");
        addEmployee(db, "000102", "02");
        for (const auto &[code, date] : {std::pair{"000102", "2025-03-01"}, {"000101", "2025-05-01"}, {"000102", "2025-07-01"}})
            sql::exec(db, QString("insert into jcjlb (职工编码,奖惩日期,奖惩,奖惩方式,奖惩金额) values ('%1','%2',1,'嘉奖',1000000)").arg(code, date));
        TestHost host;
        auto *screen = new Tfrmgsjctjb(host);
        const auto codes = [&] {
            QStringList c;
            for (const QVariantList &row : screen->rowModel()->rows())
                c << row[0].toString();
            return c.join(' ');
        };
        QCOMPARE(screen->sortButton()->text(), "按职工排序");
        QCOMPARE(codes(), "000102 000101 000102");
        screen->sortButton()->click();
        QCOMPARE(screen->sortButton()->text(), "按时间排序");
        QCOMPARE(codes(), "000101 000102 000102");
        screen->sortButton()->click();
        QCOMPARE(screen->sortButton()->text(), "按员工排序");
        QCOMPARE(codes(), "000102 000101 000102");
        // Either date rebuilds the list.
        chooseDate(screen->dates()->toBox(), QDate(2025, 5, 1));
        QCOMPARE(codes(), "000102 000101");

        report::Document printed;
        const ScopedHook<report::PreviewObserver, &report::setPreviewObserver> previewing(
            [&](const report::Document &d) { printed = d; });
        screen->print();
        const QStringList texts = documentTexts(printed);
        for (const char *t : {"公司奖惩情况统计", "2025-01-01 至 2025-05-01", "职工编码", "奖惩金额", "100.00", "000101"})
            QVERIFY2(texts.contains(t), t);
        QCOMPARE(screen->sortButton()->text(), "按员工排序");
        host.enabledCalls.clear();
        screen->button("返回")->click();
        QCOMPARE(host.enabledCalls, QList<bool>{true});
    }

    // The company attendance table follows both dates; printing shows its columns and range.
    void companyAttendanceFollowsBothDates()
    {
        const clock_source::ScopedToday today(QDate(2025, 12, 31));
        ProgramFolder folder;
        const QSqlDatabase db = folder.db();
        addEmployee(db, "000101", "02");
        sql::exec(db, "insert into kqjlb (职工编码,方式编码,考勤时间,时数) values ('000101','02','2025-06-01',2.5)");
        sql::exec(db, "insert into kqjlb (职工编码,方式编码,考勤时间,时数) values ('000101','02','2025-09-01',1)");
        TestHost host;
        auto *screen = new Tfrmgskqtjb(host);
        QSqlQueryModel *model = screen->rowModel();
        QCOMPARE(model->columnCount(), 12);
        QCOMPARE(model->headerData(3, Qt::Horizontal).toString(), "病假");
        QCOMPARE(model->index(0, 3).data().toDouble(), 3.5);
        chooseDate(screen->dates()->toBox(), QDate(2025, 8, 31));
        QCOMPARE(model->index(0, 3).data().toDouble(), 2.5);
        chooseDate(screen->dates()->fromBox(), QDate(2025, 7, 1));
        QCOMPARE(model->rowCount(), 0);

        chooseDate(screen->dates()->toBox(), QDate(2025, 12, 31));
        report::Document printed;
        const ScopedHook<report::PreviewObserver, &report::setPreviewObserver> previewing(
            [&](const report::Document &d) { printed = d; });
        screen->print();
        const QStringList texts = documentTexts(printed);
        for (const char *t : {"公司考勤情况统计", "2025-07-01 至 2025-12-31", "职工姓名", "探亲假", "000101", "1"})
            QVERIFY2(texts.contains(t), t);
        QVERIFY(!texts.contains("bz"));
        screen->button("返回")->click();
    }

private:
    QStringList asked;
    int answer = prompt::Ok;
    const prompt::ScopedAnswerer answering{[this](const prompt::Call &call) {
        asked << call.title + ' ' + call.message;
        return answer;
    }};
};

QTEST_MAIN(TestEventScreens)
#include "test_event_screens.moc"
