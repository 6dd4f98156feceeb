#include "records/rewards.h"

#include "db/dialect.h"
#include "db/money.h"
#include "db/sql.h"

namespace records {
namespace {

// Reads 奖惩日期, 事由, 奖惩方式, 奖惩金额 from column `first` on, as the grids show them.
QVariantList shownRow(const QSqlQuery &q, int first)
{
    QVariantList row;
    for (int i = 0; i < first; ++i)
        row << q.value(i);
    const QVariant amount = q.value(first + 3);
    row << q.value(first) << q.value(first + 1) << q.value(first + 2)
        << (amount.isNull() ? QVariant() : QVariant(money::formatYuan(amount.toLongLong())));
    return row;
}

// The titles of employeeRewards, and of the editor's columns.
const QStringList &employeeRewardTitles()
{
    static const QStringList titles = {QStringLiteral("奖惩日期"), QStringLiteral("事由"), QStringLiteral("奖惩方式"),
                                       QStringLiteral("奖惩金额")};
    return titles;
}

}  // namespace

QList<code_items::Item> rewardKinds()
{
    return {{QStringLiteral("1"), QStringLiteral("奖励")}, {QStringLiteral("-1"), QStringLiteral("惩罚")}};
}

const EventBook &rewardBook()
{
    using edit::Check;
    using edit::Kind;
    static const EventBook book = {
        "jcjlb", {}, {},
        {{.label = QStringLiteral("奖惩日期"), .table = "jcjlb", .column = "奖惩日期", .kind = Kind::Date,
          .check = Check::Date, .message = QStringLiteral("奖惩日期不是正确的日期（年-月-日）")},
         {.label = QStringLiteral("奖惩方式"), .table = "jcjlb", .column = "奖惩方式"},
         {.label = QStringLiteral("奖惩金额"), .table = "jcjlb", .column = "奖惩金额", .kind = Kind::Money,
          .check = Check::OptionalMoney, .message = QStringLiteral("奖惩金额不是正确的金额（最多四位小数）")},
         {.label = QStringLiteral("奖惩事由"), .table = "jcjlb", .column = "事由"},
         {.label = QStringLiteral("奖励或惩罚"), .table = "jcjlb", .column = "奖惩", .kind = Kind::CodeList,
          .check = Check::NotBlank, .message = QStringLiteral("请选择奖励或惩罚")}},
        "奖惩",
        [](const QSqlDatabase &) { return rewardKinds(); },
        {{"jcjlb.奖惩日期", employeeRewardTitles()[0]}, {"jcjlb.事由", employeeRewardTitles()[1]}, {"jcjlb.奖惩方式", employeeRewardTitles()[2]},
         {"jcjlb.奖惩金额", employeeRewardTitles()[3], true}},
    };
    return book;
}

Listing employeeRewards(const QSqlDatabase &db, const QString &employee, const QDate &from, const QDate &to)
{
    QSqlQuery q = sql::prepare(db, "select 奖惩日期, 事由, 奖惩方式, 奖惩金额 from jcjlb "
                                   "where 职工编码=:zgbm and 奖惩日期>=:bdsj1 and 奖惩日期<=:bdsj2 order by 奖惩日期, 自动编号");
    q.setForwardOnly(true);
    q.bindValue(":zgbm", employee);
    q.bindValue(":bdsj1", sql::dateValue(from));
    q.bindValue(":bdsj2", sql::dateValue(to));
    sql::exec(q);
    Listing listing{employeeRewardTitles(), {}};
    while (q.next())
        listing.rows << shownRow(q, 0);
    return listing;
}

Listing companyRewards(const QSqlDatabase &db, const QDate &from, const QDate &to, RewardOrder order)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select jcjlb.职工编码, zghmc.职工姓名, jcjlb.奖惩日期, jcjlb.事由, "
                                                  "jcjlb.奖惩方式, jcjlb.奖惩金额 from %1 "
                                                  "where zghmc.职工编码=jcjlb.职工编码 and jcjlb.奖惩日期>=:from "
                                                  "and jcjlb.奖惩日期<=:to order by %2")
                                       .arg(sql::dialect(db).joinedInOrder({"jcjlb", "zghmc"}),
                                            order == RewardOrder::ByDate ? "jcjlb.奖惩日期, jcjlb.自动编号"
                                                                         : "jcjlb.职工编码, jcjlb.奖惩日期, jcjlb.自动编号"));
    q.setForwardOnly(true);
    q.bindValue(":from", sql::dateValue(from));
    q.bindValue(":to", sql::dateValue(to));
    sql::exec(q);
    Listing listing{QStringList{QStringLiteral("职工编码"), QStringLiteral("职工姓名")} + employeeRewardTitles(), {}};
    while (q.next())
        listing.rows << shownRow(q, 2);
    return listing;
}

}  // namespace records
