#pragma once
// The printed cadre résumé (Trepgbllb): the nine pages' content in order on A4 portrait, the
// personal data with the photo first, every answer under its question and every list as a
// ruled table. Laying out measures text, so this needs a QGuiApplication.

#include "reports/page_model.h"
#include "staff/cadre_resume.h"

#include <optional>

namespace staff::resume {

// `photoFile`: the picture to print beside the personal data (empty: none).
report::Document layoutResume(const QMap<QString, QString> &personal, const Resume &resume, const QString &photoFile);

// The cadre's résumé as stored, with his or her photo (or the missing-photo icon); nullopt
// when there is no such employee. Throws sql::Failure.
std::optional<report::Document> printedResume(const QSqlDatabase &db, const QString &code);

}  // namespace staff::resume
