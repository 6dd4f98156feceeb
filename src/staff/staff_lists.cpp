#include "staff/staff_lists.h"

#include "db/history.h"

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

}  // namespace staff
