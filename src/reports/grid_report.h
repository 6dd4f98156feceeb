#pragma once
// The printout of a screen's grid as it stands, for every "打印" that has no layout of its own:
// the title, a line under it (a date range, a month), the grid's column titles and its rows as
// shown. Landscape A4; each column's share of the width follows its longest text. A model that
// reads its rows lazily (a QSqlQueryModel holds 256 at first) is read to its end first, so the
// printout holds every row, not only those the grid has fetched so far.

#include "reports/page_model.h"

#include <QAbstractItemModel>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <vector>

namespace report {

// Amounts of a money column (xlsx::kMoneyColumnRole) print with two decimals; `summary` is a
// last row (the grid's "合计"), one cell per column, or none.
Document layoutGrid(const QString &name, const QString &title, const QString &subtitle, QAbstractItemModel &model,
                    const QStringList &summary = {});
// The same for rows held in memory under their column titles.
Document layoutGrid(const QString &name, const QString &title, const QString &subtitle, const QStringList &titles,
                    const QList<QVariantList> &rows);

// Several grids of one screen printed one after another, each from a new page under its own
// title, as one document with its pages numbered through.
struct GridPart {
    QString title;
    QAbstractItemModel *model;
};
Document layoutGrids(const QString &name, const QString &subtitle, const std::vector<GridPart> &parts);

}  // namespace report
