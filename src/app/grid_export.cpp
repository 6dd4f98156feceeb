#include "app/grid_export.h"

#include "app/column_totals.h"
#include "app/failure_message.h"
#include "app/file_choice.h"
#include "app/notify.h"
#include "app/striped_grid.h"
#include "db/sql.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

namespace grid_export {
namespace {

const char *const kHasExportButton = "hasExportButton";
const char *const kExportTitle = "exportTitle";
const char *const kExportCoverage = "exportCoverage";

// The widget that holds the grid's screen: the nearest ancestor with a title strip, or the
// grid's window.
QWidget *screenOf(const QWidget &grid)
{
    for (QWidget *w = grid.parentWidget(); w; w = w->parentWidget()) {
        if (w->findChild<QLabel *>("titleStrip", Qt::FindDirectChildrenOnly) || w->isWindow())
            return w;
    }
    return nullptr;
}

// The grid the screen's button exports: the largest striped grid shown (on a screen with
// tabs, the one in front; beside a small list of departments, the sheet).
QTableView *mainGridOf(QWidget &screen)
{
    QTableView *main = nullptr;
    for (StripedGrid *grid : screen.findChildren<StripedGrid *>()) {
        const auto area = [](const QWidget *w) { return w->width() * w->height(); };
        if (grid->isVisible() && (!main || area(grid) > area(main)))
            main = grid;
    }
    return main;
}

QBoxLayout *layoutHolding(QWidget &screen, QWidget *button)
{
    for (QBoxLayout *layout : screen.findChildren<QBoxLayout *>())
        if (layout->indexOf(button) >= 0)
            return layout;
    return nullptr;
}

}  // namespace

const QString kCaption = QStringLiteral("导出Excel…");

void setExportTitle(QWidget &grid, const QString &title) { grid.setProperty(kExportTitle, title); }

void setExportCoverage(QWidget &grid, const QString &coverage) { grid.setProperty(kExportCoverage, coverage); }

QString titleOf(const QWidget &grid)
{
    QWidget *screen = screenOf(grid);
    if (!screen)
        return QStringLiteral("导出");
    QString title = grid.property(kExportTitle).toString();
    if (title.isEmpty())
        if (const auto *strip = screen->findChild<QLabel *>("titleStrip", Qt::FindDirectChildrenOnly))
            title = xlsx::screenTitle(strip->text());
    if (title.isEmpty())
        title = screen->window()->windowTitle().trimmed();
    if (title.isEmpty())
        title = QStringLiteral("导出");
    if (const QString coverage = grid.property(kExportCoverage).toString(); !coverage.isEmpty())
        title += ' ' + coverage;
    // A grid on a tab is named by its tab too (the pay screens' three sheets).
    for (const QWidget *page = &grid; page && page != screen; page = page->parentWidget()) {
        const QWidget *stack = page->parentWidget();
        if (const auto *tabs = stack ? qobject_cast<const QTabWidget *>(stack->parentWidget()) : nullptr) {
            const int index = tabs->indexOf(const_cast<QWidget *>(page));
            if (index >= 0)
                return title + ' ' + tabs->tabText(index).trimmed();
        }
    }
    return title;
}

xlsx::Table tableOf(const QTableView &grid)
{
    xlsx::Table table;
    table.title = titleOf(grid);
    table.model = grid.model();
    const QHeaderView *header = grid.horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int column = header->logicalIndex(visual);
        if (!header->isSectionHidden(column))
            table.columns.push_back(column);
    }
    // Rows a lazy model has not fetched yet are part of what the grid shows.
    while (table.model && table.model->canFetchMore({}))
        table.model->fetchMore({});
    std::vector<int> rows;
    for (int r = 0; table.model && r < table.model->rowCount(); ++r)
        if (!grid.isRowHidden(r))
            rows.push_back(r);
    table.rows = rows;
    if (const auto *striped = qobject_cast<const StripedGrid *>(&grid); striped && striped->totalsShown()) {
        const std::vector<column_totals::Total> totals = column_totals::totals(*table.model, rows);
        for (const column_totals::Total &t : totals)
            table.totals << t.exact();
        // The caption in the first column shown that has no total.
        for (int column : table.columns.empty() ? std::vector<int>{0} : table.columns)
            if (table.totals.value(column).isNull()) {
                table.totals[column] = column_totals::kCaption;
                break;
            }
    }
    return table;
}

void exportGrid(QTableView &grid)
{
    if (!grid.model())
        return;
    const xlsx::Table table = tableOf(grid);
    exportTables(grid, {table}, table.title);
}

void exportGridAfter(QWidget &screen, QTableView &grid, const std::function<void()> &refresh)
{
    try {
        refresh();
    } catch (const sql::Failure &e) {
        failure_message::show(&screen, e, {.title = QStringLiteral("导出Excel"), .reading = true});
        return;
    }
    exportGrid(grid);
}

void exportTables(QWidget &parent, const std::vector<xlsx::Table> &tables, const QString &name)
{
    const QString file = file_choice::choose(
        &parent, {file_choice::Purpose::Save, QStringLiteral("导出Excel"), QDir::home().filePath(name + ".xlsx"),
                  QStringLiteral("Excel 工作簿 (*.xlsx)")},
        QStringLiteral(".xlsx"));
    if (file.isEmpty())
        return;
    qsizetype rows = 0;
    for (const xlsx::Table &table : tables)
        rows += table.rows ? qsizetype(table.rows->size()) : (table.model ? table.model->rowCount() : 0);
    QProgressDialog progress(QStringLiteral("正在导出……"), QStringLiteral("取消"), 0, int(rows), &parent);
    progress.setWindowTitle(QStringLiteral("导出Excel"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    const bool written = xlsx::write(tables, file, &error, [&progress](int done, int) {
        progress.setValue(done);
        return !progress.wasCanceled();
    });
    QApplication::restoreOverrideCursor();
    progress.reset();
    if (written)
        notify::show(&parent, notify::Kind::Information, QStringLiteral("导出Excel"),
                     QStringLiteral("已导出 %1 行到 %2").arg(rows).arg(QDir::toNativeSeparators(file)));
    else
        notify::show(&parent, notify::Kind::Error, QStringLiteral("导出Excel"), error);
}

QPushButton *addScreenExportButton(QWidget &screen, QPushButton &print, std::function<void()> exporter)
{
    auto *button = new QPushButton(kCaption, print.parentWidget());
    button->setMinimumSize(print.minimumSize());
    QObject::connect(button, &QPushButton::clicked, &screen, std::move(exporter));
    if (QBoxLayout *row = layoutHolding(screen, &print))
        row->insertWidget(row->indexOf(&print) + 1, button);
    screen.setProperty(kHasExportButton, true);
    return button;
}

void addButtonAfterPrint(QTableView &grid)
{
    QWidget *screen = screenOf(grid);
    if (!screen || screen->property(kHasExportButton).toBool())
        return;
    for (QPushButton *print : screen->findChildren<QPushButton *>()) {
        if (!print->text().startsWith(QStringLiteral("打印")))
            continue;
        if (!layoutHolding(*screen, print))
            continue;
        addScreenExportButton(*screen, *print, [screen] {
            if (QTableView *main = mainGridOf(*screen))
                exportGrid(*main);
        });
        return;
    }
}

}  // namespace grid_export
