#pragma once
// The register written in the import template's columns: "下载导入模板" (the header row, the
// code tables' names offered as each code column's choices, no rows) and "导出Excel…" of the
// employee editor (the same workbook with every employee, or a CSV file), so an export imports
// back unchanged. A code is written as its name when the name alone names it.

#include "import/import_run.h"

#include <QSqlDatabase>
#include <QString>

namespace staff_import {

// Writes the template (.xlsx). Throws FileError, sql::Failure.
void writeTemplate(const QSqlDatabase &db, const QString &path);

// Writes every employee in code order as .xlsx or .csv (UTF-8 with BOM, as Excel opens it),
// whole or not at all; returns how many. Throws FileError, sql::Failure, Cancelled.
int exportRegister(const QSqlDatabase &db, const QString &path, const Progress &progress = {});

}  // namespace staff_import
