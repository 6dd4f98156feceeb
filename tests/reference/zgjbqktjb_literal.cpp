// 职工基本情况统计表, 74 statements.
#include "reference/literal.h"

namespace reference {

QStringList zgjbqktjb(const QDate &cutoff)
{
    const QString d = dateLiteral(cutoff);
    const QString t = "zgjbqktjb";
    const QString a = age(d);
    const QString deptRule = "dwdtb.职工编码=zghmc.职工编码 and dwdtb.单位编码<'97' and " + inForce("dwdtb", d);
    const Conditions basic = basicConditions(d);
    QStringList all{"zs"};
    for (const auto &c : basic)
        all << c.first;
    all << "pjnl";

    QStringList s;
    s << "delete from " + t;
    s << basicScratch(t, d);
    s << "insert into " + t + " (bz,dwbm,pjnl) select '1',单位编码,sum(" + a
             + ") FROM zghmc, dwdtb WHERE dwdtb.单位编码<'97' and dwdtb.职工编码=zghmc.职工编码 and " + inForce("dwdtb", d)
             + " GROUP BY dwdtb.单位编码";
    s << "insert into " + t + " (bz,dwbm," + all.join(',') + ") select '2',dwbm," + sums(all) + " from " + t
             + " where bz='1' group by dwbm order by dwbm nulls first";
    s << "delete from " + t + " where bz='1'";
    // The women of the organisation: one row per column, without grouping.
    s << "insert into " + t + " (bz,zs) select '1',count(zghmc.职工编码) FROM zghmc, dwdtb WHERE 职工性别='女' and " + deptRule;
    for (const auto &[column, condition] : basic)
        s << "insert into " + t + " (bz," + column + ") select '1',count(zghmc.职工编码) FROM zghmc, dwdtb WHERE 职工性别='女'"
                 + (column == "nv" ? QString() : " and " + condition) + " and " + deptRule;
    s << "insert into " + t + " (bz,pjnl) select '1',sum(" + a + ") FROM zghmc, dwdtb WHERE 职工性别='女' and " + deptRule;
    s << "insert into " + t + " (bz,dwbm," + all.join(',') + ") select '4','00'," + sums(all) + " from " + t + " where bz='1'";
    s << "delete from " + t + " where bz='1'";
    // Position levels: the head count from the history rows, the others from zghmc.
    s << "insert into " + t + " (bz,dwbm,zs) select '1',职务级别,count(*) from dwdtb,zwdtb,zwdmb where "
             "zwdmb.职务编码=zwdtb.职务编码 and zwdtb.职工编码=dwdtb.职工编码 and " + inForce("zwdtb", d)
             + " and dwdtb.单位编码<'97' and " + inForce("dwdtb", d) + " group by 职务级别";
    for (const auto &[column, condition] : basic)
        s << "insert into " + t + " (bz,dwbm," + column + ") select '1',职务级别,count(zghmc.职工编码) FROM zghmc, dwdtb,zwdtb,zwdmb "
                 "WHERE zwdmb.职务编码=zwdtb.职务编码 and " + condition + " and dwdtb.单位编码<'97' and "
                 "zwdtb.职工编码=zghmc.职工编码 and " + inForce("zwdtb", d) + " and dwdtb.职工编码=zghmc.职工编码 and "
                 + inForce("dwdtb", d) + " GROUP BY zwdmb.职务级别";
    s << "insert into " + t + " (bz,dwbm," + all.join(',') + ") select '5',dwbm," + sums(all) + " from " + t
             + " where bz='1' group by dwbm order by dwbm nulls first";
    s << "delete from " + t + " where bz='1'";
    s << "update " + t + " set dwmc=dwdmb.单位名称 from dwdmb where dwdmb.单位编码=" + t + ".dwbm and " + t + ".bz='2'";
    s << "update " + t + " set dwmc='其中：'||zwjbdmb.级别名称 from zwjbdmb where zwjbdmb.级别编码=" + t + ".dwbm and " + t
             + ".bz='5'";
    s << "update " + t + " set dwmc='其中：女' where " + t + ".bz='4'";
    s << "insert into " + t + " (bz,dwmc," + all.join(',') + ") select '3','汀岚分公司'," + sums(all) + " from " + t
             + " where bz='2'";
    s << "update " + t + " set pjnl=pjnl/zs where zs>0";
    return s;
}

}  // namespace reference
