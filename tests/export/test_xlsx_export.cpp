// "导出Excel…": workbooks of a roster, a statistics table with empty cells and a money grid,
// read back with openpyxl (an independent reader): titles, bold headers, cell types, values,
// number formats and column widths; the button's place; failures reported with no file left.

#include "app/file_choice.h"
#include "app/grid_export.h"
#include "app/main_window.h"
#include "app/notify.h"
#include "app/screen_registry.h"
#include "app/striped_grid.h"
#include "app/title_strip.h"
#include "db/clock.h"
#include "db/database.h"
#include "db/money.h"
#include "db/windowed_rows.h"
#include "demo/demo_organisation.h"
#include "pay/pay_entry_screen.h"
#include "staff/roster_query.h"
#include "staff/roster_screen.h"
#include "stats/statistics_screen.h"
#include "support/test_support.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

void registerAllScreens(ScreenRegistry &registry);

namespace {

QJsonObject readBack(const QString &file) { return workbookSheets(file).at(0).toObject(); }

QJsonObject cellAt(const QJsonObject &book, int row, int column)
{
    return book["rows"].toArray().at(row).toArray().at(column).toObject();
}

QStringList rowTexts(const QJsonObject &book, int row)
{
    QStringList texts;
    for (const QJsonValue &c : book["rows"].toArray().at(row).toArray())
        texts << c.toObject()["v"].toVariant().toString();
    return texts;
}

// Answers the file dialog with `file` and records the message boxes.
struct Exporting {
    explicit Exporting(const QString &file)
        : choosing([this, file](const file_choice::Request &r) {
              asked << r;
              return file;
          }),
          observing([this](notify::Kind kind, const QString &, const QString &text) { messages << qMakePair(kind, text); })
    {
    }
    QList<file_choice::Request> asked;
    QList<QPair<notify::Kind, QString>> messages;
    const file_choice::ScopedChooser choosing;
    const notify::ScopedObserver observing;
};

// A program folder with a generated organisation, and the main window with every screen.
struct Program {
    explicit Program(int employees)
    {
        demo::Options options;
        options.employees = employees;
        demo::generate(folder.db(), options);
        registerAllScreens(registry);
        window.resize(1300, 800);
        window.show();
    }
    template <class Screen>
    Screen *open(const QString &className)
    {
        auto *screen = qobject_cast<Screen *>(window.openScreen(className));
        return QTest::qWaitForWindowExposed(&window) ? screen : nullptr;
    }
    ProgramFolder folder;
    ScreenRegistry registry;
    TfrmMain window{registry};
};

// The button that follows `caption` in its row.
QString buttonAfter(QWidget &screen, const QString &caption)
{
    for (QPushButton *b : screen.findChildren<QPushButton *>()) {
        if (b->text() != caption)
            continue;
        for (QBoxLayout *row : screen.findChildren<QBoxLayout *>())
            if (const int at = row->indexOf(b); at >= 0 && row->itemAt(at + 1) && row->itemAt(at + 1)->widget())
                if (auto *next = qobject_cast<QPushButton *>(row->itemAt(at + 1)->widget()))
                    return next->text();
    }
    return {};
}

}  // namespace

