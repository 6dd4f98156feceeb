#pragma once
// The cadre résumé as a workbook: one sheet per page of the form ("第一页" … "第九页"), each
// holding what the page shows: labels beside their values, every question beside its answer,
// and each list under its caption with its column headings.

#include "export/xlsx_export.h"
#include "staff/cadre_resume.h"

#include <QStandardItemModel>
#include <memory>
#include <vector>

namespace staff::resume {

struct Workbook {
    std::vector<std::unique_ptr<QStandardItemModel>> pages;  // what the tables show
    std::vector<xlsx::Table> tables;
};

Workbook workbookOf(const QMap<QString, QString> &personal, const Resume &resume);

}  // namespace staff::resume
