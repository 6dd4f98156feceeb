#include "pay/appraisal.h"

#include "db/dialect.h"
#include "db/history.h"
#include "db/rights.h"
#include "db/sql.h"
#include "db/transaction.h"

namespace pay {

namespace {

// Each employee's department row in force at the end of the year bound as :yearEnd.
QString departmentsInYear(const QSqlDatabase &db)
{
    return sql::dialect(db).snapshotOn(history::Table::Department, ":yearEnd", {"单位编码"});
}

QString yearEnd(int year) { return QStringLiteral("%1-12-31").arg(year, 4, 10, QLatin1Char('0')); }

}  // namespace

const QStringList &appraisalResults()
{
    static const QStringList results = {QStringLiteral("优秀"), QStringLiteral("及格"), QStringLiteral("不及格")};
    return results;
}

bool hasAppraisalSheet(const QSqlDatabase &db, int year)
{
    QSqlQuery q = sql::prepare(db, "select 1 from ndkhb where 年度=:nd limit 1");
    q.bindValue(":nd", year);
    sql::exec(q);
    return q.next();
}

std::vector<AppraisalRow> appraisalSheet(const QSqlDatabase &db, int year)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select ndkhb.自动编号, ndkhb.职工编码, zghmc.职工姓名, d.单位编码, "
                                                  "ndkhb.考核成绩 from ndkhb join zghmc on zghmc.职工编码=ndkhb.职工编码 "
                                                  "join (%1) d on d.职工编码=ndkhb.职工编码 where ndkhb.年度=:nd "
                                                  "order by d.单位编码, ndkhb.职工编码")
                                       .arg(departmentsInYear(db)));
    q.bindValue(":yearEnd", yearEnd(year));
    q.bindValue(":nd", year);
    sql::exec(q);
    std::vector<AppraisalRow> rows;
    while (q.next())
        rows.push_back({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                        q.value(4).toString()});
    return rows;
}

int generateAppraisalSheet(const QSqlDatabase &db, int year)
{
    rights::requireWrite(QStringLiteral("ndkhb"));
    // The write lock is taken before reading: a second copy pressing at the same moment waits
    // here and then finds the rows this one wrote.
    Transaction transaction(db);
    if (hasAppraisalSheet(db, year))
        return 0;
    QSqlQuery q = sql::prepare(db, QStringLiteral("insert into ndkhb (年度, 职工编码, 考核成绩) "
                                                  "select :nd, d.职工编码, '及格' from (%1) d "
                                                  "join zghmc on zghmc.职工编码=d.职工编码 where d.单位编码<'97' "
                                                  "order by d.职工编码")
                                       .arg(departmentsInYear(db)));
    q.bindValue(":nd", year);
    q.bindValue(":yearEnd", yearEnd(year));
    sql::exec(q);
    const int written = q.numRowsAffected();
    transaction.commit();
    return written;
}

void markResult(const QSqlDatabase &db, qint64 rowId, const QString &result)
{
    if (!appraisalResults().contains(result))
        throw sql::Failure(QStringLiteral("考核成绩只能是优秀、及格或不及格：%1").arg(result), sql::Failure::Kind::Refused);
    rights::requireWrite(QStringLiteral("ndkhb"));
    WriteScope scope(db);
    QSqlQuery q = sql::prepare(db, "update ndkhb set 考核成绩=:cj where 自动编号=:id");
    q.bindValue(":cj", result);
    q.bindValue(":id", rowId);
    sql::exec(q);
    if (q.numRowsAffected() != 1)
        throw sql::Failure(QStringLiteral("要标记的考核记录已不存在"), sql::Failure::Kind::Refused);
    scope.commit();
}

}  // namespace pay
