// Training records: the position held at the course date, the editor's participant side
// through add / ignore / save / modify / delete and its refused saves, the disabled states,
// a course deleted with its participants, and the company list's detail switch.

#include "app/edit_modes.h"
#include "app/field_controls.h"
#include "app/prompt.h"
#include "app/striped_grid.h"
#include "db/clock.h"
#include "db/sql.h"
#include "records/company_training_screen.h"
#include "records/training.h"
#include "records/training_editor.h"
#include "support/test_support.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTest>

using edit::Action;
namespace training = records::training;

namespace {

// Four employees and course P1 of 2003-03-01 with each of them:
//   000001 positions 01 (2000), 04 (2002-06-01), 10 (2004): held 04 at the course
//   000002 positions 01 (2000), 04 dated on the course day: held 01
//   000003 first position dated on the course day: held none
//   000004 positions 01 (2000), 10 (2002), then 04 dated 2001 entered last: held 04, the last entered
void fillCourse(const QSqlDatabase &db)
{
    sql::exec(db, "insert into zghmc (职工编码,职工姓名) values ('000001','甲'),('000002','乙'),('000003','丙'),('000004','丁')");
    sql::exec(db, "insert into zwdtb (职工编码,变动时间,职务编码) values ('000001','2000-01-01','01'),('000001','2002-06-01','04'),"
                  "('000001','2004-01-01','10'),('000002','2000-01-01','01'),('000002','2003-03-01','04'),"
                  "('000003','2003-03-01','04'),('000004','2000-01-01','01'),('000004','2002-01-01','10'),"
                  "('000004','2001-01-01','04')");
    sql::exec(db, "insert into pxnrb (培训编码,培训日期,训练内容,累计时数) values ('P1','2003-03-01','安全生产知识',8),"
                  "('P2','2004-05-01','消防演练',4)");
    sql::exec(db, "insert into pxjlb (职工编码,培训编码,成绩,技能评定) values ('000001','P1',90,'A'),('000002','P1',80,'B'),"
                  "('000003','P1',70,'C'),('000004','P1',60,'D')");
}

QStringList rowsOf(QSqlQuery q)
{
    QStringList rows;
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < q.record().count(); ++i)
            cells << q.value(i).toString();
        rows << cells.join(' ');
    }
    return rows;
}

QString participants(const QSqlDatabase &db)
{
    return listed(db, "select 职工编码 || ' ' || 培训编码 || ' ' || coalesce(cast(成绩 as text),'-') || ' ' || coalesce(技能评定,'-') "
                      "from pxjlb order by 自动编号", ", ");
}

}  // namespace

class TestTraining : public QObject {
    Q_OBJECT
private slots:
    void init() { asked.clear(); }

    void positionHeldAtTheCourseDate()
    {
        ProgramFolder folder;
        fillCourse(folder.db());
        const QSqlDatabase db = folder.db();
        const QString p01 = codeName(db, "zwdmb", "01"), p04 = codeName(db, "zwdmb", "04");
        QCOMPARE(rowsOf(training::participants(db, "P1")).replaceInStrings(QRegularExpression("^\\d+ "), ""),
                 QStringList({"000001 甲 " + p04 + " 90 A", "000002 乙 " + p01 + " 80 B", "000003 丙  70 C",
                              "000004 丁 " + p04 + " 60 D"}));
        // The personal list reads the same rule.
        QCOMPARE(rowsOf(training::employeeCourses(db, "000002")), QStringList({"2003-03-01 安全生产知识 " + p01 + " 8 80 B"}));
    }

