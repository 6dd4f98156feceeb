#include "pay/appraisal_statistics.h"

#include "db/history.h"
#include "db/sql.h"

namespace pay {

QStringList appraisalStatisticsTitles(AppraisalCounts kind)
{
    QStringList titles = {"单位编码", "单位名称", "职工人数"};
    for (const QString &result : {QStringLiteral("优秀"), QStringLiteral("及格"), QStringLiteral("不及格")}) {
        titles << result + QStringLiteral("人数");
        if (kind == AppraisalCounts::Shares)
            titles << QStringLiteral("占比");
    }
    return titles;
}

Grid appraisalStatistics(const QSqlDatabase &db, int year, AppraisalCounts kind)
{
    // One pass over the year's rows, each joined to its department of the year.
    QSqlQuery q = sql::prepare(
        db, QStringLiteral("select d.单位编码, ifnull(dwdmb.单位名称, ''), count(*), sum(ndkhb.考核成绩='优秀'), "
                           "sum(ndkhb.考核成绩='及格'), sum(ndkhb.考核成绩='不及格') from ndkhb "
                           "join zghmc on zghmc.职工编码=ndkhb.职工编码 join (%1) d on d.职工编码=ndkhb.职工编码 "
                           "left join dwdmb on dwdmb.单位编码=d.单位编码 where ndkhb.年度=:nd "
                           "group by d.单位编码 order by d.单位编码")
                .arg(history::snapshotOn(history::Table::Department, ":yearEnd", {"单位编码"})));
    q.bindValue(":yearEnd", QStringLiteral("%1-12-31").arg(year, 4, 10, QLatin1Char('0')));
    q.bindValue(":nd", year);
    q.setForwardOnly(true);
    sql::exec(q);

    const bool shares = kind == AppraisalCounts::Shares;
    Grid grid{shares ? QStringLiteral("分析表") : QStringLiteral("统计表"), appraisalStatisticsTitles(kind), {}};
    while (q.next()) {
        const qint64 total = q.value(2).toLongLong();
        QVariantList row = {q.value(0).toString(), q.value(1).toString(), total};
        for (int i = 3; i < 6; ++i) {
            const qint64 count = q.value(i).toLongLong();
            row << count;
            if (shares)
                row << (total > 0 ? QString::number(100.0 * double(count) / double(total), 'g', 15) : QString());
        }
        grid.rows << row;
    }
    return grid;
}

}  // namespace pay
