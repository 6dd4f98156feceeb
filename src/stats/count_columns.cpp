#include "stats/count_columns.h"

namespace stats {

namespace {

// Born on or after 1 January of the year `age` years before the cut-off's year: at most `age`.
QString bornFrom(const QDate &cutoff, int age)
{
    return QString("'%1-01-01'").arg(cutoff.year() - age, 4, 10, QChar('0'));
}

}  // namespace

std::vector<CountColumn> basicSituationColumns(const QDate &cutoff)
{
    std::vector<CountColumn> c = {
        {"nv", "职工性别='女'"},
        {"ssmz", "民族编码<>'00'"},
        {"bs", "文化程度='01'"},
        {"ss", "文化程度='02'"},
        {"bk", "文化程度='03'"},
        {"dz", "文化程度='04'"},
        {"zz", "文化程度>'04'"},
        {"dy", "政治面貌='01'"},
        {"ty", "政治面貌='02'"},
        {"mz", "政治面貌='03'"},
        {"qt", "政治面貌='00'"},
        {"l25", "出生年月>=" + bornFrom(cutoff, 25)},
    };
    // Five-year bands above 25 up to 60, the lower bound excluded.
    for (int low = 25; low < 60; low += 5)
        c.push_back({QString("f%1t%2").arg(low).arg(low + 5),
                     QString("出生年月>=%1 and 出生年月<%2").arg(bornFrom(cutoff, low + 5), bornFrom(cutoff, low))});
    return c;
}

std::vector<TitledColumn> withShares(std::initializer_list<TitledColumn> counts, const QString &shareTitle)
{
    std::vector<TitledColumn> columns;
    for (const TitledColumn &c : counts) {
        columns.push_back(c);
        columns.push_back({c.field + "zb", shareTitle});
    }
    return columns;
}

}  // namespace stats