    void participantSide()
    {
        ProgramFolder folder;
        fillCourse(folder.db());
        TestHost host;
        auto *screen = new Tfrmpxjlbj(host);
        const Tfrmpxjlbj::Side &courses = screen->side(Tfrmpxjlbj::Courses);
        const Tfrmpxjlbj::Side &side = screen->side(Tfrmpxjlbj::Participants);
        QCOMPARE(screen->currentCourse(), "P1");
        QCOMPARE(side.model->rowCount(), 4);
        QVERIFY(!side.box->isVisibleTo(screen) && !courses.box->isVisibleTo(screen));
        const QString before = participants(folder.db());

        // Adding disables the course side and the participant grid; "忽略" writes nothing.
        side.bar->button(Action::Add)->click();
        QVERIFY(side.box->isVisibleTo(screen));
        QVERIFY(!courses.frame->isEnabled() && !side.grid->isEnabled() && !side.bar->button(Action::Delete)->isEnabled());
        typeInto(side.control("职工编码"), "000001");
        side.bar->button(Action::Ignore)->click();
        QVERIFY(!side.box->isVisibleTo(screen) && courses.frame->isEnabled() && side.grid->isEnabled());
        QCOMPARE(participants(folder.db()), before);

        // Saved, listed with name and position, and selected.
        side.bar->button(Action::Add)->click();
        typeInto(side.control("职工编码"), "000002");
        typeInto(side.control("成绩"), "59.5");
        chooseCode(side.control("技能评定"), "E");
        side.bar->button(Action::Save)->click();
        QVERIFY(asked.isEmpty());
        QCOMPARE(participants(folder.db()), before + ", 000002 P1 59.5 E");
        QCOMPARE(side.model->rowCount(), 5);
        QCOMPARE(side.grid->currentIndex().row(), 4);
        QCOMPARE(side.model->index(4, 2).data().toString(), "乙");

        // Modified: an empty score and grade are allowed.
        side.bar->button(Action::Modify)->click();
        QCOMPARE(edit::valueOf(side.control("成绩")), "59.5");
        typeInto(side.control("成绩"), "");
        QVERIFY(qobject_cast<QComboBox *>(side.control("技能评定"))->findData(QVariant()) >= 0);  // offered
        chooseCode(side.control("技能评定"), "");
        side.bar->button(Action::Save)->click();
        QCOMPARE(participants(folder.db()), before + ", 000002 P1 - -");

        // Deleting asks first; "忽略" keeps the row.
        answer = prompt::Ignore;
        side.bar->button(Action::Delete)->click();
        QCOMPARE(asked, QStringList{"删除提示 确定要删除这条培训内容吗？"});
        QCOMPARE(side.model->rowCount(), 5);
        answer = prompt::Ok;
        side.bar->button(Action::Delete)->click();
        QCOMPARE(participants(folder.db()), before);
        QCOMPARE(side.model->rowCount(), 4);
        screen->close();
    }

    void aRefusedSaveStaysPending_data()
    {
        QTest::addColumn<QString>("employee");
        QTest::addColumn<QString>("score");
        QTest::addColumn<QString>("reason");
        const QString badScore = QStringLiteral("成绩应为 0 到 100 的数，技术评定应为 A 到 E");
        QTest::newRow("no such employee") << "999999" << "80" << QStringLiteral("没有这个职工：999999");
        QTest::newRow("no employee code") << "" << "80" << QStringLiteral("没有这个职工：");
        QTest::newRow("score above 100") << "000001" << "100.5" << badScore;
        QTest::newRow("negative score") << "000001" << "-1" << badScore;
        QTest::newRow("score not a number") << "000001" << "优" << badScore;
    }
    void aRefusedSaveStaysPending()
    {
        QFETCH(QString, employee);
        QFETCH(QString, score);
        QFETCH(QString, reason);
        ProgramFolder folder;
        fillCourse(folder.db());
        TestHost host;
        auto *screen = new Tfrmpxjlbj(host);
        const Tfrmpxjlbj::Side &side = screen->side(Tfrmpxjlbj::Participants);
        const QString before = participants(folder.db());
        side.bar->button(Action::Add)->click();
        typeInto(side.control("职工编码"), employee);
        qobject_cast<QLineEdit *>(side.control("成绩"))->setText(score);  // as pasted
        side.bar->button(Action::Save)->click();
        QCOMPARE(asked, QStringList{"错误信息 这条培训内容无法插入！\n" + reason});
        QVERIFY(side.box->isVisibleTo(screen));
        QCOMPARE(edit::valueOf(side.control("成绩")), score);
        QCOMPARE(participants(folder.db()), before);
        screen->close();
    }

