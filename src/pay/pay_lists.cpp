#include "pay/pay_lists.h"

#include "db/money.h"
#include "db/schema.h"
#include "reports/layout.h"

#include <QRegularExpression>

namespace pay {
namespace {

struct ListColumn {
    QString heading;  // blanks mark the breaks of a two-line heading
    QString column;   // the sheet column printed; empty: the signature space
    double weight = 1;
};

struct PayList {
    QString table;
    QString name;
    QString title;
    int flowColumns;
    std::vector<ListColumn> columns;
};

const std::vector<PayList> &payLists()
{
    static const std::vector<PayList> lists = {
        {"gzb", "Trepgzb", "澄禾汀岚公司工资发放表", 2,
         {{"姓名", "职工姓名", 1.3}, {"基础 工资", "基本工资"}, {"岗位 工资", "岗位工资"}, {"工龄", "工龄", 0.7},
          {"边远 津贴", "边远津贴"}, {"应发 工资", "应发工资"}, {" 扣 税金", "扣除税金"}, {"实发", "实发工资"}, {"签名", {}, 1.2}}},
        {"btb", "Trepbtb", "澄禾汀岚公司补贴发放表", 1,
         {{"姓名", "职工姓名", 1.3}, {"生活 补贴", "生活补贴"}, {"食品 补贴", "食品补贴"}, {"艰难 补贴", "艰难补贴"},
          {"液化气  补贴", "液化气补贴"}, {"误餐 补贴", "误餐补贴"}, {"医药 津贴", "医药补贴"}, {"应发 工资", "应发工资"},
          {" 扣发  公积金", "扣发公积金"}, {" 扣发 养老金", "扣发养老金"}, {"实发 工资", "实发工资"}, {"本人 签字", {}, 1.3}}},
        {"jjb", "Trepjjb", "澄禾汀岚公司奖金发放表", 2,
         {{"姓名", "职工姓名", 1.3}, {"单位系数   工资", "单位系数工资"}, {"岗位 系数", "岗位系数"}, {"应发", "应发工资"},
          {"扣发", "扣发"}, {"税金", "税金"}, {"实发", "实发"}, {"签名", {}, 1.2}}},
    };
    return lists;
}

const PayList &listOf(const QString &table)
{
    for (const PayList &l : payLists())
        if (l.table == table)
            return l;
    return payLists().front();
}

// An amount as printed: yuan with two decimals; 工龄 whole.
QString printed(const QString &column, const QVariant &units)
{
    if (units.isNull())
        return {};
    return isWholeYuan(column) ? QString::number(units.toLongLong() / schema::kMoneyScale) : money::formatShown(units.toLongLong());
}

// The totals row of `rows` (units, or null, per column), captioned in the name column.
QStringList totalsRow(const PayList &list, const QList<report::Row> &rows, const QString &caption)
{
    QStringList cells{caption};
    for (size_t i = 1; i < list.columns.size(); ++i) {
        const QString &column = list.columns[i].column;
        qint64 sum = 0;
        bool any = false, overflow = false;
        for (const report::Row &row : rows)
            if (!row.value(int(i)).isNull()) {
                any = true;
                overflow = overflow || __builtin_add_overflow(sum, row.value(int(i)).toLongLong(), &sum);
            }
        cells << (column.isEmpty() || !any ? QString() : overflow ? QStringLiteral("超出范围") : printed(column, sum));
    }
    return cells;
}

}  // namespace

report::Report payList(const QString &table, const ListHeading &heading)
{
    const PayList &list = listOf(table);
    report::Report r;
    r.name = list.name;
    r.orientation = QPageLayout::Landscape;
    r.margins = {20, 20, 20, 20};
    r.title = list.title;
    r.labels = {{QStringLiteral("部门：%1").arg(heading.department), heading.month.toString(QStringLiteral("yyyy年MM月")),
                 heading.printed.toString(QStringLiteral("yyyy年MM月dd日"))}};
    r.titleOnEveryPage = true;
    r.headingsOnEveryPage = true;
    r.flowColumns = list.flowColumns;
    r.flowGap = 4;
    r.ruleEmptyRows = true;
    r.footer = {QStringLiteral("经理："), QStringLiteral("复核："), QStringLiteral("制表：")};
    r.pageNumbers = true;
    r.groups = {{0, 1, QStringLiteral("项目")}};
    for (size_t i = 0; i < list.columns.size(); ++i) {
        const ListColumn &c = list.columns[i];
        report::Cell cell;
        if (i == 0)
            cell = [](const report::Row &row, int) { return row.value(0).toString(); };
        else if (!c.column.isEmpty())
            cell = [column = c.column, i](const report::Row &row, int) { return printed(column, row.value(int(i))); };
        // The blanks in a heading mark where its two lines break.
        static const QRegularExpression blanks(QStringLiteral("\\s+"));
        const QString heading = c.heading.trimmed().split(blanks, Qt::SkipEmptyParts).join(QLatin1Char('\n'));
        r.columns.push_back({heading, c.weight, i == 0 ? report::Align::Left : report::Align::Right, cell});
    }
    r.pageSummary = [&list](const QList<report::Row> &rows) { return totalsRow(list, rows, QStringLiteral("本页合计")); };
    return r;
}

report::Document layoutPayList(const QString &table, const QList<SheetRow> &rows, const ListHeading &heading)
{
    const PayList &list = listOf(table);
    QList<report::Row> listed;
    for (const SheetRow &row : rows) {
        report::Row cells;
        for (const ListColumn &c : list.columns) {
            const std::optional<qint64> units = row.amounts.value(c.column);
            cells << (c.column == QStringLiteral("职工姓名") ? QVariant(row.name) : units ? QVariant(qlonglong(*units)) : QVariant());
        }
        listed << cells;
    }
    report::Report r = payList(table, heading);
    r.summary = totalsRow(list, listed, QStringLiteral("合计"));
    return report::layout(r, listed);
}

}  // namespace pay
