#pragma once
// The two employees whose timeline (gzdtjlb) and record-card attendance (kqtjb) the crash
// writers build by turns, chosen the same way by the writer and by the trials that check it:
// those with the most attendance rows, so both tables hold rows.

#include "db/sql.h"

#include <QSqlQuery>
#include <QStringList>

inline QStringList crashSubjects(const QSqlDatabase &db)
{
    QSqlQuery q = sql::prepare(db, "select 职工编码 from kqjlb group by 职工编码 order by count(*) desc, 职工编码 limit 2");
    sql::exec(q);
    QStringList codes;
    while (q.next())
        codes << q.value(0).toString();
    return codes;
}

// The year the record card of write `i` ends in: two years by turns, so the table's year
// columns change too.
inline int crashCardYear(int i) { return i % 2 ? 2020 : 2026; }
