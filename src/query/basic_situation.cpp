#include "query/basic_situation.h"

#include "db/employee_listing.h"
#include "db/sql.h"
#include "reports/roster_form.h"

#include <QStringList>

namespace query {

using history::Table;

const std::vector<ListColumn> &basicSituationColumns()
{
    static const std::vector<ListColumn> columns = {
        {"职工编码", "职工编码"}, {"职工姓名", "职工姓名"}, {"职工性别", "职工性别"},
        {"出生年月", "出生年月"}, {"民族名称", "民族"}, {"籍贯", "籍贯"},
        {"单位名称", "单位名称"}, {"职务名称", "现任职务"}, {"类别名称", "岗位类别"},
        {"档次名称", "等级（职务）档次"}, {"任职时间", "任职时间"}, {"文化程度", "文化程度"},
        {"毕业学校", "毕业学校"}, {"毕业时间", "毕业时间"}, {"所学专业", "所学专业"},
        {"工作时间", "工作时间"}, {"入司时间", "入司时间"}, {"党派名称", "政治面貌"},
        {"入党时间", "入党（团）时间"}, {"职称名称", "职称名称"}, {"聘任时间", "聘任时间"},
        {"备注", "备注"},
    };
    return columns;
}

namespace {

EmployeeListing currentRows()
{
    EmployeeListing listing;
    listing.current(Table::Department).current(Table::Position).current(Table::Title).current(Table::SkillGrade)
        .code("dwdmb", "dwdtb.单位编码").code("mzdmb", "zghmc.民族编码").code("whcddmb", "zghmc.文化程度")
        .code("zcdmb", "zcdtb.职称编码").code("zwdmb", "zwdtb.职务编码").code("dpdmb", "zghmc.政治面貌")
        .code("jslbdmb", "zcdmb.技术分类").code("zcjbdmb", "zcdmb.职称级别").code("gwjndmb", "gwjndtb.档次编码")
        .code("gwjnlbb", "gwjndtb.类别编码");
    return listing;
}

const QString kBasicSituationColumns = QStringLiteral(
    "zghmc.职工编码, zghmc.职工姓名, zghmc.职工性别, zghmc.出生年月, mzdmb.民族名称, zghmc.籍贯, "
    "dwdmb.单位名称, zwdmb.职务名称, gwjnlbb.类别名称, gwjndmb.档次名称, zwdtb.变动时间 as 任职时间, "
    "whcddmb.文化程度, zghmc.毕业学校, zghmc.毕业时间, zghmc.所学专业, zghmc.工作时间, zghmc.入司时间, "
    "dpdmb.党派名称, zghmc.入党时间, zcdmb.职称名称, zcdtb.变动时间 as 聘任时间, zghmc.备注");

}  // namespace

QString currentRowsFromWhere()
{
    const EmployeeListing listing = currentRows();
    return listing.from() + " where " + listing.conditions();
}

windowed::Listing currentRowsListing(const QString &columns, const Condition &condition)
{
    const EmployeeListing listing = currentRows();
    windowed::Listing l;
    l.columns = columns;
    l.from = listing.from();
    l.where = listing.conditions() + condition.text;
    // The employees are read in code order, so a window is a range of the code index.
    l.order = {QStringLiteral("zghmc.职工编码")};
    l.values = condition.values;
    return l;
}

QString basicSituationBase() { return "select " + kBasicSituationColumns + ' ' + currentRowsFromWhere(); }

windowed::Listing basicSituationListing(const Condition &condition)
{
    return currentRowsListing(kBasicSituationColumns, condition);
}

QSqlQuery basicSituationQuery(const QSqlDatabase &db, const Condition &condition)
{
    return withCondition(db, basicSituationBase(), condition);
}

namespace {

// A listed row in the field order of the printed roster.
QVariantList rosterRowOf(const QVariantList &values, const QStringList &columns)
{
    // Which result column fills each field of the printed roster.
    static const std::vector<std::pair<roster::Field, QString>> fields = {
        {roster::Code, "职工编码"},        {roster::Name, "职工姓名"},       {roster::Position, "职务名称"},
        {roster::PositionSince, "任职时间"}, {roster::Sex, "职工性别"},      {roster::Born, "出生年月"},
        {roster::NativePlace, "籍贯"},     {roster::Nation, "民族名称"},     {roster::Education, "文化程度"},
        {roster::School, "毕业学校"},      {roster::Graduated, "毕业时间"},  {roster::Speciality, "所学专业"},
        {roster::Party, "党派名称"},       {roster::JoinedParty, "入党时间"}, {roster::StartedWork, "工作时间"},
        {roster::JoinedCompany, "入司时间"}, {roster::Title, "职称名称"},    {roster::TitleSince, "聘任时间"},
        {roster::Remark, "备注"}};
    QVariantList row(roster::FieldCount);
    for (const auto &[field, column] : fields)
        row[field] = values.value(columns.indexOf(column));
    return row;
}

}  // namespace

std::shared_ptr<report::RowSource> basicSituationRosterSource(const QSqlDatabase &db, const Condition &condition)
{
    return report::windowedRows(db, basicSituationListing(condition), rosterRowOf);
}

}  // namespace query
