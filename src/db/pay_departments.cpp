#include "db/pay_departments.h"

#include "db/dialect.h"
#include "db/history.h"
#include "db/sql.h"
#include "db/transaction.h"

namespace pay_departments {
namespace {

const QString kHistory = history::tableName(history::Table::Department);

QString triggerName(const QString &table, const char *event) { return QStringLiteral("gzdw_%1_%2").arg(table, QLatin1String(event)); }

// Sets the column of the employee's rows of every pay table (those of months from `since` on,
// when given).
QString recount(const QString &employee, const QString &since = {})
{
    QString body;
    for (const QString &t : tables())
        body += QStringLiteral("update %1 set %2=%3 where 职工编码=%4%5;")
                    .arg(t, kColumn, inForceOn(employee, t + QStringLiteral(".年月")), employee,
                         since.isEmpty() ? QString() : QStringLiteral(" and 年月>=") + since);
    return body;
}

QStringList allTriggerNames()
{
    QStringList names;
    for (const QString &t : tables())
        names << triggerName(t, "insert") << triggerName(t, "update");
    for (const char *event : {"insert", "delete", "update"})
        names << triggerName(kHistory, event);
    return names;
}

}  // namespace

QString inForceOn(const QString &employeeExpression, const QString &dateExpression)
{
    // Written out rather than through the dialect's form, which reads the whole history for
    // a statement's first row: a trigger judges one employee.
    return QStringLiteral("(select h.单位编码 from %1 h where h.职工编码=%2 and h.变动时间<=%3 order by h.自动编号 desc limit 1)")
        .arg(kHistory, employeeExpression, dateExpression);
}

const QStringList &tables()
{
    static const QStringList names = {QStringLiteral("gzb"), QStringLiteral("btb"), QStringLiteral("jjb")};
    return names;
}

QStringList triggerStatements(const sql::Dialect &dialect)
{
    QStringList statements;
    for (const QString &t : tables()) {
        const QString own = QStringLiteral("update %1 set %2=%3 where 自动编号=new.自动编号")
                                .arg(t, kColumn, inForceOn(QStringLiteral("new.职工编码"), QStringLiteral("new.年月")));
        // A row written with its department (this program's generation judges a whole month
        // at once) keeps it; a writer that does not know the column leaves it empty.
        statements << dialect.createTrigger(triggerName(t, "insert"), QStringLiteral("insert"), t,
                                            own + QStringLiteral(" and new.%1 is null;").arg(kColumn))
                   << dialect.createTrigger(triggerName(t, "update"), QStringLiteral("update of 职工编码, 年月"), t, own + ';');
    }
    // A new history row changes what is in force from its own date on only; a deleted or
    // changed one may change any month of the employees concerned.
    statements << dialect.createTrigger(triggerName(kHistory, "insert"), QStringLiteral("insert"), kHistory,
                                        recount(QStringLiteral("new.职工编码"), QStringLiteral("new.变动时间")))
               << dialect.createTrigger(triggerName(kHistory, "delete"), QStringLiteral("delete"), kHistory,
                                        recount(QStringLiteral("old.职工编码")))
               << dialect.createTrigger(triggerName(kHistory, "update"),
                                        QStringLiteral("update of 职工编码, 变动时间, 自动编号, 单位编码"), kHistory,
                                        recount(QStringLiteral("new.职工编码")) + recount(QStringLiteral("old.职工编码")));
    return statements;
}

QString monthDepartment(const QSqlDatabase &db, const QString &employeeExpression, const QString &monthExpression)
{
    return sql::dialect(db).valueInForceOn(history::Table::Department, QStringLiteral("单位编码"), employeeExpression,
                                           monthExpression);
}

void fill(const QSqlDatabase &db)
{
    for (const QString &t : tables())
        sql::exec(db, QStringLiteral("update %1 set %2=%3")
                          .arg(t, kColumn, monthDepartment(db, t + QStringLiteral(".职工编码"), t + QStringLiteral(".年月"))));
}

void ensure(const QSqlDatabase &db)
{
    if (sql::missingTablesAndTriggers(db, allTriggerNames()).isEmpty())
        return;
    Transaction transaction(db);
    for (const QString &statement : triggerStatements(sql::dialect(db)))
        sql::exec(db, statement);
    fill(db);
    transaction.commit();
}

}  // namespace pay_departments