class TestXlsxExport : public QObject {
    Q_OBJECT
private slots:
    // A roster from its button: codes stay text, ISO dates become dates, months stay text.
    // Every row is written, read a window at a time from the list, which never holds them all.
    void roster()
    {
        Program program(1000);
        auto *screen = program.open<RosterScreen>("Tfrmkjgbxx");
        QVERIFY(screen);
        QCOMPARE(buttonAfter(*screen, "打印花名册"), grid_export::kCaption);
        const QList<QVariantList> rows =
            roster::read(program.folder.db(), *roster::findMember("Tfrmkjgbxx"), screen->filter());
        QVERIFY(rows.size() > 3 * WindowedRows::kWindowRows);
        QCOMPARE(screen->rows()->rowCount(), rows.size());

        const QString file = program.folder.file("花名册.xlsx");
        Exporting exporting(file);
        screen->button(grid_export::kCaption)->click();
        QCOMPARE(exporting.asked.size(), 1);
        // Named by the roster and what it covers: every department, the level and its range.
        const QString covered = QStringLiteral("科级以上干部花名册 全部 %1以上").arg(screen->levelBox()->currentText());
        QVERIFY(exporting.asked[0].suggested.endsWith(covered + ".xlsx"));
        QCOMPARE(exporting.messages.size(), 1);
        QCOMPARE(exporting.messages[0].first, notify::Kind::Information);
        QVERIFY(screen->rows()->heldRows() <= WindowedRows::kWindowRows * WindowedRows::kKeptWindows);

        const QJsonObject book = readBack(file);
        QCOMPARE(book["name"].toString(), covered.left(31));
        QCOMPARE(cellAt(book, 0, 0)["v"].toString(), covered);
        QVERIFY(cellAt(book, 0, 0)["b"].toBool());
        QCOMPARE(book["merged"].toArray().at(0).toString(), QStringLiteral("A1:S1"));
        QCOMPARE(book["frozen"].toString(), "A3");
        QCOMPARE(rowTexts(book, 1), roster::fieldTitles());
        QVERIFY(cellAt(book, 1, 3)["b"].toBool());
        QCOMPARE(book["rows"].toArray().size(), rows.size() + 2);
        for (int r = 0; r < rows.size(); ++r) {
            const QJsonObject code = cellAt(book, r + 2, roster::Code), joined = cellAt(book, r + 2, roster::JoinedCompany);
            QCOMPARE(code["t"].toString(), "s");
            QCOMPARE(code["v"].toString(), rows[r][roster::Code].toString());
            QCOMPARE(joined["t"].toString(), rows[r][roster::JoinedCompany].toString().isEmpty() ? "n" : "d");
            QCOMPARE(joined["v"].toVariant().toString(), rows[r][roster::JoinedCompany].toString());
            if (!joined["v"].isNull())
                QCOMPARE(joined["f"].toString(), "yyyy-mm-dd");
            const QJsonObject born = cellAt(book, r + 2, roster::Born);  // "1970-05": a month, text
            QCOMPARE(born["v"].toString(), rows[r][roster::Born].toString());
        }
        // Ideographs count double: the name column holds three-character names.
        QVERIFY(book["widths"].toArray().at(roster::Name).toDouble() >= 8);
    }

    // A statistics table: counts as whole numbers, shares with two decimals, empty cells empty;
    // and wenpad-admin rebuild --xlsx writes the CSV's rows.
    void statistics()
    {
        Program program(120);
        auto *screen = program.open<StatisticsScreen>("Tfrmzgjbqkfxb");
        QVERIFY(screen);
        QCOMPARE(buttonAfter(*screen, "打印"), grid_export::kCaption);
        const QString file = program.folder.file("分析表.xlsx");
        {
            Exporting exporting(file);
            grid_export::exportGrid(*screen->grid());
        }
        const QJsonObject book = readBack(file);
        QCOMPARE(cellAt(book, 0, 0)["v"].toString(),
                 "职工基本情况分析表 截止日期 " + screen->cutoffPicker()->date().toString(Qt::ISODate));
        const QSqlQueryModel *model = screen->model();
        QCOMPARE(book["rows"].toArray().size(), model->rowCount() + 2);
        int empty = 0, shares = 0;
        for (int r = 0; r < model->rowCount(); ++r)
            for (int c = 0; c < model->columnCount(); ++c) {
                const QVariant value = model->index(r, c).data();
                const QJsonObject cell = cellAt(book, r + 2, c);
                if (r == 0)
                    QCOMPARE(cellAt(book, 1, c)["v"].toString(), model->headerData(c, Qt::Horizontal).toString());
                if (value.isNull()) {
                    QVERIFY(cell["v"].isNull());
                    ++empty;
                } else if (value.typeId() == QMetaType::Double) {
                    QCOMPARE(cell["t"].toString(), "n");
                    QCOMPARE(cell["f"].toString(), "0.00");
                    QVERIFY(qAbs(cell["v"].toDouble() - value.toDouble()) < 1e-9);
                    ++shares;
                } else if (QList<int>{QMetaType::Int, QMetaType::LongLong, QMetaType::ULongLong}.contains(value.typeId())) {
                    // A count, whichever integer type the engine's driver reads it as.
                    QCOMPARE(cell["t"].toString(), "n");
                    QCOMPARE(cell["v"].toInteger(), value.toLongLong());
                } else {
                    QCOMPARE(cell["t"].toString(), "s");
                    QCOMPARE(cell["v"].toString(), value.toString());
                }
            }
        QVERIFY(empty > 0);
        QVERIFY(shares > 0);

        const QString out = program.folder.file("admin.xlsx");
        const AdminRun rebuilt = runAdmin({"rebuild", "zgjbqkfxb", "--db", program.folder.address(), "--date", "2026-06-30", "--xlsx", out});
        QCOMPARE(rebuilt.status, 0);
        const QStringList csv = rebuilt.out.trimmed().split('\n');
        // The same grid as the screen's, titled with the cut-off; as many rows as the CSV.
        const QJsonObject written = readBack(out);
        QCOMPARE(cellAt(written, 0, 0)["v"].toString(), "职工基本情况分析表 截止日期 2026-06-30");
        QCOMPARE(rowTexts(written, 1), rowTexts(book, 1));
        QCOMPARE(written["rows"].toArray().size(), csv.size() + 1);
    }