    // A course is added, renamed with its participants, and deleted with them.
    void courseSide()
    {
        ProgramFolder folder;
        fillCourse(folder.db());
        TestHost host;
        auto *screen = new Tfrmpxjlbj(host);
        const Tfrmpxjlbj::Side &side = screen->side(Tfrmpxjlbj::Courses);
        side.bar->button(Action::Add)->click();
        QVERIFY(!screen->side(Tfrmpxjlbj::Participants).frame->isEnabled());
        typeInto(side.control("培训编码"), "P3");
        typeInto(side.control("培训日期"), "2003-02-30");
        side.bar->button(Action::Save)->click();
        QCOMPARE(asked, QStringList{"错误信息 这条培训内容无法插入！\n培训编码、培训日期或累计时数不对"});
        typeInto(side.control("培训日期"), "2005-6-1");
        qobject_cast<QLineEdit *>(side.control("训练内容"))->setText(QString(255, QChar(u'训')));
        side.bar->button(Action::Save)->click();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(screen->currentCourse(), "P3");
        QCOMPARE(queryValue(folder.db(), "select 培训日期 || length(训练内容) from pxnrb where 培训编码='P3'").toString(), "2005-06-01255");

        side.grid->selectRow(0);
        QCOMPARE(screen->currentCourse(), "P1");
        side.bar->button(Action::Modify)->click();
        typeInto(side.control("培训编码"), "P1A");
        side.bar->button(Action::Save)->click();
        QCOMPARE(queryValue(folder.db(), "select count(*) from pxjlb where 培训编码='P1A'").toInt(), 4);
        QCOMPARE(screen->side(Tfrmpxjlbj::Participants).model->rowCount(), 4);

        answer = prompt::Ok;
        side.bar->button(Action::Delete)->click();
        QCOMPARE(asked.last(), "删除提示 确定要删除这条培训内容吗？");
        QCOMPARE(queryValue(folder.db(), "select count(*) from pxjlb").toInt(), 0);
        QCOMPARE(listed(folder.db(), "select 培训编码 from pxnrb order by 培训编码"), "P2,P3");
        screen->close();
    }

    // The company list starts on 1 January of this year to today; the detail button names what it does.
    void companyList()
    {
        ProgramFolder folder;
        fillCourse(folder.db());
        const clock_source::ScopedToday day{QDate(2003, 12, 31)};
        TestHost host;
        auto *screen = new Tfrmgspxqktj(host);
        QCOMPARE(screen->startPicker()->date(), QDate(2003, 1, 1));
        QCOMPARE(screen->courseRows()->rowCount(), 1);  // P2 is 2004, and has no participants
        QCOMPARE(screen->courseRows()->index(0, 4).data().toInt(), 4);
        QCOMPARE(screen->participantRows()->rowCount(), 4);
        QCOMPARE(screen->detailsButton()->text(), "隐藏详细信息");
        screen->detailsButton()->click();
        QVERIFY(screen->participantFrame()->isHidden());
        QCOMPARE(screen->detailsButton()->text(), "显示详细信息");
        screen->detailsButton()->click();
        QVERIFY(!screen->participantFrame()->isHidden());
        screen->startPicker()->setDate(QDate(2004, 1, 1));
        screen->showCourses();
        QCOMPARE(screen->courseRows()->rowCount(), 0);  // start after end
        QCOMPARE(screen->participantRows()->rowCount(), 0);
        screen->close();
    }

private:
    QStringList asked;
    int answer = prompt::Ok;
    const prompt::ScopedAnswerer answering{[this](const prompt::Call &call) {
        asked << call.title + ' ' + call.message;
        return answer;
    }};
};

QTEST_MAIN(TestTraining)
#include "test_training.moc"
