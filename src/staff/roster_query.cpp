#include "staff/roster_query.h"

#include "db/code_items.h"
#include "db/current_rows.h"
#include "db/dialect.h"
#include "db/history.h"
#include "db/sql.h"

#include <algorithm>

namespace roster {

const std::vector<Member> &members()
{
    static const std::vector<Member> all = {
        {"Tfrmgbxx", "Trepgbxx", QStringLiteral("  职工花名册 >> 专业技术干部花名册"), QStringLiteral("职称级别"),
         "zcjbdmb", QStringLiteral("zcjbdmb.级别编码=zcdmb.职称级别"), QStringLiteral("zcdtb.类别编码<>'00'"),
         false, true, false, true, QStringLiteral("专业技术干部基本情况表")},
        {"Tfrmkjgbxx", "Trepkjgbxx", QStringLiteral("  职工花名册 >> 科级以上干部花名册"), QStringLiteral("职务级别"),
         "zwjbdmb", QStringLiteral("zwjbdmb.级别编码=zwdmb.职务级别"), QStringLiteral("zcdtb.职称编码<>'00'"),
         true, false, false, false, QStringLiteral("专业技术干部基本情况表")},
        {"Tfrmdyxx", "Trepdyxx", QStringLiteral("  职工花名册 >> 党员花名册"), QStringLiteral("职务级别"),
         "zwjbdmb", QStringLiteral("zwjbdmb.级别编码=zwdmb.职务级别"), QStringLiteral("zcdtb.职称编码<>'00'"),
         true, false, true, true, QString()},
    };
    return all;
}

const Member *findMember(const QString &screenClass)
{
    for (const Member &m : members())
        if (m.screenClass == screenClass)
            return &m;
    return nullptr;
}

std::optional<LevelRange> levelRangeNamed(const QString &caption)
{
    if (caption == QStringLiteral("以上"))
        return LevelRange::Above;
    if (caption == QStringLiteral("等于"))
        return LevelRange::Equal;
    if (caption == QStringLiteral("以下"))
        return LevelRange::Below;
    return std::nullopt;
}

LevelBounds levelBounds(LevelRange range, const QString &level)
{
    switch (range) {
    case LevelRange::Above: return {level, QStringLiteral("00")};
    case LevelRange::Equal: return {level, level};
    case LevelRange::Below: return {QString(), level};
    }
    return {};
}

namespace {

const QString kColumns = QStringLiteral(
    "zghmc.职工编码, zghmc.职工姓名, zwdmb.职务名称, zwdtb.变动时间, zghmc.职工性别, zghmc.出生年月,"
    " zghmc.籍贯, mzdmb.民族名称, whcddmb.文化程度, zghmc.毕业学校, zghmc.毕业时间, zghmc.所学专业,"
    " dpdmb.党派名称, zghmc.入党时间, zghmc.工作时间, zghmc.入司时间, zcdmb.职称名称, zcdtb.变动时间, zghmc.备注");

// Which rows the roster is read from: the ones its narrowest filter names, so a small roster
// reads few rows at any size.
enum class Drive {
    Department,  // the chosen department's history rows
    Titles,      // the title history rows of the level's (and category's) titles
    Positions,   // the position history rows of the level's positions
    Party,       // the employees of the chosen party
    Employees,   // every employee's kept current rows: the filters leave out nobody by themselves
};

// True when every code of the table (titles or positions) has a level within the bounds:
// then the level leaves out nobody and cannot narrow the rows to read.
bool boundsHoldEvery(const QSqlDatabase &db, const QString &codeTable, const QString &levelColumn,
                     const LevelBounds &bounds)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select count(*) from %1 where %2 is null or %2<:lower%3")
                                       .arg(codeTable, levelColumn,
                                            bounds.upper.isEmpty() ? QString() : " or " + levelColumn + "> :upper"));
    q.bindValue(":lower", bounds.lower);
    if (!bounds.upper.isEmpty())
        q.bindValue(":upper", bounds.upper);
    sql::exec(q);
    return q.next() && q.value(0).toInt() == 0;
}

Drive driveFor(const QSqlDatabase &db, const Member &member, const Filter &filter, const LevelBounds &bounds)
{
    if (!filter.department.isEmpty())
        return Drive::Department;
    const bool titles = member.levelTable == QStringLiteral("zcjbdmb");
    if (!boundsHoldEvery(db, titles ? QStringLiteral("zcdmb") : QStringLiteral("zwdmb"),
                         titles ? QStringLiteral("职称级别") : QStringLiteral("职务级别"), bounds))
        return titles ? Drive::Titles : Drive::Positions;
    return member.partyFilter ? Drive::Party : Drive::Employees;
}

}  // namespace