    // The pay grids through wenpad-admin grid --xlsx: one sheet per tab, amounts shown as yuan
    // text written as amounts, codes and names as text.
    void payGrids()
    {
        ProgramFolder folder;
        demo::Options options;
        options.employees = 60;
        demo::generate(folder.db(), options);
        database::close(database::kSharedConnection);
        const QString out = folder.file("工资统计.xlsx");
        const AdminRun grids = runAdmin({"grid", "TFrmgsngztj", "--db", folder.address(), "--year", "2026", "--xlsx", out});
        QVERIFY2(grids.status == 0, qPrintable(grids.err));
        const QStringList csv = grids.out.trimmed().split('\n');
        const QJsonArray sheets = workbookSheets(out);
        QCOMPARE(sheets.size(), 3);
        int amounts = 0;
        for (const QJsonValue &value : sheets) {
            const QJsonObject sheet = value.toObject();
            // The CSV carries each tab's caption, then its header line, then its rows.
            const qsizetype at = csv.indexOf(sheet["name"].toString());
            QVERIFY2(at >= 0, qPrintable(sheet["name"].toString()));
            QCOMPARE(cellAt(sheet, 0, 0)["v"].toString(), sheet["name"].toString());
            QCOMPARE(rowTexts(sheet, 1).join(','), csv[at + 1]);
            const QStringList first = csv[at + 2].split(',');
            for (int c = 1; c < first.size(); ++c) {
                const QJsonObject cell = cellAt(sheet, 2, c);
                if (first[c].isEmpty())
                    continue;
                QCOMPARE(cell["t"].toString(), "n");
                QCOMPARE(cell["v"].toDouble(), first[c].toDouble());
                if (first[c].contains('.')) {
                    QCOMPARE(cell["f"].toString(), "0.00");
                    ++amounts;
                }
            }
            QCOMPARE(cellAt(sheet, 2, 0)["t"].toString(), "s");
        }
        QVERIFY(amounts > 0);
    }

