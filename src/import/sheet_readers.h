#pragma once
// The readers behind openSheet, one per kind of file.

#include "import/sheet_file.h"

namespace staff_import {

std::unique_ptr<SheetFile> openXlsx(const QString &path);
std::unique_ptr<SheetFile> openXls(const QString &path);
std::unique_ptr<SheetFile> openCsv(const QString &path);

}  // namespace staff_import
