// 培训技能等次占比情况: per course dated within the range, its participant rows with skill grade
// A, B, C and D, each with its share. Grade E, which the editor offers too, is in no column.

#include "stats/tables/training_shares.h"

namespace stats::tables {

const TableDescription &pxjnzbtjb()
{
    static const TableDescription table = [] {
        TableDescription t = training::courseTable("pxjnzbtjb", "Tfrmpxjnzbtjb", "  职工培训记录 >> 培训技能等次占比情况");
        t.values = {{"zs", "培训人数", "培训人数", {}}};
        // Column names in lower case, as the statements write them unquoted: a server folds
        // them so, and only a file would find "A" by "a".
        for (const QString grade : {"A", "B", "C", "D"})
            t.values.push_back({grade.toLower(), grade + "等级", grade + "等级", "技能评定='" + grade + "'", {},
                                ValueColumn::Kind::Count, grade + "等级占比"});
        t.reports = {{"Treppxjnzbtjb", "培训技能等次占比情况表", {}, true}};
        return t;
    }();
    return table;
}

}  // namespace stats::tables
