// The windowed list model against a plain full read of the same list on a generated
// organisation: the count, windows read forwards, backwards and by a jump to the end, the
// bounded number of rows held, the count at the edges of a window, ties on the sort key, a
// list that changes under it, and a failed reading that leaves the list as it was.

#include "db/sql.h"
#include "db/windowed_rows.h"
#include "demo/demo_organisation.h"
#include "query/basic_situation.h"
#include "support/engine_sql.h"
#include "support/test_support.h"

#include <QTest>

namespace {

constexpr int kHeldAtMost = WindowedRows::kWindowRows * WindowedRows::kKeptWindows;

QVariantList rowOf(const WindowedRows &model, int row)
{
    QVariantList values;
    for (int c = 0; c < model.columnCount(); ++c)
        values << model.index(row, c).data();
    return values;
}

// Employees ordered by name, most of them sharing one of three names.
windowed::Listing byName()
{
    windowed::Listing l;
    l.columns = QStringLiteral("职工编码, 职工姓名");
    l.from = QStringLiteral("from zghmc");
    l.where = QStringLiteral("职工编码>=:from");
    l.order = {QStringLiteral("职工姓名"), QStringLiteral("职工编码")};
    l.values = {{":from", QStringLiteral("000000")}};
    return l;
}

// Employees in code order.
windowed::Listing byCode()
{
    windowed::Listing l;
    l.columns = QStringLiteral("职工编码, 职工姓名");
    l.from = QStringLiteral("from zghmc");
    l.order = {QStringLiteral("职工编码")};
    return l;
}

}  // namespace

