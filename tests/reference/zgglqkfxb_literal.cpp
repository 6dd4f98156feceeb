// 职工工龄情况统计分析表, 15 statements.
#include "reference/literal.h"

namespace reference {

QStringList zgglqkfxb(const QDate &cutoff)
{
    const QString d = dateLiteral(cutoff);
    const QString t = "zgglqkfxb";
    const QString years = "datediff('YYYY',工作时间," + d + ")";
    Conditions bands = {{"l5", years + "<=5 and datediff('d',工作时间," + d + ")>0"}};
    for (int low = 5; low < 40; low += 5)
        bands.append({QString("f%1t%2").arg(low + 1).arg(low + 5),
                      QString("%1<=%2 and datediff('yyyy',工作时间,%3)>%4").arg(years).arg(low + 5).arg(d).arg(low)});
    QStringList all{"zs"};
    for (const auto &b : bands)
        all << b.first;
    QStringList s;
    s << "delete from " + t;
    s << "insert into " + t + " (bz,dwbm,zs) select '1',单位编码,count(*) from dwdtb where dwdtb.单位编码<'97' and "
             + inForce("dwdtb", d) + " group by 单位编码";
    for (const auto &[column, condition] : bands)
        s << "insert into " + t + " (bz,dwbm," + column + ") select '1',单位编码,count(zghmc.职工编码) FROM zghmc, dwdtb WHERE "
                 + condition + " and dwdtb.职工编码=zghmc.职工编码 and dwdtb.单位编码<'97' and " + inForce("dwdtb", d)
                 + " GROUP BY dwdtb.单位编码";
    s << departmentRowsAndTotal(t, all);
    s << shares(t, all);
    return s;
}

}  // namespace reference