windowed::Listing listing(const QSqlDatabase &db, const Member &member, const Filter &filter)
{
    using history::Table;
    const QString lt = member.levelTable;
    const LevelBounds bounds = levelBounds(filter.range, filter.level);
    const Drive drive = driveFor(db, member, filter, bounds);
    const QString levelRange = QStringLiteral("%1>=:lower") + (bounds.upper.isEmpty() ? QString() : QStringLiteral(" and %1<=:upper"));

    // The tables in join order, each with the conditions that tie it to the rows before it.
    QString driver;
    QStringList where;
    switch (drive) {
    case Drive::Department:
        driver = QStringLiteral("dwdtb");
        where << QStringLiteral("dwdtb.单位编码=:dwbm");
        break;
    case Drive::Titles:
        driver = QStringLiteral("zcdtb");
        where << QStringLiteral("zcdtb.职称编码 in (select 职称编码 from zcdmb where %1)").arg(levelRange.arg("职称级别"));
        break;
    case Drive::Positions:
        driver = QStringLiteral("zwdtb");
        where << QStringLiteral("zwdtb.职务编码 in (select 职务编码 from zwdmb where %1)").arg(levelRange.arg("职务级别"));
        break;
    case Drive::Party:
        driver = QStringLiteral("zghmc");
        where << QStringLiteral("zghmc.政治面貌=:dpbm");
        break;
    case Drive::Employees:
        driver = QLatin1String(current_rows::kTable);
        break;
    }
    const QString employee = driver + QStringLiteral(".职工编码");
    const QString kept = QLatin1String(current_rows::kTable);
    QStringList tables = {driver};
    // The employee's kept current rows (unless they drive), then each history straight to its
    // current row by 自动编号.
    if (driver != kept) {
        tables << kept;
        where << kept + ".职工编码=" + employee;
    }
    const auto joinCurrent = [&](Table table) {
        if (history::tableName(table) != driver)
            tables << history::tableName(table);
        where << current_rows::joinCondition(table);
    };
    // A driving history first.
    if (drive == Drive::Department || drive == Drive::Titles || drive == Drive::Positions)
        joinCurrent(drive == Drive::Department ? Table::Department
                    : drive == Drive::Titles   ? Table::Title
                                               : Table::Position);
    // The history that holds the group condition next, so most rows that cannot match are
    // left at once; then the rest.
    for (Table table : {Table::Title, Table::Position, Table::Department})
        if (!tables.contains(history::tableName(table)))
            joinCurrent(table);
    if (driver != QStringLiteral("zghmc")) {
        tables << QStringLiteral("zghmc");
        where << "zghmc.职工编码=" + employee;
    }
    where << member.groupCondition;
    if (!filter.department.isEmpty() && drive != Drive::Department)
        where << QStringLiteral("dwdtb.单位编码=:dwbm");
    if (member.categoryFilter && !filter.category.isEmpty())
        where << QStringLiteral("zcdtb.类别编码=:zclb");
    if (member.partyFilter && drive != Drive::Party)
        where << QStringLiteral("zghmc.政治面貌=:dpbm");

    // The code tables: the level's first, as it filters; every code must resolve.
    const std::pair<QString, QString> codes[] = {
        {"zcdmb", "zcdmb.职称编码=zcdtb.职称编码"}, {"zwdmb", "zwdmb.职务编码=zwdtb.职务编码"},
        {lt, member.levelJoin},
        {"dwdmb", "dwdmb.单位编码=dwdtb.单位编码"},   {"dpdmb", "dpdmb.党派编码=zghmc.政治面貌"},
        {"mzdmb", "mzdmb.民族编码=zghmc.民族编码"},   {"whcddmb", "whcddmb.文化程度编码=zghmc.文化程度"}};
    for (const auto &[table, condition] : codes) {
        tables << table;
        where << condition;
    }
    where << levelRange.arg(lt + QStringLiteral(".级别编码"));

    windowed::Listing l;
    l.columns = kColumns;
    l.from = "from " + sql::dialect(db).joinedInOrder(tables);
    l.where = where.join(QStringLiteral(" and "));
    l.order = {employee};
    l.values.insert(":lower", bounds.lower);
    if (!bounds.upper.isEmpty())
        l.values.insert(":upper", bounds.upper);
    // A chosen department or category is matched exactly (a code may hold "_" or "%").
    if (!filter.department.isEmpty())
        l.values.insert(":dwbm", filter.department);
    if (member.categoryFilter && !filter.category.isEmpty())
        l.values.insert(":zclb", filter.category);
    if (member.partyFilter)
        l.values.insert(":dpbm", filter.party);
    return l;
}

QList<QVariantList> read(const QSqlDatabase &db, const Member &member, const Filter &filter)
{
    return windowed::readAll(db, listing(db, member, filter));
}

QList<code_items::Item> departments(const QSqlDatabase &db)
{
    return code_items::codeItems(db, QStringLiteral("dwdmb"), {.storedOrder = true});
}

QList<code_items::Item> levelItems(const QSqlDatabase &db, const Member &member)
{
    return code_items::codeItems(db, member.levelTable);
}

QList<code_items::Item> categoryItems(const QSqlDatabase &db)
{
    return code_items::codeItems(db, QStringLiteral("jslbdmb"), {.except = {QStringLiteral("00")}, .storedOrder = true});
}

QList<code_items::Item> partyItems(const QSqlDatabase &db) { return code_items::codeItems(db, QStringLiteral("dpdmb")); }

Filter openingFilter(const QSqlDatabase &db, const Member &member)
{
    Filter f;
    const QList<code_items::Item> levels = levelItems(db, member);
    if (!levels.isEmpty())
        f.level = (member.startAtLastLevel ? levels.last() : levels.first()).code;
    if (member.partyFilter) {
        const QList<code_items::Item> parties = partyItems(db);
        if (!parties.isEmpty())
            f.party = parties.at(std::min<qsizetype>(1, parties.size() - 1)).code;
    }
    return f;
}

}  // namespace roster
