// 培训成绩占比分析 (13 statements) and 培训技能等次占比情况 (11 statements): per course dated in
// the range, scratch counts per column, summed into course rows, named from pxnrb, totalled
// and divided.
#include "reference/literal.h"

namespace reference {
namespace {

// "培训编码 in (select 培训编码 from pxnrb where 培训日期>=S and 培训日期<=E)"
QString courseFilter(const QDate &from, const QDate &to)
{
    return "培训编码 in (select 培训编码 from pxnrb where 培训日期>=" + dateLiteral(from) + " and 培训日期<=" + dateLiteral(to)
           + ")";
}

// The statements after the scratch rows: course rows, named from pxnrb, and the total row.
QStringList courseRowsAndTotal(const QString &t, const QStringList &all)
{
    return groupRowsAndTotal(t, all, {"pxbm", "pxnr", "pxnrb", "训练内容", "培训编码"});
}

QStringList scratch(const QString &t, const QString &filter, const Conditions &columns)
{
    QStringList s;
    s << "INSERT INTO " + t + " ( bz, pxbm, zs ) SELECT '1', 培训编码, count(职工编码) FROM pxjlb where " + filter
             + " GROUP BY 培训编码";
    for (const auto &[column, condition] : columns)
        s << "INSERT INTO " + t + " ( bz, pxbm, " + column + " ) SELECT '1', 培训编码, count(职工编码) FROM pxjlb where "
                 + condition + " and " + filter + " GROUP BY 培训编码";
    return s;
}

}  // namespace

QStringList pxcjzbtjb(const QDate &from, const QDate &to)
{
    const QString t = "pxcjzbtjb";
    const QString f = courseFilter(from, to);
    const Conditions bands = {{"u90", "成绩>=90"},
                              {"f80t90", "成绩>=80 and 成绩<90"},
                              {"f70t80", "成绩>=70 and 成绩<80"},
                              {"f60t70", "成绩>=60 and 成绩<70"},
                              {"l60", "成绩<60"}};
    QStringList s;
    s << "delete from " + t;
    s << scratch(t, f, bands);
    s << "INSERT INTO " + t + " ( bz, pxbm, pjcj ) SELECT '1', 培训编码, sum(成绩) FROM pxjlb where " + f + " GROUP BY 培训编码";
    s << courseRowsAndTotal(t, {"zs", "u90", "f80t90", "f70t80", "f60t70", "l60", "pjcj"});
    s << "update " + t
             + " set u90zb=100*cast(u90 as double precision)/zs,f80t90zb=100*cast(f80t90 as double precision)/zs,f70t80zb=100*cast(f70t80 as double precision)/zs,f60t70zb=100*cast(f60t70 as double precision)/zs,"
               "l60zb=100*cast(l60 as double precision)/zs,pjcj=pjcj/zs";
    return s;
}

QStringList pxjnzbtjb(const QDate &from, const QDate &to)
{
    const QString t = "pxjnzbtjb";
    QStringList s;
    s << "delete from " + t;
    s << scratch(t, courseFilter(from, to),
                 {{"A", "技能评定='A'"}, {"B", "技能评定='B'"}, {"C", "技能评定='C'"}, {"D", "技能评定='D'"}});
    s << courseRowsAndTotal(t, {"zs", "A", "B", "C", "D"});
    s << "update " + t + " set Azb=100*cast(A as double precision)/zs,Bzb=100*cast(B as double precision)/zs,Czb=100*cast(C as double precision)/zs,Dzb=100*cast(D as double precision)/zs";
    return s;
}

}  // namespace reference