class TestWindowedRows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        folder_ = std::make_unique<ProgramFolder>();
        demo::generate(folder_->db(), {.employees = 700, .seed = 3});
    }

    void cleanupTestCase() { folder_.reset(); }

    // Every window matches the plain read, wherever it is read from, and no more than the kept
    // windows are ever held.
    void windowsMatchTheFullRead()
    {
        const windowed::Listing listing = query::basicSituationListing({});
        const QList<QVariantList> all = windowed::readAll(folder_->db(), listing);
        QVERIFY(all.size() > 4 * WindowedRows::kWindowRows);

        WindowedRows model;
        model.open(folder_->db(), listing);
        QCOMPARE(model.rowCount(), all.size());
        QCOMPARE(model.columnCount(), int(query::basicSituationColumns().size()));
        QCOMPARE(model.headerData(10, Qt::Horizontal, Qt::DisplayRole).toString(), "任职时间");
        QCOMPARE(model.heldRows(), WindowedRows::kWindowRows);  // the first window only

        const int last = int(all.size()) - 1;
        QCOMPARE(rowOf(model, last), all.at(last));  // a jump to the end
        QCOMPARE(rowOf(model, last / 2), all.at(last / 2));
        QCOMPARE(rowOf(model, 0), all.at(0));
        QCOMPARE(model.value(last, "职工编码"), all.at(last).at(0));
        QCOMPARE(model.value(last, "聘任时间"), all.at(last).at(20));
        for (int r = last; r >= 0; --r) {
            QCOMPARE(rowOf(model, r), all.at(r));
            QVERIFY(model.heldRows() <= kHeldAtMost);
        }
        for (int r = 0; r <= last; ++r)
            QCOMPARE(rowOf(model, r), all.at(r));
        QVERIFY(model.heldRows() <= kHeldAtMost);
        QVERIFY(!model.index(last + 1, 0).data().isValid());
    }

    // Lists of none, one and a window's rows and of one more: the count and the last row are
    // right at every edge of a window.
    void countsAtWindowEdges()
    {
        const QList<QVariantList> all = windowed::readAll(folder_->db(), byCode());
        constexpr int window = WindowedRows::kWindowRows;
        for (const int rows : {0, 1, window, window + 1, 2 * window + 1}) {
            windowed::Listing first = byCode();
            first.where = QStringLiteral("职工编码<:end");
            first.values = {{":end", rows < all.size() ? all.at(rows).at(0) : QVariant(QStringLiteral("999999"))}};
            WindowedRows model;
            model.open(folder_->db(), first);
            QCOMPARE(model.rowCount(), rows);
            if (rows > 0)
                QCOMPARE(rowOf(model, rows - 1), all.at(rows - 1));
            QVERIFY(!model.index(rows, 0).data().isValid());
        }
    }

    // Windows that start and end inside a run of equal names neither repeat nor skip a row.
    void tiesOnTheSortKey()
    {
        const QSqlDatabase db = folder_->db();
        sql::exec(db, "update zghmc set 职工姓名=case cast(substr(职工编码, 6, 1) as integer) % 3 when 0 then '张伟' when 1 then '王芳' else '李娜' end");
        const QList<QVariantList> all = windowed::readAll(db, byName());
        WindowedRows model;
        model.open(db, byName());
        QCOMPARE(model.rowCount(), all.size());
        QSet<QString> codes;
        for (int r = model.rowCount() - 1; r >= 0; --r) {
            QCOMPARE(rowOf(model, r), all.at(r));
            codes << model.value(r, 0).toString();
        }
        QCOMPARE(codes.size(), model.rowCount());
    }

    // Rows deleted after the list was opened leave blanks, never another window's rows; rows
    // added never make a window hold more than its size. Reading the list again shows the change.
    void listChangingUnderIt()
    {
        const QSqlDatabase db = folder_->db();
        const bool server = onPostgres(db);
        WindowedRows model;
        model.open(db, byName());
        const int count = model.rowCount();
        const QList<QVariantList> before = windowed::readAll(db, byName());
        // Employees with other rows are kept by their references; the list is read anew below.
        execOrDie(db, server ? "set session_replication_role = replica" : "pragma foreign_keys=off");
        QSqlQuery remove = sql::prepare(db, "delete from zghmc where 职工编码=:code");
        for (int r = WindowedRows::kWindowRows; r < WindowedRows::kWindowRows + 10; ++r) {
            remove.bindValue(":code", before.at(r).at(0));
            sql::exec(remove);
        }
        execOrDie(db, server ? "set session_replication_role = origin" : "pragma foreign_keys=on");
        sql::exec(db, "insert into zghmc (职工编码, 职工姓名) "
                      "select '9' || substr('0000' || rowid, length('0000' || rowid) - 4), '张伟' from zghmc limit 40");
        QCOMPARE(model.rowCount(), count);
        QCOMPARE(rowOf(model, 0), before.at(0));
        const int second = WindowedRows::kWindowRows;
        QCOMPARE(rowOf(model, 2 * second), before.at(2 * second));  // the next window as it starts
        QSet<QString> seen;
        for (int r = 0; r < count; ++r) {
            const QString code = model.value(r, 0).toString();
            QVERIFY2(code.isEmpty() || !seen.contains(code), qPrintable(code));
            seen << code;
        }
        for (int r = second; r < second + 10; ++r)
            QVERIFY(!seen.contains(before.at(r).at(0).toString()));
        QVERIFY(model.heldRows() <= kHeldAtMost);

        model.open(db, byName());
        QCOMPARE(model.rowCount(), count - 10 + 40);
        QCOMPARE(rowOf(model, model.rowCount() - 1), windowed::readAll(db, byName()).last());
    }

    void failedReadingKeepsTheList()
    {
        WindowedRows model;
        model.open(folder_->db(), byName());
        const int count = model.rowCount();
        windowed::Listing broken = byName();
        broken.where = QStringLiteral("no_such_column=1");
        QVERIFY_THROWS_EXCEPTION(sql::Failure, model.open(folder_->db(), broken));
        QCOMPARE(model.rowCount(), count);
        QCOMPARE(model.value(0, "职工姓名"), windowed::readAll(folder_->db(), byName()).at(0).at(1));
    }

private:
    std::unique_ptr<ProgramFolder> folder_;
};

QTEST_MAIN(TestWindowedRows)
#include "test_windowed_rows.moc"
