#pragma once
// A complete, valid new employee for the delivered code tables, and counting helpers.

#include "db/sql.h"
#include "staff/employee_record.h"
#include "support/test_support.h"

#include <QStringList>

inline staff::EmployeeRecord validEmployee(const QString &code = QStringLiteral("000100"))
{
    staff::EmployeeRecord r;
    r.values = {{"职工编码", code},          {"职工姓名", "王五"},         {"职工性别", "男"},
                {"出生年月", "1980-01-02"},  {"政治面貌", "01"},           {"入党时间", "2000-7-1"},
                {"文化程度", "03"},          {"入司时间", "2003-06-01"},   {"zcdtb.类别编码", "01"},
                {"dwdtb.单位编码", "02"},    {"zwdtb.职务编码", "04"},     {"zwdjdtb.等级编码", "03"},
                {"zwdjdtb.等级工资", "3120.5"}, {"zcdtb.职称编码", "03"}, {"gwjndtb.类别编码", "01"},
                {"gwjndtb.档次编码", "02"},  {"照片", "p1.jpg"},
                {"邮政编码", "13912345678"}};  // the mobile number
    return r;
}

// Rows of zghmc and of each history, "zghmc=1 dwdtb=1 …", to compare what a step wrote.
inline QString rowCounts(const QSqlDatabase &db)
{
    QStringList counts;
    for (const QString &t : QStringList{"zghmc"} + historyTables())
        counts << t + '=' + queryValue(db, "select count(*) from " + t).toString();
    return counts.join(' ');
}

// Adds an employee with one row in each history, through the editor's own save.
inline void addEmployee(const QSqlDatabase &db, const QString &code, const QString &department,
                        const QString &entryDate = QStringLiteral("2003-06-01"))
{
    staff::EmployeeRecord r = validEmployee(code);
    r.values["dwdtb.单位编码"] = department;
    r.values["入司时间"] = entryDate;
    const QString message = staff::saveEmployee(db, r, true);
    if (!message.isEmpty())
        qFatal("cannot add %s: %s", qPrintable(code), qPrintable(message));
}
