#include "reference/literal.h"

#include "db/sql.h"

#include <functional>
#include <map>

namespace reference {

QString dateLiteral(const QDate &cutoff) { return "'" + cutoff.toString("yyyy-MM-dd") + "'"; }

QString inForce(const QString &table, const QString &d)
{
    return QString("%1.自动编号 in (SELECT max(%1.自动编号) FROM %1 where 变动时间<=%2 GROUP BY %1.职工编码)").arg(table, d);
}

QString age(const QString &d) { return "datediff('YYYY',出生年月," + d + ")"; }

Conditions basicConditions(const QString &d)
{
    const QString a = age(d);
    Conditions c = {
        {"nv", "职工性别='女'"},   {"ssmz", "民族编码<>'00'"}, {"bs", "文化程度='01'"}, {"ss", "文化程度='02'"},
        {"bk", "文化程度='03'"},   {"dz", "文化程度='04'"},   {"zz", "文化程度>'04'"},  {"dy", "政治面貌='01'"},
        {"ty", "政治面貌='02'"},   {"mz", "政治面貌='03'"},   {"qt", "政治面貌='00'"},  {"l25", a + "<=25"},
    };
    for (int low = 25; low < 60; low += 5)
        c.append({QString("f%1t%2").arg(low).arg(low + 5), QString("%1<=%2 and %1>%3").arg(a).arg(low + 5).arg(low)});
    return c;
}

QString sums(const QStringList &columns)
{
    QStringList s;
    for (const QString &c : columns)
        s << QString("sum(%1)").arg(c);
    return s.join(',');
}

QStringList basicScratch(const QString &table, const QString &d)
{
    QStringList s;
    s << "insert into " + table + " (bz,dwbm,zs) select '1',单位编码,count(*) from dwdtb where dwdtb.单位编码<'97' and "
             + inForce("dwdtb", d) + " group by 单位编码";
    for (const auto &[column, condition] : basicConditions(d))
        s << "insert into " + table + " (bz,dwbm," + column
                 + ") select '1',单位编码,count(zghmc.职工编码) FROM zghmc, dwdtb WHERE " + condition
                 + " and dwdtb.职工编码=zghmc.职工编码 and dwdtb.单位编码<'97' and " + inForce("dwdtb", d)
                 + " GROUP BY dwdtb.单位编码";
    return s;
}

QStringList groupRowsAndTotal(const QString &t, const QStringList &all, const Naming &n)
{
    return {"insert into " + t + " (bz," + n.key + "," + all.join(',') + ") select '2'," + n.key + "," + sums(all) + " from "
                + t + " where bz='1' group by " + n.key + " order by " + n.key + " nulls first",
            "delete from " + t + " where bz='1'",
            "update " + t + " set " + n.name + "=" + n.source + "." + n.sourceName + " from " + n.source + " where " + n.source
                + "." + n.sourceKey + "=" + t + "." + n.key,
            "insert into " + t + " (bz," + n.name + "," + all.join(',') + ") select '3','汀岚分公司'," + sums(all) + " from " + t
                + " where bz='2'"};
}

QStringList departmentRowsAndTotal(const QString &t, const QStringList &all)
{
    return groupRowsAndTotal(t, all, {"dwbm", "dwmc", "dwdmb", "单位名称", "单位编码"});
}

QString shares(const QString &t, const QStringList &all)
{
    QStringList set;
    for (const QString &c : all.mid(1))
        set << QString("%1zb=100.0*%1/zs").arg(c);
    return "update " + t + " set " + set.join(',') + " where zs<>0";
}

QStringList statements(const QString &table, const stats::Period &period)
{
    static const std::map<QString, std::function<QStringList(const QDate &)>> cutoffLists = {
        {"zgjbqkfxb", zgjbqkfxb}, {"zyjsgbqktjb", zyjsgbqktjb}, {"dyjbqktjb", dyjbqktjb},
        {"zgglqkfxb", zgglqkfxb}, {"zgjbqktjb", zgjbqktjb},
    };
    static const std::map<QString, std::function<QStringList(const QDate &, const QDate &)>> rangeLists = {
        {"pxcjzbtjb", pxcjzbtjb}, {"pxjnzbtjb", pxjnzbtjb},
    };
    if (const auto range = rangeLists.find(table); range != rangeLists.end())
        return range->second(period.from, period.to);
    return cutoffLists.at(table)(period.to);
}

void rebuild(const QSqlDatabase &db, const QString &table, const stats::Period &period)
{
    for (const QString &statement : statements(table, period))
        sql::exec(db, statement);
}

}  // namespace reference
