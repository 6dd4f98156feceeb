// Scratch: pictures of the sorted roster, the pay sheet with its 合计 row and a printed pay list.
#include "app/main_window.h"
#include "app/screen_registry.h"
#include "app/striped_grid.h"
#include "db/clock.h"
#include "db/sql.h"
#include "demo/demo_organisation.h"
#include "pay/pay_entry_screen.h"
#include "pay/pay_lists.h"
#include "reports/print_preview.h"
#include "reports/render.h"
#include "staff/roster_query.h"
#include "staff/roster_screen.h"
#include "support/test_support.h"
#include <QHeaderView>
#include <QSpinBox>
#include <QTest>
void registerAllScreens(ScreenRegistry &registry);
class Shots : public QObject {
    Q_OBJECT
private slots:
    void shoot()
    {
        const clock_source::ScopedToday today(QDate(2026, 6, 15));
        ProgramFolder folder;
        demo::generate(folder.db(), {.employees = 400, .seed = 1});
        ScreenRegistry registry;
        registerAllScreens(registry);
        TfrmMain window(registry);
        window.resize(1400, 850);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *roster = qobject_cast<RosterScreen *>(window.openScreen("Tfrmkjgbxx"));
        QTest::qWait(200);
        auto *grid = roster->findChild<StripedGrid *>();
        QHeaderView *h = grid->horizontalHeader();
        const QPoint at(h->sectionViewportPosition(roster::Born) + 10, h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
        QTest::qWait(200);
        window.grab().save("/tmp/c/shots/roster.png");
        roster->close();
        QTest::qWait(100);
        auto *pay = qobject_cast<Tfrmgzlr *>(window.openScreen("Tfrmgzlr"));
        QTest::qWait(200);
        const QDate month = QDate::fromString(queryValue(folder.db(), "select max(年月) from gzb").toString(), Qt::ISODate);
        pay->yearBox()->setValue(month.year());
        pay->monthBox()->setValue(month.month());
        pay->departmentList()->selectRow(2);
        QTest::qWait(200);
        window.grab().save("/tmp/c/shots/pay.png");
        report::Document printed;
        report::setPreviewObserver([&](const report::Document &d) { printed = d; });
        pay->printList(0);
        report::setPreviewObserver({});
        QString error;
        QVERIFY(report::writePdf(printed, "/tmp/c/shots/paylist.pdf", &error));
    }
};
QTEST_MAIN(Shots)
#include "shots_scratch.moc"
