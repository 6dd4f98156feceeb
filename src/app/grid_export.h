#pragma once
// "导出Excel…" of every striped grid: the grid as shown (visible columns in their order,
// visible rows) under its screen's title, written to a workbook the person chooses.

#include "export/xlsx_export.h"

#include <QString>
#include <functional>
#include <vector>

class QPushButton;
class QTableView;
class QWidget;

namespace grid_export {

extern const QString kCaption;  // "导出Excel…"

// The title a screen gives its grid's workbook when its name alone does not say what the
// rows are (a statistics table's cut-off date).
void setExportTitle(QWidget &grid, const QString &title);

// What the grid's rows cover (a condition in words) when its screen's name does not say it:
// put after the name in the workbook's title. Empty: nothing.
void setExportCoverage(QWidget &grid, const QString &coverage);

// The workbook title of the grid: the one its screen set, else the screen's name from its title
// strip (xlsx::screenTitle), else its window title; followed by what the rows cover, if set,
// and the caption of the tab the grid is on, if any.
QString titleOf(const QWidget &grid);

xlsx::Table tableOf(const QTableView &grid);

// Asks for the file and writes the workbook; a failure is reported in a message box.
void exportGrid(QTableView &grid);
// The same after `refresh` (a work table built again when another program changed it since the
// screen showed it); a refresh the database refuses is told on `screen` and nothing is written.
void exportGridAfter(QWidget &screen, QTableView &grid, const std::function<void()> &refresh);
// The same for several tables, one sheet each; `name` is the file name offered.
void exportTables(QWidget &parent, const std::vector<xlsx::Table> &tables, const QString &name);

// For a screen whose "导出Excel…" writes something else than its largest grid (the résumé
// shown rather than the list of cadres): the button after `print` runs `exporter`, and the
// grids add no button of their own.
QPushButton *addScreenExportButton(QWidget &screen, QPushButton &print, std::function<void()> exporter);

// Puts a "导出Excel…" button right after the first button of the grid's screen whose caption
// begins with "打印", in the same row; nothing when the screen has none or already has the
// button. The button exports the largest striped grid the screen shows when it is pressed.
void addButtonAfterPrint(QTableView &grid);

}  // namespace grid_export
