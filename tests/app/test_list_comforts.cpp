// Sorting, "查找", "共 N 条" and the "合计" row of the striped grids: by each kind of value
// (number, amount, date, code, text, empty), in memory and in the database's windows (across
// window borders, ties included), with literal search text; totals against sums of the rows.

#include "app/column_totals.h"
#include "app/function_screen.h"
#include "app/main_window.h"
#include "app/notify.h"
#include "app/prompt.h"
#include "app/screen_registry.h"
#include "app/search_bar.h"
#include "app/striped_grid.h"
#include "db/money.h"
#include "db/sql.h"
#include "db/value_order.h"
#include "db/windowed_rows.h"
#include "demo/demo_organisation.h"
#include "export/xlsx_export.h"
#include "support/test_support.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

namespace {

// The columns of the table below: what kind of value each holds.
enum Column { Code, Number, Amount, ShownAmount, Date, Name, ColumnCount };
const QStringList kTitles = {"职工编码", "人数", "金额", "实发工资", "出生年月", "职工姓名"};

// 300 rows (more than two windows), many ties, some empty cells, names with % _ ' inside.
QList<QVariantList> sampleRows()
{
    QList<QVariantList> rows;
    const QStringList names = {"张三", "李%四", "王_五", "赵'六", "张三丰", "钱七"};
    for (int i = 0; i < 300; ++i) {
        const QString code = QString::number(i * 7919 % 1000).rightJustified(i % 3 == 0 ? 4 : 6, '0');
        rows << QVariantList{code + QString::number(i),  // unique
                             i % 10 == 0 ? QVariant() : QVariant(qlonglong((i * 37) % 50 - 5)),
                             QVariant(qlonglong((i * 104729) % 2000000 - 100000)),
                             money::formatYuan((i * 7) % 1300 * 125),
                             i % 11 == 0 ? QVariant() : QVariant(QDate(1950 + i % 50, 1 + i % 12, 1 + i % 28).toString(Qt::ISODate)),
                             names.at(i % names.size())};
    }
    return rows;
}

QVariantList columnOf(const QAbstractItemModel &model, int column)
{
    QVariantList values;
    for (int r = 0; r < model.rowCount(); ++r)
        values << model.index(r, column).data();
    return values;
}

// The column's values sorted by the independent rule of value_order.
QVariantList expectedOrder(const QList<QVariantList> &rows, int column, Qt::SortOrder order)
{
    QVariantList values;
    for (int r : value_order::sortedRows(int(rows.size()), [&](int r) { return rows.at(r).value(column); }, order))
        values << rows.at(r).value(column);
    return values;
}

void clickTitle(StripedGrid &grid, int column)
{
    QHeaderView *header = grid.horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

QStringList texts(const QVariantList &values)
{
    QStringList out;
    for (const QVariant &v : values)
        out << v.toString();
    return out;
}

}  // namespace

class TestListComforts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        folder_ = std::make_unique<ProgramFolder>();
        const QSqlDatabase db = folder_->db();
        sql::exec(db, "create table t (职工编码 text primary key, 人数 integer, 金额 integer, 实发工资 text, 出生年月 date, 职工姓名 text)");
        for (const QVariantList &row : sampleRows()) {
            QSqlQuery q = sql::prepare(db, "insert into t values (:a, :b, :c, :d, :e, :f)");
            int i = 0;
            for (const char *name : {":a", ":b", ":c", ":d", ":e", ":f"})
                q.bindValue(name, row.at(i++));
            sql::exec(q);
        }
    }

    void cleanupTestCase() { folder_.reset(); }

    // Each kind of value in the order its meaning gives, not its text.
    void valuesCompareByKind_data()
    {
        QTest::addColumn<QVariant>("lower");
        QTest::addColumn<QVariant>("higher");
        QTest::newRow("numbers") << QVariant(9) << QVariant(qlonglong(10));
        QTest::newRow("negative numbers") << QVariant(-20) << QVariant(-3);
        QTest::newRow("shown amounts") << QVariant("99.50") << QVariant("100.00");
        QTest::newRow("amounts exact") << QVariant("1.2345") << QVariant("1.2346");
        QTest::newRow("reals") << QVariant(0.125) << QVariant(0.5);
        QTest::newRow("dates") << QVariant("1999-12-31") << QVariant("2000-01-01");
        QTest::newRow("date values") << QVariant(QDate(1999, 12, 31)) << QVariant(QDate(2000, 1, 1));
        QTest::newRow("codes keep zeros") << QVariant("0101") << QVariant("02");
        QTest::newRow("employee codes") << QVariant("000099") << QVariant("000100");
        QTest::newRow("text") << QVariant("张三") << QVariant("张三丰");
        // An empty cell is the smallest value, as the database sorts it.
        QTest::newRow("empty before numbers") << QVariant() << QVariant(-1000000);
        QTest::newRow("empty before text") << QVariant() << QVariant("a");
        QTest::newRow("empty text as empty") << QVariant("") << QVariant(-5);
    }
    void valuesCompareByKind()
    {
        QFETCH(QVariant, lower);
        QFETCH(QVariant, higher);
        QVERIFY(value_order::compare(lower, higher) < 0);
        QVERIFY(value_order::compare(higher, lower) > 0);
        QCOMPARE(value_order::compare(lower, lower), 0);
    }

    // A click on a title sorts by it, a second click descending; in memory and in the
    // database's windows alike, the selected row staying on its row in memory.
    void clickingTitlesSorts_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("windowed");
        // Amounts shown as text live in memory only; the database holds amounts as units.
        for (bool windowed : {false, true})
            for (int c = 0; c < ColumnCount; ++c)
                if (!(windowed && c == ShownAmount))
                    QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(kTitles[c], windowed ? "windowed" : "memory")))
                    << c << windowed;
    }
    void clickingTitlesSorts()
    {
        QFETCH(int, column);
        QFETCH(bool, windowed);
        const QList<QVariantList> rows = sampleRows();
        QWidget screen;
        auto *grid = new StripedGrid(&screen);
        (new QVBoxLayout(&screen))->addWidget(grid);
        RowsModel memory(kTitles);
        WindowedRows windows(kTitles);
        showRows(*grid, windowed, memory, windows, rows);
        screen.resize(900, 500);
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        grid->selectRow(5);
        const QString selected = grid->currentIndex().siblingAtColumn(Code).data().toString();

        clickTitle(*grid, column);
        QCOMPARE(texts(columnOf(*grid->model(), column)), texts(expectedOrder(rows, column, Qt::AscendingOrder)));
        QCOMPARE(grid->horizontalHeader()->sortIndicatorSection(), column);
        if (!windowed)
            QCOMPARE(grid->currentIndex().siblingAtColumn(Code).data().toString(), selected);
        else
            QCOMPARE(grid->currentIndex().row(), 0);  // read anew: the first row

        clickTitle(*grid, column);
        QCOMPARE(texts(columnOf(*grid->model(), column)), texts(expectedOrder(rows, column, Qt::DescendingOrder)));
        QCOMPARE(grid->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
        // Ties stay in a fixed order both ways: the unique column is still unique and whole.
        const QStringList codes = texts(columnOf(*grid->model(), Code));
        QCOMPARE(QSet<QString>(codes.begin(), codes.end()).size(), rows.size());
        QCOMPARE(grid->countText(), QStringLiteral("共 300 条"));
    }

    // A list not to be sorted (a statistics table) keeps its order on a click.
    void fixedOrderStays()
    {
        StripedGrid grid;
        RowsModel model({"单位名称", "人数"});
        model.setRows({{"乙", 2}, {"甲", 1}});
        grid.setModel(&model);
        grid.setSortable(false);
        grid.resize(400, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        clickTitle(grid, 0);
        QCOMPARE(model.index(0, 0).data().toString(), "乙");
    }

    // "查找" narrows by code or name, the typed characters taken literally, and "共 N 条"
    // follows; in memory and in the database.
    void searchIsLiteral_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("beginning of a name") << "张三" << 100;  // 张三 and 张三丰
        QTest::newRow("inside a name") << "三丰" << 50;
        QTest::newRow("percent") << "%" << 50;
        QTest::newRow("underscore") << "_" << 50;
        QTest::newRow("quote") << "'" << 50;
        QTest::newRow("code") << "2990" << 0;
        QTest::newRow("nobody") << "%%" << 0;
    }
    void searchIsLiteral()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        const QList<QVariantList> rows = sampleRows();
        int byCode = 0;
        if (text == "2990") {
            for (const QVariantList &r : rows)
                byCode += r.at(Code).toString().contains(text) ? 1 : 0;
            expected = byCode;
        }
        for (bool windowed : {false, true}) {
            QWidget screen;
            auto *grid = new StripedGrid(&screen);
            auto *bar = new SearchBar(&screen, {grid});
            auto *layout = new QVBoxLayout(&screen);
            layout->addWidget(bar);
            layout->addWidget(grid);
            RowsModel memory(kTitles);
            WindowedRows windows(kTitles);
            showRows(*grid, windowed, memory, windows, rows);
            bar->box()->setText(text);
            QCOMPARE(int(grid->shownRows().size()), expected);
            QCOMPARE(grid->countText(), QStringLiteral("共 %1 条").arg(expected));
            for (int r : grid->shownRows()) {
                const QModelIndex row = grid->model()->index(r, 0);
                QVERIFY(row.siblingAtColumn(Code).data().toString().contains(text)
                        || row.siblingAtColumn(Name).data().toString().contains(text));
            }
            bar->box()->clear();
            QCOMPARE(int(grid->shownRows().size()), rows.size());
        }
    }

    // Every list of employees (a grid with a 职工姓名 column) on every screen of the program has
    // "查找" above it.
    void everyListOfEmployeesHasFind()
    {
        ProgramFolder folder;
        demo::generate(folder.db(), {.employees = 30, .seed = 4});
        ScreenRegistry registry;
        registerAllScreens(registry);
        TfrmMain window{registry};
        const notify::ScopedObserver quiet([](notify::Kind, const QString &, const QString &) {});
        const prompt::ScopedAnswerer ignore([](const prompt::Call &) { return int(prompt::Ignore); });
        const notify::ScopedAnswerer no([](const QString &, const QString &) { return false; });
        QStringList checked, without;
        for (const QString &name : registry.classNames()) {
            FunctionScreen *screen = window.openScreen(name);  // further windows open from their screens
            if (!screen)
                continue;
            QCoreApplication::processEvents();
            for (const StripedGrid *grid : screen->findChildren<StripedGrid *>()) {
                QStringList titles;
                for (int c = 0; grid->model() && c < grid->model()->columnCount(); ++c)
                    titles << grid->model()->headerData(c, Qt::Horizontal).toString();
                if (!titles.contains("职工姓名"))
                    continue;
                checked << name;
                if (!screen->findChild<QLineEdit *>("quickSearch"))
                    without << name;
            }
            screen->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QVERIFY2(checked.size() > 15, qPrintable(checked.join(' ')));
        QVERIFY2(without.isEmpty(), qPrintable("no 查找 on " + without.join(' ')));
    }

    // The "合计" row: amounts (units of a money column, or yuan text) and whole numbers summed
    // exactly over the rows shown; codes, dates and names not; an overflow said, not wrapped.
    void totalsAddUpTheRows()
    {
        const QList<QVariantList> rows = sampleRows();
        RowsModel model(kTitles);
        model.setRows(rows);
        model.setHeaderData(Amount, Qt::Horizontal, true, xlsx::kMoneyColumnRole);
        const std::vector<column_totals::Total> totals = column_totals::totals(model);
        qint64 number = 0, amount = 0, shown = 0;
        for (const QVariantList &r : rows) {
            number += r.at(Number).toLongLong();
            amount += r.at(Amount).toLongLong();
            shown += *money::parseYuan(r.at(ShownAmount).toString());
        }
        QCOMPARE(totals[Number].kind, column_totals::Total::Whole);
        QCOMPARE(totals[Number].value, number);
        QCOMPARE(totals[Amount].kind, column_totals::Total::Amount);
        QCOMPARE(totals[Amount].value, amount);
        QCOMPARE(totals[ShownAmount].value, shown);
        QCOMPARE(totals[ShownAmount].shown(), money::formatShown(shown));
        for (int c : {Code, Date, Name})
            QCOMPARE(totals[size_t(c)].kind, column_totals::Total::None);
        QCOMPARE(column_totals::printed(totals).front(), "合计");

        // Over the rows a search leaves.
        StripedGrid grid;
        grid.setModel(&model);
        grid.setTotalsShown(true);
        grid.search("赵'六");
        qint64 shownOfMatched = 0;
        for (int r : grid.shownRows())
            shownOfMatched += *money::parseYuan(model.index(r, ShownAmount).data().toString());
        QCOMPARE(column_totals::totals(model, grid.shownRows())[ShownAmount].value, shownOfMatched);

        RowsModel huge({"金额"});
        huge.setRows(QList<QVariantList>(10, {QStringLiteral("99999999999999.0000")}));  // the largest amounts typed
        QVERIFY(column_totals::totals(huge)[0].overflow);
        QCOMPARE(column_totals::totals(huge)[0].shown(), "超出范围");
    }

    void shownMoneyHasTwoDecimals_data()
    {
        QTest::addColumn<qlonglong>("units");
        QTest::addColumn<QString>("shown");
        QTest::newRow("whole") << 36000000LL << "3600.00";
        QTest::newRow("rounded down") << 12344LL << "1.23";
        QTest::newRow("half up") << 12350LL << "1.24";
        QTest::newRow("negative") << -12350LL << "-1.24";
        QTest::newRow("tiny negative") << -1LL << "0.00";
    }
    void shownMoneyHasTwoDecimals()
    {
        QFETCH(qlonglong, units);
        QFETCH(QString, shown);
        QCOMPARE(money::formatShown(units), shown);
    }

private:
    // The sample rows on the grid, from memory or read by windows from the table t.
    void showRows(StripedGrid &grid, bool windowed, RowsModel &memory, WindowedRows &windows, const QList<QVariantList> &rows)
    {
        if (windowed) {
            grid.setModel(&windows);
            windowed::Listing l;
            l.columns = kTitles.join(", ");
            l.from = "from t";
            l.order = {"职工编码"};
            windows.open(folder_->db(), l);
        } else {
            memory.setRows(rows);
            grid.setModel(&memory);
        }
    }

    std::unique_ptr<ProgramFolder> folder_;
};

QTEST_MAIN(TestListComforts)
#include "test_list_comforts.moc"
