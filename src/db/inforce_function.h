#pragma once
// The SQL function inforce(table, column, employee, date): the value of `column` in the
// employee's row of history `table` in force on `date` (of the rows dated on or before it, the
// one with the greatest 自动编号), NULL when there is none. The history is read into memory
// once per statement and freed when the statement ends, so a statement over a million pay rows
// judges each by its own date without a correlated subquery per row.

struct sqlite3;

bool registerInforceFunction(sqlite3 *handle);
