#include "pay/grade_salary.h"

#include "db/money.h"
#include "db/sql.h"

namespace pay {

const records::HistoryGroup &gradeSalaryGroup()
{
    using edit::Check;
    using edit::Kind;
    static const records::HistoryGroup group = {
        QStringLiteral("等级工资动态"), history::Table::GradeSalary, {"zwdjdmb"}, "zwdjdmb.等级编码=zwdjdtb.等级编码",
        {"等级名称", "zwdjdtb.等级工资 as 等级工资", "变动理由"},
        {{.label = QStringLiteral("变动日期"), .table = "zwdjdtb", .column = "变动时间", .kind = Kind::Date,
          .check = Check::Date, .message = QStringLiteral("变动日期不是正确的日期（年-月-日）")},
         {.label = QStringLiteral("等级档次"), .table = "zwdjdtb", .column = "等级编码", .kind = Kind::CodeList,
          .check = Check::Chosen, .message = QStringLiteral("请从列表中选择等级档次")},
         {.label = QStringLiteral("等级工资"), .table = "zwdjdtb", .column = "等级工资", .kind = Kind::Money,
          .check = Check::OptionalMoney, .message = QStringLiteral("等级工资不是正确的金额（最多四位小数）")},
         {.label = QStringLiteral("变动理由"), .table = "zwdjdtb", .column = "变动理由"}},
    };
    return group;
}

QString standardSalary(const QSqlDatabase &db, const QString &grade)
{
    QSqlQuery q = sql::prepare(db, "select 等级工资 from zwdjdmb where 等级编码=:code");
    q.bindValue(":code", grade);
    sql::exec(q);
    if (!q.next() || q.value(0).isNull())
        return {};
    return money::formatYuan(q.value(0).toLongLong());
}

}  // namespace pay
