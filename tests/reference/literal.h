#pragma once
// The statistics tables built the plain way: each table's statement list as the product
// writes it, one statement per column, each deriving every employee's history row in force
// again and summed through scratch rows. Written in SQLite: max() for the last row of a group,
// the cut-off spliced as a quoted date, UPDATE … FROM for an update over two tables and || for
// joining texts. Deliberately independent of the program's rebuilds; tests and the benchmark
// compare the two.

#include "stats/statistics_table.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QStringList>

namespace reference {

// The statement list of a work table: for its cut-off (zgjbqkfxb, zyjsgbqktjb, dyjbqktjb,
// zgglqkfxb, zgjbqktjb) or its range (pxcjzbtjb, pxjnzbtjb).
QStringList statements(const QString &table, const stats::Period &period);
// Runs it one statement at a time. Throws sql::Failure.
void rebuild(const QSqlDatabase &db, const QString &table, const stats::Period &period);

// Shared fragments of the lists.
using Conditions = QList<QPair<QString, QString>>;  // column, condition

QString dateLiteral(const QDate &cutoff);  // '2003-04-20'
// "T.自动编号 in (SELECT max(T.自动编号) FROM T where 变动时间<=D GROUP BY T.职工编码)"
QString inForce(const QString &table, const QString &d);
QString age(const QString &d);  // datediff('YYYY',出生年月,D)
// nv … f55t60 with their conditions, the age bands written "age<=upper and age>lower".
Conditions basicConditions(const QString &d);
// sum(a),sum(b),…
QString sums(const QStringList &columns);
// Statements 2 to 21 of the basic analysis, with the table's name: the head count from the
// history rows, then one scratch statement per column.
QStringList basicScratch(const QString &table, const QString &d);
// The group rows summed from the scratch rows, the scratch rows deleted, the names from their
// code table, and the total row "汀岚分公司" over the group rows.
struct Naming {
    QString key;         // dwbm
    QString name;        // dwmc
    QString source;      // dwdmb
    QString sourceName;  // 单位名称
    QString sourceKey;   // 单位编码
};
QStringList groupRowsAndTotal(const QString &table, const QStringList &columns, const Naming &naming);
// The same per department.
QStringList departmentRowsAndTotal(const QString &table, const QStringList &columns);
// The shares of every column but zs: "update T set azb=100.0*a/zs,… where zs<>0".
QString shares(const QString &table, const QStringList &columns);

QStringList zgjbqkfxb(const QDate &cutoff);
QStringList zyjsgbqktjb(const QDate &cutoff);
QStringList dyjbqktjb(const QDate &cutoff);
QStringList zgglqkfxb(const QDate &cutoff);
QStringList zgjbqktjb(const QDate &cutoff);
QStringList pxcjzbtjb(const QDate &from, const QDate &to);
QStringList pxjnzbtjb(const QDate &from, const QDate &to);

}  // namespace reference
