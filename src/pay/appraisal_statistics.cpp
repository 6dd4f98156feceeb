#include "pay/appraisal_statistics.h"

#include "db/dialect.h"
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
    // One pass over the year's rows in employee order, each finding its department row in
    // force at the end of the year through the employee's own few rows (the history indexes),
    // then the names of the few departments. Grouping the whole history into a snapshot first,
    // or reading it into memory after every mark, costs several times that.
    // ndkhb.职工编码 is a foreign key of zghmc, so every row counted is an employee's.
    QSqlQuery q = sql::prepare(
        db, QStringLiteral("select g.单位编码, coalesce(dwdmb.单位名称, ''), g.人数, g.优秀, g.及格, g.不及格 from "
                           "(select dwdtb.单位编码, count(*) as 人数, sum(case when ndkhb.考核成绩='优秀' then 1 else 0 end) as 优秀, "
                           "sum(case when ndkhb.考核成绩='及格' then 1 else 0 end) as 及格, "
                           "sum(case when ndkhb.考核成绩='不及格' then 1 else 0 end) as 不及格 "
                           "from %2 where ndkhb.年度=:nd and %1 group by dwdtb.单位编码) g "
                           "left join dwdmb on dwdmb.单位编码=g.单位编码 order by g.单位编码")
                .arg(history::inForceOnForRow(history::Table::Department, "ndkhb.职工编码", ":yearEnd"),
                     sql::dialect(db).joinedInOrder({"ndkhb", "dwdtb"})));
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
                row << (total > 0 ? QVariant(100.0 * double(count) / double(total)) : QVariant());  // a number
        }
        grid.rows << row;
    }
    return grid;
}

}  // namespace pay
