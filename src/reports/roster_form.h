#pragma once
// The printed roster form (Trepgbxx, Trepkjgbxx, Trepdyxx, Trepcxxx): a landscape ruled table of
// seventeen columns with the title and headings on every page, over rows in the roster's field
// order. The rosters and the basic situation query both print on it.

#include "reports/page_model.h"
#include "reports/row_source.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>

namespace roster {

// A roster row's fields, in order; the grid shows them under fieldTitles().
enum Field {
    Code, Name, Position, PositionSince, Sex, Born, NativePlace, Nation, Education, School,
    Graduated, Speciality, Party, JoinedParty, StartedWork, JoinedCompany, Title, TitleSince,
    Remark, FieldCount
};
const QStringList &fieldTitles();

// The printed forms of some fields.
QString shortNation(const QString &nation);       // the first character followed by "族"
QString yearAndMonth(const QString &isoDate);     // "1970-05-12" → "1970-05"
QString cutToGb2312Bytes(const QString &text, int bytes);

report::Report printedRoster(const QString &reportClass, const QString &title);
report::Document layoutRoster(const QString &reportClass, const QString &title, const QList<QVariantList> &rows);
// `coverage` (the department and filters chosen) is printed under the title when given.
report::Document layoutRosterFromSource(const QString &reportClass, const QString &title,
                                        std::shared_ptr<report::RowSource> rows, const QString &coverage = {});

}  // namespace roster