    // On the pay sheets' screen the button exports the sheet in front, not the department list.
    void buttonExportsTheSheetInFront()
    {
        const clock_source::ScopedToday today(QDate(2026, 6, 15));
        Program program(60);
        auto *screen = program.open<Tfrmgzlr>("Tfrmgzlr");
        QVERIFY(screen);
        QCOMPARE(buttonAfter(*screen, "打印工资表"), grid_export::kCaption);
        screen->tabs()->setCurrentIndex(1);
        const QAbstractItemModel *sheet = screen->sheetGrid(1)->model();
        QVERIFY(sheet->rowCount() > 0);
        const QString file = program.folder.file("补贴.xlsx");
        {
            Exporting exporting(file);
            screen->button(grid_export::kCaption)->click();
        }
        const QJsonObject book = readBack(file);
        // The title row and the sheet's name say which month and department it holds.
        const QString covered = QStringLiteral("职工工资表 2026年06月 %1 补贴表").arg(screen->departmentName());
        QCOMPARE(cellAt(book, 0, 0)["v"].toString(), covered);
        QCOMPARE(book["name"].toString(), covered.left(31));
        QCOMPARE(cellAt(book, 1, 0)["v"].toString(), "职工编码");
        QCOMPARE(cellAt(book, 1, 2)["v"].toString(), sheet->headerData(2, Qt::Horizontal).toString());
        // The rows, then the "合计" row: each amount column's exact sum, in bold.
        const int totalsRow = sheet->rowCount() + 2;
        QCOMPARE(book["rows"].toArray().size(), totalsRow + 1);
        QCOMPARE(cellAt(book, totalsRow, 0)["v"].toString(), "合计");
        QVERIFY(cellAt(book, totalsRow, 0)["b"].toBool());
        for (int c = 2; c < sheet->columnCount(); ++c) {
            qint64 sum = 0;
            for (int r = 0; r < sheet->rowCount(); ++r)
                sum += money::parseYuan(sheet->index(r, c).data().toString()).value_or(0);
            QCOMPARE(qRound64(cellAt(book, totalsRow, c)["v"].toDouble() * 10000), sum);
        }
    }

    // Stored hours and scores show as stored (0.125 is not "0.13", 89.995 not "90.00"), in the
    // grid and in the workbook, where computed shares keep two decimals.
    void measuredColumns()
    {
        ProgramFolder folder;
        QWidget screen;
        auto *layout = new QVBoxLayout(&screen);
        layout->addWidget(makeTitleStrip("  人事资料记录卡 >> 考勤", &screen));
        auto *grid = new StripedGrid(&screen);
        layout->addWidget(grid);
        RowsModel model({"事由", "时数", "成绩", "占比"});
        model.setRows({{"事假", 0.125, 89.995, 1.0 / 3}, {"病假", 31.625, 90.0, 50.0}});
        model.setMeasuredColumns({1, 2});
        grid->setModel(&model);
        screen.show();
        struct Delegate : StripedDelegate {
            using StripedDelegate::initStyleOption;
        } delegate;
        const QList<QStringList> shown = {{"0.125", "89.995", "0.33"}, {"31.625", "90", "50.00"}};
        for (int row = 0; row < 2; ++row)
            for (int column = 1; column <= 3; ++column) {
                QStyleOptionViewItem option;
                delegate.initStyleOption(&option, model.index(row, column));
                QCOMPARE(option.text, shown[row][column - 1]);
            }

        const QString file = folder.file("考勤.xlsx");
        Exporting exporting(file);
        grid_export::exportGrid(*grid);
        const QJsonObject book = readBack(file);
        for (const auto &[row, column, value, format] :
             {std::tuple{2, 1, 0.125, "General"}, {2, 2, 89.995, "General"}, {2, 3, 1.0 / 3, "0.00"}, {3, 1, 31.625, "General"}}) {
            const QJsonObject cell = cellAt(book, row, column);
            QCOMPARE(cell["t"].toString(), "n");
            QCOMPARE(cell["v"].toDouble(), value);
            QCOMPARE(cell["f"].toString(), QString(format));
        }
    }

