// 党员基本情况统计表, 30 statements.
#include "reference/literal.h"

namespace reference {

QStringList dyjbqktjb(const QDate &cutoff)
{
    const QString d = dateLiteral(cutoff);
    const QString t = "dyjbqktjb";
    const QString a = age(d);
    const auto dept = [&](const QString &rule) {
        return "zghmc.职工编码=dwdtb.职工编码 and " + rule + " and " + inForce("dwdtb", d);
    };
    const Conditions columns = {
        {"zs", {}},
        {"nv", "职工性别='女'"},
        {"ssmz", "民族编码<>'00'"},
        {"bs", "文化程度='01'"},
        {"ss", "文化程度='02'"},
        {"bk", "文化程度='03'"},
        {"dz", "文化程度='04'"},
        {"zz", "文化程度='05'"},
        {"gz", "文化程度='06'"},
        {"cz", "文化程度='07'"},
        {"xx", "文化程度='08'"},
        {"d1", "入党时间<'1976-11-01' and 入党时间>='1966-05-01'"},
        {"d2", "入党时间>='1976-11-01' and 入党时间<'1992-10-01'"},
        {"d3", "入党时间>='1992-10-01'"},
        {"l25", a + "<=25"},
        {"f26t35", a + ">25 and " + a + "<=35"},
        {"f36t45", a + ">35 and " + a + "<=45"},
        {"f35t40", a + ">=35 and " + a + "<=40"},
        {"f46t54", a + ">45 and " + a + "<=54"},
        {"f55t59", a + ">=55 and " + a + "<=59"},
        {"f50t55", a + ">=50 and " + a + "<=55"},
        {"u60", a + ">=60"},
        {"pjnl", {}},
    };
    const QStringList all = QString("zs,nv,ssmz,zg,d1,d2,d3,bs,ss,bk,dz,zz,gz,cz,xx,l25,f26t35,f36t45,f35t40,f46t54,"
                                    "f55t59,f50t55,u60,pjnl")
                                .split(',');
    QStringList s;
    s << "delete from " + t;
    for (const auto &[column, condition] : columns)
        s << "insert into " + t + " (bz,dwbm," + column + ") select '1',单位编码,"
                 + (column == "pjnl" ? "sum(" + a + ")" : QString("count(ZGhmc.职工编码)"))
                 + " from zghmc,dwdtb where 政治面貌='01' and " + dept("dwdtb.单位编码<>'99'")
                 + (condition.isEmpty() ? "" : " and " + condition) + " group by 单位编码";
    s << "insert into " + t + " (bz,dwbm,zg) select '1',单位编码,count(ZGhmc.职工编码) from zghmc,dwdtb where 政治面貌='01' and "
             + dept("dwdtb.单位编码<'97'") + " group by 单位编码";
    s << departmentRowsAndTotal(t, all);
    s << "update " + t + " set pjnl=pjnl/zs where zs<>0";
    return s;
}

}  // namespace reference
