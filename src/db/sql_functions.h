#pragma once
// SQL functions the statements rely on, registered on every connection:
//   year(d), month(d)        calendar year and month of an ISO date (NULL for NULL)
//   datediff(unit, a, b)     'yyyy': year(b) - year(a), whole calendar years regardless of
//                            month and day; 'm': calendar months; 'd': days from a to b
//   val(text)                the number the text starts with (blanks skipped), 0 if none
//   date()                   today, from the program's one clock source
//   inforce(t, c, e, d)      column c of employee e's row of history t in force on d
//                            (see inforce_function.h)

#include <QSqlDatabase>

bool registerSqlFunctions(const QSqlDatabase &db);
