// 专业技术干部基本情况统计表, 56 statements.
#include "reference/literal.h"

namespace reference {

QStringList zyjsgbqktjb(const QDate &cutoff)
{
    const QString d = dateLiteral(cutoff);
    const QString t = "zyjsgbqktjb";
    const QString title = inForce("zcdtb", d);
    const QString dept = "dwdtb.职工编码=zghmc.职工编码 and dwdtb.单位编码<'97' and " + inForce("dwdtb", d);
    const QString post = inForce("zwdtb", d) + " and zwdtb.职工编码=zghmc.职工编码";
    const QString level07 = "职务编码 in (select 职务编码 from zwdmb where 职务级别='07')";
    const QString a = age(d);
    // zs, the basic columns with the age bands written "age>lower and age<=upper", then pjnl.
    Conditions columns = {{"zs", {}}};
    for (const auto &[column, condition] : basicConditions(d)) {
        QString c = condition;
        if (column.startsWith('f'))
            c = QString("%1>%2 and %1<=%3").arg(a, column.mid(1, 2), column.mid(4, 2));
        columns.append({column, c});
    }
    QStringList all;
    for (const auto &c : columns)
        all << c.first;
    all << "pjnl";
    const QString sumsAll = sums(all);
    const auto value = [&](const QString &column) {
        return column == "pjnl" ? "sum(" + a + ")" : QString("Count(zghmc.职工编码)");
    };
    columns.append({"pjnl", QString()});

    QStringList s;
    s << "delete from " + t;
    for (const auto &[column, condition] : columns)
        s << "insert into " + t + " (bz,zcbm," + column + ") select '1',职称编码," + value(column)
                 + " from zghmc,zcdtb,dwdtb WHERE " + title + " and " + dept
                 + " AND zcdtb.职称编码<>'00' AND zcdtb.职工编码=zghmc.职工编码"
                 + (condition.isEmpty() ? "" : " and " + condition) + " group by zcdtb.职称编码";
    s << "insert into " + t + " (bz,zcbm," + all.join(',') + ") select '6',zcbm," + sumsAll + " from " + t
             + " where bz='1' group by zcbm order by zcbm nulls first";
    s << "delete from " + t + " where bz='1'";
    s << "update " + t + " set zcjb=zcdmb.职称级别,zcmc=zcdmb.职称名称,zclb=zcdmb.技术分类 from zcdmb "
                         "where zcdmb.职称编码=" + t + ".zcbm and bz='6'";
    s << "insert into " + t + " (bz,zclb," + all.join(',') + ") select '5',zclb," + sumsAll + " from " + t
             + " where bz='6' group by zclb order by zclb nulls first";
    s << "insert into " + t + " (bz,zcjb," + all.join(',') + ") select '4',zcjb," + sumsAll + " from " + t
             + " where bz='6' group by zcjb order by zcjb nulls first";
    s << "insert into " + t + " (bz,zcjb,zcmc," + all.join(',') + ") select '3','00','高级职务'," + sumsAll + " from "
             + t + " where bz='4' and (zcjb='01' or zcjb='02')";
    for (const auto &[column, condition] : columns)
        s << "insert into " + t + " (bz," + column + ") select '7'," + value(column) + " from zghmc,zwdtb,dwdtb WHERE "
                 + post + " and " + dept + (condition.isEmpty() ? "" : " and " + condition) + " and " + level07;
    s << "insert into " + t + " (bz,zcmc," + all.join(',') + ") select '2','处级干部'," + sumsAll + " from " + t
             + " where bz='7'";
    s << "delete from " + t + " where bz='7'";
    s << "insert into " + t + " (bz,zcjb,zcmc," + all.join(',') + ") select '1','0','总计'," + sumsAll + " from " + t
             + " where bz='6'";
    s << "update " + t + " set zcmc=jslbdmb.类别编码||'、'||jslbdmb.类别名称 from jslbdmb where " + t
             + ".zclb=jslbdmb.类别编码 and " + t + ".bz='5'";
    s << "update " + t + " set zcmc=zcjbdmb.级别名称 from zcjbdmb where " + t + ".zcjb=zcjbdmb.级别编码 and " + t
             + ".bz='4'";
    s << "update " + t + " set zcmc=zcdmb.职称名称 from zcdmb where " + t + ".zcbm=zcdmb.职称编码 and " + t + ".bz='6'";
    s << "update " + t + " set pjnl=pjnl/zs where zs<>0";
    return s;
}

}  // namespace reference
