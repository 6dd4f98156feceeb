// 职工基本情况分析表, 26 statements.
#include "reference/literal.h"

namespace reference {

QStringList zgjbqkfxb(const QDate &cutoff)
{
    const QString d = dateLiteral(cutoff);
    const QStringList all = QString("zs,nv,ssmz,bs,ss,bk,dz,zz,dy,ty,mz,qt,l25,f25t30,f30t35,f35t40,f40t45,f45t50,"
                                    "f50t55,f55t60")
                                .split(',');
    QStringList s;
    s << "delete from zgjbqkfxb";
    s << basicScratch("zgjbqkfxb", d);
    s << departmentRowsAndTotal("zgjbqkfxb", all);
    s << shares("zgjbqkfxb", all);
    return s;
}

}  // namespace reference
