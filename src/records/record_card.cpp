#include "records/record_card.h"

#include "db/clock.h"
#include "db/history.h"
#include "db/dialect.h"
#include "db/sql.h"
#include "db/transaction.h"
#include "records/attendance_kinds.h"

#include <map>

namespace records {
namespace {

constexpr int kYears = 10;

CardGrid readGrid(QSqlQuery &q, const QString &caption, QStringList titles)
{
    CardGrid grid{caption, std::move(titles), {}};
    while (q.next()) {
        QVariantList row;
        for (int c = 0; c < grid.titles.size(); ++c)
            row << q.value(c);
        grid.rows << row;
    }
    return grid;
}

// Makes kqtjb an empty table of 事由 and the year columns. For another year the table is
// reshaped in place rather than dropped: SQLite refuses to drop a table while any statement of
// the connection is still reading, but renames a column. The employee list beside the card
// reads by windows (WindowedRows) and leaves no statement open, but the screens open beside
// it share the connection, and a grid on a QSqlQueryModel keeps its statement reading until it
// has fetched its last row.
void shapeYearlyTable(const QSqlDatabase &db, const QStringList &years)
{
    const QStringList columns = sql::dialect(db).columnNames(db, QStringLiteral("kqtjb"));
    const QStringList wanted = QStringList{"事由"} + years;
    if (columns.size() != wanted.size() || columns.first() != wanted.first()) {
        QStringList definitions = {QStringLiteral("事由 text")};
        for (const QString &year : years)  // numeric: whole hours stay whole numbers, fractions stay
            definitions << sql::quoteIdentifier(year) + QStringLiteral(" numeric not null default 0");
        for (const QString &statement : sql::dialect(db).createWorkTable(QStringLiteral("kqtjb"), definitions, !columns.isEmpty()))
            sql::exec(db, statement);
        return;
    }
    // Another year: each column through a name no year takes, so no two names ever meet.
    if (columns != wanted) {
        const auto rename = [&](const QString &from, const QString &to) {
            sql::exec(db, QStringLiteral("alter table kqtjb rename column %1 to %2")
                              .arg(sql::quoteIdentifier(from), sql::quoteIdentifier(to)));
        };
        for (int c = 1; c < columns.size(); ++c)
            rename(columns[c], QStringLiteral("~%1").arg(c));
        for (int c = 1; c < columns.size(); ++c)
            rename(QStringLiteral("~%1").arg(c), wanted[c]);
    }
    sql::exec(db, QStringLiteral("delete from kqtjb"));
}

}  // namespace

std::vector<CardGrid> recordCard(const QSqlDatabase &db, const QString &employee, int lastYear)
{
    std::vector<CardGrid> card = {skillGrades(db, employee), rewardsAndPunishments(db, employee)};
    rebuildYearlyAttendance(db, employee, lastYear);
    card.push_back(yearlyAttendance(db));
    return card;
}

QStringList attendanceYearColumns(int lastYear)
{
    QStringList columns;
    for (int year = lastYear; year > lastYear - kYears; --year)
        columns << QString::number(year) + QStringLiteral("年");
    return columns;
}

void rebuildYearlyAttendance(const QSqlDatabase &db, const QString &employee, int lastYear)
{
    const int firstYear = lastYear - kYears + 1;
    // The hours are read inside the transaction that writes them, so no other writer's rows
    // come between the read and the table.
    Transaction transaction(db);
    // Hours per kind and year, summed exactly as stored; rounded to the fourth decimal only to
    // drop the binary noise of adding decimal fractions.
    QSqlQuery q = sql::prepare(db, "select 方式编码, cast(substr(考勤时间, 1, 4) as integer) as ns, round(sum(时数), 4) "
                                   "from kqjlb where 职工编码=:zgbm and 考勤时间>=:from and 考勤时间<:to "
                                   "group by 方式编码, ns");
    q.setForwardOnly(true);
    q.bindValue(":zgbm", employee);
    q.bindValue(":from", sql::dateValue(QDate(firstYear, 1, 1)));
    q.bindValue(":to", sql::dateValue(QDate(lastYear + 1, 1, 1)));
    sql::exec(q);
    std::map<std::pair<QString, int>, QVariant> hours;
    while (q.next())
        hours[{q.value(0).toString(), q.value(1).toInt()}] = q.value(2);

    q.finish();

    const QStringList years = attendanceYearColumns(lastYear);
    shapeYearlyTable(db, years);
    QSqlQuery insert = sql::prepareInsert(db, QStringLiteral("kqtjb"), QStringList{"事由"} + years);
    for (const AttendanceKind &kind : attendanceKinds(db)) {
        QVariantList row = {kind.name};
        for (int year = lastYear; year >= firstYear; --year) {
            const auto found = hours.find({kind.code, year});
            row << (found == hours.end() ? QVariant(0) : found->second);
        }
        sql::bindRow(insert, row);
        sql::exec(insert);
    }
    transaction.commit();
}

CardGrid yearlyAttendance(const QSqlDatabase &db)
{
    // The columns as the catalogue lists them: a server's work table has its rowid beside them.
    const QStringList titles = sql::dialect(db).columnNames(db, QStringLiteral("kqtjb"));
    QStringList quoted;
    for (const QString &title : titles)
        quoted << sql::quoteIdentifier(title);
    QSqlQuery q = sql::prepare(db, QStringLiteral("select %1 from kqtjb order by rowid").arg(quoted.join(", ")));
    q.setForwardOnly(true);
    sql::exec(q);
    return readGrid(q, QStringLiteral("考勤情况（小时）"), titles);
}

CardGrid skillGrades(const QSqlDatabase &db, const QString &employee)
{
    // The position is the one in force on the grade's date (dated on or before it, the last
    // entered), read through the position history's index for this one employee.
    QSqlQuery q = sql::prepare(
        db, "select g.变动时间, zwdmb.职务名称, null, coalesce(gwjnlbb.类别名称, '') || coalesce(gwjndmb.档次名称, '') "
            "from gwjndtb g left join gwjnlbb on gwjnlbb.类别编码=g.类别编码 "
            "left join gwjndmb on gwjndmb.档次编码=g.档次编码 "
            "left join zwdtb on zwdtb.职工编码=g.职工编码 and "
            + history::inForceOnForRow(history::Table::Position, "g.职工编码", "g.变动时间")
            + " left join zwdmb on zwdmb.职务编码=zwdtb.职务编码 "
              "where g.职工编码=:zgbm order by g.变动时间, g.自动编号");
    q.setForwardOnly(true);
    q.bindValue(":zgbm", employee);
    sql::exec(q);
    CardGrid grid = readGrid(q, QStringLiteral("岗位技能档次"), {"变动时间", "职务", "工作时间", "岗位、技能档次"});
    // Each grade lasted until the next change, the last one until today.
    for (int r = 0; r < grid.rows.size(); ++r) {
        const QDate from = sql::toDate(grid.rows[r][0]);
        const QDate to = r + 1 < grid.rows.size() ? sql::toDate(grid.rows[r + 1][0]) : clock_source::today();
        if (from.isValid() && to.isValid())
            grid.rows[r][2] = from.daysTo(to);
    }
    return grid;
}

CardGrid rewardsAndPunishments(const QSqlDatabase &db, const QString &employee)
{
    QSqlQuery q = sql::prepare(db, "select 奖惩日期, 事由, 奖惩方式 from jcjlb where 职工编码=:zgbm "
                                   "order by 奖惩日期, 自动编号");
    q.setForwardOnly(true);
    q.bindValue(":zgbm", employee);
    sql::exec(q);
    return readGrid(q, QStringLiteral("奖惩情况"), {"奖惩日期", "事由", "奖惩方式"});
}

}  // namespace records
