#include "staff/staff_lists.h"

#include "db/history.h"
#include "db/sql.h"

namespace staff {

windowed::Listing departments()
{
    windowed::Listing l;
    l.columns = QStringLiteral("单位编码, 单位名称");
    l.from = QStringLiteral("from dwdmb");
    l.order = {QStringLiteral("单位编码")};
    return l;
}

windowed::Listing departmentEmployees(const QString &department)
{
    windowed::Listing l;
    l.columns = QStringLiteral("zghmc.职工编码, zghmc.职工姓名");
    l.from = QStringLiteral("from dwdtb join zghmc on zghmc.职工编码=dwdtb.职工编码");
    l.where = "dwdtb.单位编码=:dw and " + history::currentRowForRow(history::Table::Department, "dwdtb.职工编码");
    l.order = {QStringLiteral("dwdtb.职工编码")};
    l.values.insert(":dw", department);
    return l;
}

std::optional<FoundEmployee> findEmployee(const QSqlDatabase &db, const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    windowed::Listing l;
    l.columns = QStringLiteral("zghmc.职工编码, zghmc.职工姓名");
    l.from = QStringLiteral("from zghmc");
    l.order = {QStringLiteral("zghmc.职工编码")};
    const windowed::Listing matching = windowed::containing(l, text);
    // Beginnings first: the same literal pattern without its leading %.
    QStringList beginning;
    for (auto it = matching.values.cbegin(); it != matching.values.cend(); ++it)
        beginning << QStringLiteral("%1 like substr(%2, 2) escape '\\'")
                         .arg(it.key() == QStringLiteral(":wsearch0") ? QStringLiteral("zghmc.职工编码") : QStringLiteral("zghmc.职工姓名"), it.key());
    QSqlQuery q = sql::prepare(db, QStringLiteral("select zghmc.职工编码, (select dwdtb.单位编码 from dwdtb where %1) from zghmc where %2 "
                                                  "order by case when %3 then 0 else 1 end, zghmc.职工编码 limit 1")
                                       .arg(history::currentRowForRow(history::Table::Department, QStringLiteral("zghmc.职工编码")),
                                            matching.where, beginning.join(QStringLiteral(" or "))));
    for (auto it = matching.values.cbegin(); it != matching.values.cend(); ++it)
        q.bindValue(it.key(), it.value());
    sql::exec(q);
    if (!q.next())
        return std::nullopt;
    return FoundEmployee{q.value(0).toString(), q.value(1).toString()};
}

}  // namespace staff
