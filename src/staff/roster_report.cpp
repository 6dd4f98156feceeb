#include "staff/roster_report.h"

namespace roster {

QString printedTitle(const Member &member, const QString &partyItem)
{
    if (!member.reportTitle.isEmpty())
        return member.reportTitle;
    return partyItem.mid(2, 20) + QStringLiteral("花名册");
}

std::shared_ptr<report::RowSource> rosterRows(const QSqlDatabase &db, const Member &member, const Filter &filter)
{
    return rosterRows(db, listing(db, member, filter));
}

std::shared_ptr<report::RowSource> rosterRows(const QSqlDatabase &db, windowed::Listing listing)
{
    // The listed columns are the fields in order.
    return report::windowedRows(db, std::move(listing), [](const QVariantList &values, const QStringList &) { return values; });
}

}  // namespace roster