    // Money columns: amounts in yuan, all four decimals kept, two shown; hidden columns left
    // out and moved ones in their shown place; a failing write names the file and leaves none.
    void moneyGrid()
    {
        ProgramFolder folder;
        QWidget screen;
        auto *layout = new QVBoxLayout(&screen);
        layout->addWidget(makeTitleStrip("  工资管理 >> 月工资录入", &screen));
        auto *grid = new StripedGrid(&screen);
        layout->addWidget(grid);
        QSqlQueryModel model;
        model.setQuery("select '000001' as 职工编码, 36000000 as 工资, 12345 as 奖金, null as 津贴, '2024-01-31' as 日期, 'x' as 备注"
                       " union all select '000002', -5000, 0, 1000000, null, 'y'",
                       folder.db());
        for (int c = 1; c <= 3; ++c)
            model.setHeaderData(c, Qt::Horizontal, true, xlsx::kMoneyColumnRole);
        grid->setModel(&model);
        grid->setColumnHidden(5, true);
        grid->horizontalHeader()->moveSection(4, 1);  // 日期 shown second
        screen.show();
        // The grid shows the amounts in yuan with two decimals (the workbook keeps all four).
        struct Delegate : StripedDelegate {
            using StripedDelegate::initStyleOption;
        } delegate;
        for (const auto &[row, column, shown] : {std::tuple{0, 1, "3600.00"}, {0, 2, "1.23"}, {1, 1, "-0.50"}}) {
            QStyleOptionViewItem option;
            delegate.initStyleOption(&option, model.index(row, column));
            QCOMPARE(option.text, QString(shown));
        }

        const QString file = folder.file("工资.xlsx");
        Exporting exporting(file);
        grid_export::exportGrid(*grid);
        const QJsonObject book = readBack(file);
        QCOMPARE(cellAt(book, 0, 0)["v"].toString(), "月工资录入");
        QCOMPARE(rowTexts(book, 1), QStringList({"职工编码", "日期", "工资", "奖金", "津贴"}));
        struct Expected {
            int row, column;
            QVariant value;
            const char *type;
            const char *format;
        };
        for (const Expected &e : std::initializer_list<Expected>{
                 {2, 0, "000001", "s", "General"}, {2, 1, "2024-01-31", "d", "yyyy-mm-dd"}, {2, 2, 3600.0, "n", "0.00"},
                 {2, 3, 1.2345, "n", "0.00"},      {2, 4, QVariant(), "n", "General"},    {3, 2, -0.5, "n", "0.00"},
                 {3, 3, 0.0, "n", "0.00"},         {3, 4, 100.0, "n", "0.00"}}) {
            const QJsonObject cell = cellAt(book, e.row, e.column);
            const QString where = QStringLiteral("row %1 column %2").arg(e.row).arg(e.column);
            QVERIFY2(cell["t"].toString() == e.type, qPrintable(where));
            QVERIFY2(cell["f"].toString() == e.format, qPrintable(where));
            if (e.value.typeId() == QMetaType::Double)
                QVERIFY2(cell["v"].toDouble() == e.value.toDouble(), qPrintable(where));
            else
                QVERIFY2(cell["v"].toVariant().toString() == e.value.toString(), qPrintable(where));
        }
        QCOMPARE(book["rows"].toArray().size(), 4);

        // A stopped export leaves the earlier workbook as it was.
        QFile earlier(file);
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        const QByteArray bytes = earlier.readAll();
        earlier.close();
        QString error;
        QVERIFY(!xlsx::write(grid_export::tableOf(*grid), file, &error, [](int, int) { return false; }));
        QVERIFY(error.contains("导出已取消"));
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), bytes);
        QCOMPARE(QDir(folder.path()).entryList({"*.part"}, QDir::Files | QDir::Hidden), QStringList());

        const QString missing = folder.file("无此目录/工资.xlsx");
        Exporting failing(missing);
        grid_export::exportGrid(*grid);
        QCOMPARE(failing.messages.size(), 1);
        QCOMPARE(failing.messages[0].first, notify::Kind::Error);
        QVERIFY(failing.messages[0].second.contains("无法写入文件"));
        QVERIFY(!QFile::exists(missing));
        Exporting cancelled(QString{});
        grid_export::exportGrid(*grid);
        QVERIFY(cancelled.messages.isEmpty());

        // The context menu offers the export and starts it.
        QStringList offered;
        QTimer::singleShot(0, [&] {
            for (QMenu *menu : grid->findChildren<QMenu *>()) {
                for (QAction *a : menu->actions())
                    offered << a->text();
                menu->actions().first()->trigger();
                menu->close();
            }
        });
        QContextMenuEvent click(QContextMenuEvent::Mouse, {20, 20}, grid->viewport()->mapToGlobal(QPoint(20, 20)));
        QCoreApplication::sendEvent(grid->viewport(), &click);  // where a right click lands
        QCOMPARE(offered, QStringList{grid_export::kCaption});
        QCOMPARE(cancelled.asked.size(), 2);
    }
};

QTEST_MAIN(TestXlsxExport)
#include "test_xlsx_export.moc"
