// The personal information sheet: the current rows of the five histories with their names,
// the employee it cannot find, and the window opened through the registry.

#include "app/screen_registry.h"
#include "app/field_controls.h"
#include "staff/detail_panel.h"
#include "staff/personal_sheet.h"
#include "staff/personal_sheet_window.h"
#include "staff/photo_box.h"
#include "staff/staff_screens.h"
#include "employee_fixture.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

class TestPersonalSheet : public QObject {
    Q_OBJECT
private slots:
    void showsTheCurrentRowsWithTheirNames()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        addEmployee(db, "000100", "02");
        // Later changes entered by other screens; the department one back-dated but entered last.
        for (const char *s : {"insert into dwdtb (职工编码,变动时间,单位编码) values ('000100','2009-01-01','05')",
                              "insert into dwdtb (职工编码,变动时间,单位编码) values ('000100','2008-01-01','07')",
                              "insert into zcdtb (职工编码,变动时间,职称编码,类别编码) values ('000100','2009-01-01','11','01')",
                              "insert into zwdjdtb (职工编码,变动时间,等级编码,等级工资) values ('000100','2009-01-01','02',33600001)"})
            sql::exec(db, QString::fromUtf8(s));
        const auto sheet = staff::personalSheet(db, "000100");
        QVERIFY(sheet);
        QCOMPARE(sheet->value("dwdtb.单位编码"), QString("第一车间"));  // last entered, not the entry-time 人事科
        QCOMPARE(sheet->value("zcdtb.职称编码"), QString("经济师"));
        QCOMPARE(sheet->value("zcdtb.类别编码"), QString("经济"));  // the title's category, not the stored one
        QCOMPARE(sheet->value("zwdjdtb.等级编码"), QString("二级"));
        QCOMPARE(sheet->value("zwdjdtb.等级工资"), QString("3360.0001"));
        QCOMPARE(sheet->value("政治面貌"), QString("共产党员"));
        QCOMPARE(sheet->value("文化程度"), QString("大学本科"));
        QCOMPARE(sheet->value("职工编码"), QString("000100"));
        QCOMPARE(sheet->value("入司时间"), QString("2003-06-01"));
        QCOMPARE(sheet->value("照片"), QString("p1.jpg"));
    }

    void aMissingCodeBlanksOneFieldOnly()
    {
        ProgramFolder folder;
        QSqlDatabase db = folder.db();
        addEmployee(db, "000100", "02");  // no nationality chosen
        sql::exec(db, "delete from gwjndtb");
        const auto sheet = staff::personalSheet(db, "000100");
        QVERIFY(sheet);
        QCOMPARE(sheet->value("民族编码"), QString());
        QCOMPARE(sheet->value("gwjndtb.档次编码"), QString());
        QCOMPARE(sheet->value("职工姓名"), QString("王五"));
        QCOMPARE(sheet->value("dwdtb.单位编码"), QString("人事科"));
        QVERIFY(!staff::personalSheet(db, "999999"));
    }

    void windowOpensThroughTheRegistry_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("photo");
        QTest::newRow("employee with photo") << "000100" << "王五" << true;
        QTest::newRow("unknown employee") << "999999" << "" << false;
    }
    void windowOpensThroughTheRegistry()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(bool, photo);
        ProgramFolder folder;
        addEmployee(folder.db(), "000100", "02");
        QDir(folder.path()).mkpath("picture");
        QImage picture(30, 40, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QVERIFY(picture.save(folder.file("picture/p1.jpg")));

        ScreenRegistry registry;
        registerStaffScreens(registry);
        TestHost host;
        const WindowFactory *open = registry.findWindow("Tfrmgrxxzl");
        QVERIFY(open);
        QPointer<QWidget> window = (*open)(host, code);
        auto *sheet = qobject_cast<Tfrmgrxxzl *>(window.data());
        QVERIFY(sheet);
        QCOMPARE(sheet->parentWidget(), &host.area);
        QVERIFY(host.enabledCalls.isEmpty());  // the sheet does not lock the main window
        QCOMPARE(sheet->titleStrip()->text(), QString(" [%1]个人基本信息").arg(code));
        QCOMPARE(edit::valueOf(sheet->detail()->control("职工姓名")), name);
        QCOMPARE(sheet->detail()->photo()->shownFile(),
                 photo ? folder.file("picture/p1.jpg") : folder.file("msgbox02.ico"));
        sheet->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());
    }
};

QTEST_MAIN(TestPersonalSheet)
#include "test_personal_sheet.moc"
