#include "pay/pay_sheets.h"

#include "db/schema.h"
#include "db/sql.h"

namespace pay {

QStringList Sheet::amountColumns() const { return entered + QStringList{gross} + deductions + QStringList{net}; }

const std::vector<Sheet> &sheets()
{
    static const std::vector<Sheet> all = {
        {"gzb", QStringLiteral("          工资表"), {"基本工资", "岗位工资", "工龄", "边远津贴"}, "应发工资",
         {"扣除税金"}, "实发工资"},
        {"btb", QStringLiteral("            补贴表"),
         {"生活补贴", "食品补贴", "艰难补贴", "液化气补贴", "误餐补贴", "医药补贴"}, "应发工资",
         {"扣发公积金", "扣发养老金"}, "实发工资"},
        {"jjb", QStringLiteral("          奖金表"), {"单位系数工资", "岗位系数"}, "应发工资", {"扣发", "税金"}, "实发"},
    };
    return all;
}

const Sheet &sheet(const QString &table)
{
    for (const Sheet &s : sheets())
        if (s.table == table)
            return s;
    return sheets().front();
}

QStringList gridColumns()
{
    QStringList columns = {QStringLiteral("自动编号"), QStringLiteral("职工编码"), QStringLiteral("职工姓名"),
                           QStringLiteral("单位名称"), QStringLiteral("年月")};
    for (const Sheet &s : sheets())
        columns << s.amountColumns();
    return columns;
}

bool isWholeYuan(const QString &column) { return column == QStringLiteral("工龄"); }

void computeTotals(const Sheet &sheet, Amounts &amounts)
{
    const auto sum = [&](const QStringList &columns) -> std::optional<qint64> {
        qint64 total = 0;
        for (const QString &c : columns) {
            const std::optional<qint64> v = amounts.value(c);
            if (!v)
                return std::nullopt;
            total += *v;
        }
        return total;
    };
    const std::optional<qint64> gross = sum(sheet.entered);
    const std::optional<qint64> deducted = sum(sheet.deductions);
    amounts[sheet.gross] = gross;
    amounts[sheet.net] = gross && deducted ? std::optional<qint64>(*gross - *deducted) : std::nullopt;
}

namespace {
// A stored column in 1/10000 yuan, of the table or alias `qualifier` when one is given.
QString inUnits(const QString &column, const QString &qualifier)
{
    const QString stored = (qualifier.isEmpty() ? QString() : qualifier + '.') + sql::quoteIdentifier(column);
    return isWholeYuan(column) ? QStringLiteral("%1*%2").arg(stored).arg(schema::kMoneyScale) : stored;
}
}  // namespace

QString grossExpression(const Sheet &sheet, const QString &qualifier)
{
    QStringList terms;
    for (const QString &c : sheet.entered)
        terms << inUnits(c, qualifier);
    return '(' + terms.join('+') + ')';
}

QString netExpression(const Sheet &sheet, const QString &qualifier)
{
    QString expression = grossExpression(sheet, qualifier);
    for (const QString &c : sheet.deductions)
        expression += '-' + inUnits(c, qualifier);
    return '(' + expression + ')';
}

QString amountExpression(const Sheet &sheet, const QString &column, const QString &qualifier)
{
    if (column == sheet.gross)
        return grossExpression(sheet, qualifier);
    if (column == sheet.net)
        return netExpression(sheet, qualifier);
    return (qualifier.isEmpty() ? QString() : qualifier + '.') + sql::quoteIdentifier(column);
}

}  // namespace pay
