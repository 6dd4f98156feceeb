#pragma once
// A grid's column widths and order, remembered for the operator from one use of the program
// to the next. Columns are known by their titles, so a grid whose columns follow its input
// (a year's months, the salary items) keeps what it can. The grid is known by its screen's
// window class and its object name (or its place among the screen's grids), worked out when it
// is first shown.

#include <QString>

class QTableView;

namespace remembered_columns {

// Call once, when the grid is made; the memory lives as long as the grid.
void attach(QTableView &grid);

// The settings key the grid's columns are kept under ("Tfrmgbxx/grid0"); empty before the grid
// has been shown.
QString keyOf(const QTableView &grid);

}  // namespace remembered_columns
