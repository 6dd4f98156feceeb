#pragma once
// The printed pay lists of a department's month: the wage list Trepgzb and the bonus list
// Trepjjb in two columns of rows per page, the allowance list Trepbtb in one, each with a
// signature column, the ruled table fixed on every page and the signature captions below.

#include "pay/pay_month.h"
#include "reports/page_model.h"
#include "reports/report.h"

#include <QDate>

namespace pay {

// What a pay list covers: its month and department, said under its title.
struct ListHeading {
    QDate month;         // first day of the pay month
    QString department;  // the department's name
    QDate printed;       // the day it is printed
};

// The list of a sheet ("gzb", "btb", "jjb"): the month and department under its title, the
// page's totals at the foot of every page, the whole list's after its last row and
// "第 N 页 共 M 页" on every page. Amounts print with two decimals and add up exactly.
report::Report payList(const QString &table, const ListHeading &heading);
report::Document layoutPayList(const QString &table, const QList<SheetRow> &rows, const ListHeading &heading);

}  // namespace pay
