#include "stats/tables/training_shares.h"

#include "stats/counting.h"

namespace stats::training {

TableDescription courseTable(const QString &name, const QString &screenClass, const QString &titleBar)
{
    TableDescription t;
    t.name = name;
    t.screenClass = screenClass;
    t.titleBar = titleBar;
    t.gridLabel = QStringLiteral("分析表");
    t.keys = {"pxbm", "pxnr"};
    t.codeColumn = "pxbm";
    t.codeTitle = QStringLiteral("编码");
    t.nameColumn = "pxnr";
    t.nameTitle = QStringLiteral("训练内容");
    t.nameHeading = QStringLiteral("训练内容");
    t.shares = true;
    t.gridOrder = "bz,pxbm";
    t.overRange = true;
    t.statements = statements;
    return t;
}

QStringList statements(const TableDescription &table, const sql::Dialect &)
{
    // Each course's participant rows in one pass: a count per condition, or the score sum.
    const QString values = counting::valueList(table.values);
    return QStringList{
               "delete from " + table.name,
               QStringLiteral("insert into %1 (bz,pxbm,pxnr,%2) select '2', c.培训编码, c.训练内容, %3 "
                              "from pxnrb c join pxjlb j on j.培训编码=c.培训编码 "
                              "where c.培训日期>=:from and c.培训日期<=:to group by c.培训编码 order by c.培训编码")
                   .arg(table.name, values,
                        counting::aggregates(table.values, counting::Empty::WhenNone, counting::Averages::Summed, "j.成绩")),
               counting::totalRow(table, QStringLiteral("pxnr")),
           }
           + counting::finishing(table);
}

}  // namespace stats::training
