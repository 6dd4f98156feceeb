#pragma once
// The printed pay lists of a department's month: the wage list Trepgzb and the bonus list
// Trepjjb in two columns of rows per page, the allowance list Trepbtb in one, each with a
// signature column, the ruled table fixed on every page and the signature captions below.

#include "pay/pay_month.h"
#include "reports/page_model.h"
#include "reports/report.h"

#include <QDate>

namespace pay {

// The list of a sheet ("gzb", "btb", "jjb"), dated `printed` under its title.
report::Report payList(const QString &table, const QDate &printed);
report::Document layoutPayList(const QString &table, const QList<SheetRow> &rows, const QDate &printed);

}  // namespace pay
