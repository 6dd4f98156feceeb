#include "stats/count_columns.h"

namespace stats {

const std::vector<CountColumn> &basicSituationColumns()
{
    static const std::vector<CountColumn> columns = [] {
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
            {"l25", "age<=25"},
        };
        // Five-year bands above 25 up to 60, the lower bound excluded (ages are whole years;
        // between reads the age once).
        for (int low = 25; low < 60; low += 5)
            c.push_back({QString("f%1t%2").arg(low).arg(low + 5),
                         QString("age between %1 and %2").arg(low + 1).arg(low + 5)});
        return c;
    }();
    return columns;
}

QString ageAt(const QString &birthColumn, const QString &dateExpression)
{
    return QString("datediff('yyyy',%1,%2)").arg(birthColumn, dateExpression);
}

}  // namespace stats
