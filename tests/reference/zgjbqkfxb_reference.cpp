#include "reference/zgjbqkfxb_reference.h"

#include "db/sql.h"

namespace reference {

QStringList zgjbqkfxbStatements(const QDate &cutoff)
{
    const QString d = "'" + cutoff.toString("yyyy-MM-dd") + "'";
    const QString inForce = "dwdtb.自动编号 in (SELECT max(dwdtb.自动编号) FROM dwdtb where 变动时间<=" + d
                            + " GROUP BY dwdtb.职工编码)";
    const QString age = "datediff('YYYY',出生年月," + d + ")";
    const QList<QPair<QString, QString>> conditions = {
        {"nv", "职工性别='女'"},       {"ssmz", "民族编码<>'00'"},   {"bs", "文化程度='01'"},
        {"ss", "文化程度='02'"},       {"bk", "文化程度='03'"},       {"dz", "文化程度='04'"},
        {"zz", "文化程度>'04'"},       {"dy", "政治面貌='01'"},       {"ty", "政治面貌='02'"},
        {"mz", "政治面貌='03'"},       {"qt", "政治面貌='00'"},       {"l25", age + "<=25"},
        {"f25t30", age + "<=30 and " + age + ">25"}, {"f30t35", age + "<=35 and " + age + ">30"},
        {"f35t40", age + "<=40 and " + age + ">35"}, {"f40t45", age + "<=45 and " + age + ">40"},
        {"f45t50", age + "<=50 and " + age + ">45"}, {"f50t55", age + "<=55 and " + age + ">50"},
        {"f55t60", age + "<=60 and " + age + ">55"},
    };
    const QString all = "zs,nv,ssmz,bs,ss,bk,dz,zz,dy,ty,mz,qt,l25,f25t30,f30t35,f35t40,f40t45,f45t50,f50t55,f55t60";
    QString sums;
    for (const QString &c : all.split(','))
        sums += (sums.isEmpty() ? "" : ",") + QString("sum(%1)").arg(c);

    QStringList s;
    s << "delete from zgjbqkfxb";
    s << "insert into zgjbqkfxb (bz,dwbm,zs) select '1',单位编码,count(*) from dwdtb where dwdtb.单位编码<'97' and "
             + inForce + " group by 单位编码";
    for (const auto &[column, condition] : conditions)
        s << "insert into zgjbqkfxb (bz,dwbm," + column + ") select '1',单位编码,count(zghmc.职工编码) FROM zghmc, dwdtb WHERE "
                 + condition + " and dwdtb.职工编码=zghmc.职工编码 and dwdtb.单位编码<'97' and " + inForce
                 + " GROUP BY dwdtb.单位编码";
    s << "insert into zgjbqkfxb (bz,dwbm," + all + ") select '2',dwbm," + sums + " from zgjbqkfxb where bz='1' group by dwbm";
    s << "delete from zgjbqkfxb where bz='1'";
    s << "update zgjbqkfxb set dwmc=dwdmb.单位名称 from dwdmb where dwdmb.单位编码=zgjbqkfxb.dwbm";
    s << "insert into zgjbqkfxb (bz,dwmc," + all + ") select '3','汀岚分公司'," + sums + " from zgjbqkfxb where bz='2'";
    QStringList shares;
    for (const QString &c : all.split(',').mid(1))
        shares << QString("%1zb=100.0*%1/zs").arg(c);
    s << "update zgjbqkfxb set " + shares.join(',') + " where zs<>0";
    return s;
}

void rebuildZgjbqkfxb(const QSqlDatabase &db, const QDate &cutoff)
{
    for (const QString &statement : zgjbqkfxbStatements(cutoff))
        sql::exec(db, statement);
}

}  // namespace reference
