// 培训成绩占比分析: per course dated within the range, its participant rows in five score bands
// (90 and above; 80, 70 and 60 up to the next ten; below 60), each with its share, and the
// average score; a missing score is in no band but still counts in the average's divisor.

#include "stats/tables/training_shares.h"

namespace stats::tables {

const TableDescription &pxcjzbtjb()
{
    static const TableDescription table = [] {
        TableDescription t = training::courseTable("pxcjzbtjb", "Tfrmpxcjzbtjb", "  职工培训记录 >> 培训成绩占比分析");
        const auto band = [](const char *key, const QString &title, const QString &condition) {
            return ValueColumn{key, title, title, condition, {}, ValueColumn::Kind::Count, title + "占比"};
        };
        t.values = {
            {"zs", "培训人数", "培训 人数", {}},
            band("u90", "90分以上", "成绩>=90"),
            band("f80t90", "80到90分", "成绩>=80 and 成绩<90"),
            band("f70t80", "70到80分", "成绩>=70 and 成绩<80"),
            band("f60t70", "60到70分", "成绩>=60 and 成绩<70"),
            band("l60", "低于60分", "成绩<60"),
            {"pjcj", "平均成绩", "平均 成绩", {}, {}, ValueColumn::Kind::Average},
        };
        t.reports = {{"Treppxcjzbtjb", "培训成绩占比分析表", {}, true}};
        return t;
    }();
    return table;
}

}  // namespace stats::tables
