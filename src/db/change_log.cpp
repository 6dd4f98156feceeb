#include "db/change_log.h"

#include "db/connection_names.h"
#include "db/dialect.h"
#include "db/rights.h"
#include "db/schema.h"
#include "db/sql.h"
#include "db/transaction.h"


namespace change_log {
namespace {

struct Event {
    const char *name;    // the trigger's event
    const char *action;  // what the entry says
    const char *before;  // the row image of the old values: "old" or none
    const char *after;
};
const Event kEvents[] = {{"insert", "新增", nullptr, "new"}, {"update", "修改", "old", "new"}, {"delete", "删除", "old", nullptr}};

QString textLiteral(const QString &text) { return '\'' + QString(text).replace('\'', "''") + '\''; }

QString triggerName(const QString &table, const char *event) { return QStringLiteral("czrz_%1_%2").arg(table, QLatin1String(event)); }

ConnectionNames &attachedConnections()
{
    static ConnectionNames names;
    return names;
}

// Connections whose open transaction set the mark without being attached (a bench's own
// connection): their commit clears it too.
ConnectionNames &markedConnections()
{
    static ConnectionNames names;
    return names;
}

const Logged *findLogged(const QString &table)
{
    for (const Logged &l : loggedTables())
        if (l.table == table)
            return &l;
    return nullptr;
}

bool isAmount(const QString &table, const QString &column)
{
    const schema::Table *t = schema::findTable(table);
    if (!t)
        return false;
    for (const schema::Column &c : t->columns)
        if (c.name == column)
            return c.kind == schema::Kind::Money;
    return true;  // a salary item's column
}

// "column=value" of one column of the row `alias`, amounts in yuan.
QString shownValue(const Logged &logged, const QString &alias, const QString &column)
{
    const QString value = QStringLiteral("%1.%2").arg(alias, sql::quoteIdentifier(column));
    if (logged.hidden.contains(column))
        return textLiteral(column + "=******");
    const QString text = isAmount(logged.table, column) ? QStringLiteral("cast(round(%1/10000.0, 2) as text)").arg(value)
                                                        : QStringLiteral("cast(%1 as text)").arg(value);
    return QStringLiteral("%1 || coalesce(%2, '')").arg(textLiteral(column + "="), text);
}

// The row's values, or for an update those of the columns that changed.
QString image(const Logged &logged, const QStringList &columns, const char *alias, bool changedOnly)
{
    if (!alias)
        return QStringLiteral("null");
    QStringList parts;
    for (const QString &c : columns) {
        const QString part = shownValue(logged, QLatin1String(alias), c) + QStringLiteral(" || '；'");
        if (!changedOnly)
            parts << part;
        else
            parts << QStringLiteral("case when old.%1 is distinct from new.%1 then %2 else '' end")
                         .arg(sql::quoteIdentifier(c), part);
    }
    return parts.isEmpty() ? QStringLiteral("''") : QStringLiteral("rtrim(%1, '；')").arg(parts.join(QStringLiteral(" || ")));
}

QStringList triggerStatements(const QSqlDatabase &db, const Logged &logged)
{
    const sql::Dialect &dialect = sql::dialect(db);
    const QStringList columns = dialect.columnNames(db, logged.table);
    QStringList statements;
    for (const Event &e : kEvents) {
        const QString row = QLatin1String(e.after ? e.after : e.before);
        const QString employee = logged.employee.isEmpty() ? QStringLiteral("null")
                                                           : QStringLiteral("%1.%2").arg(row, sql::quoteIdentifier(logged.employee));
        const bool update = QLatin1String(e.name) == QLatin1String("update");
        // Joined, not arg()-ed: a value image must never be read as a placeholder.
        const QStringList values = {dialect.localTimestamp(), dialect.writerNow(), textLiteral(logged.table),
                                    QStringLiteral("cast(%1.%2 as text)").arg(row, sql::quoteIdentifier(logged.key)), employee,
                                    textLiteral(QString::fromUtf8(e.action)), image(logged, columns, e.before, update),
                                    image(logged, columns, e.after, update)};
        const QString body = QStringLiteral("insert into ") + kTable
                             + QStringLiteral(" (时间, 操作员, 表名, 主键, 职工编码, 操作, 旧值, 新值) select ")
                             + values.join(QStringLiteral(", ")) + QStringLiteral(" where not (") + dialect.silenced()
                             + QStringLiteral(");");
        statements << dialect.createTrigger(triggerName(logged.table, e.name), QLatin1String(e.name), logged.table, body);
    }
    return statements;
}

QStringList missing(const QSqlDatabase &db)
{
    QStringList names;
    for (const Logged &l : loggedTables())
        for (const Event &e : kEvents)
            names << triggerName(l.table, e.name);
    return sql::missingTablesAndTriggers(db, names);
}

bool markRowMissing(const QSqlDatabase &db)
{
    return sql::scalar(db, QStringLiteral("select count(*) from %1").arg(kMarkTable)).toInt() != 1;
}

}  // namespace

const std::vector<Logged> &loggedTables()
{
    static const std::vector<Logged> logged = [] {
        const QString employee = QStringLiteral("职工编码");
        std::vector<Logged> l = {{"zghmc", employee, employee}, {"gbllb", employee, employee},
                                 {"pxnrb", "培训编码", {}}, {"gzzd", "字段", {}},
                                 {"czydmb", "czybh", {}, {"czymm"}}};
        for (const char *t : {"dwdtb", "zwdtb", "zcdtb", "gwjndtb", "zwdjdtb", "jcjlb", "kqjlb", "pxjlb", "ndkhb", "gzb",
                              "jjb", "btb"})
            l.push_back({t, "自动编号", employee});
        // The résumé's lists have no key of their own: the employee names the row.
        for (const char *t : {"pojlb", "jtcyb", "gwgxb", "hyjlb", "gzjlb", "xxjlb"})
            l.push_back({t, employee, employee});
        for (const char *t : {"dwdmb", "zwjbdmb", "zwdmb", "zcjbdmb", "jslbdmb", "zcdmb", "mzdmb", "whcddmb", "dpdmb",
                              "gwjnlbb", "gwjndmb", "zwdjdmb", "kqfsb"})
            l.push_back({t, schema::findTable(t)->columns.front().name, {}});
        return l;
    }();
    return logged;
}

void create(const QSqlDatabase &db)
{
    if (markRowMissing(db)) {
        sql::exec(db, QStringLiteral("delete from %1").arg(kMarkTable));
        sql::exec(db, QStringLiteral("insert into %1 (操作员, 静默) values (null, 0)").arg(kMarkTable));
    }
    const QStringList absent = missing(db);
    for (const Logged &l : loggedTables())
        for (const Event &e : kEvents)
            if (absent.contains(triggerName(l.table, e.name))) {
                createTriggers(db, l.table);
                break;
            }
}

void ensure(const QSqlDatabase &db)
{
    if (missing(db).isEmpty() && !markRowMissing(db))
        return;
    Transaction transaction(db);
    create(db);
    transaction.commit();
}

void dropTriggers(const QSqlDatabase &db, const QString &table)
{
    for (const Event &e : kEvents)
        sql::exec(db, sql::dialect(db).dropTrigger(triggerName(table, e.name), table));
}

void createTriggers(const QSqlDatabase &db, const QString &table)
{
    if (const Logged *logged = findLogged(table))
        for (const QString &statement : triggerStatements(db, *logged))
            sql::exec(db, statement);
}

void attach(const QString &connectionName) { attachedConnections().insert(connectionName); }
void detach(const QString &connectionName) { attachedConnections().remove(connectionName); }
bool attached(const QSqlDatabase &db)
{
    return attachedConnections().contains(db.connectionName()) || markedConnections().contains(db.connectionName());
}

void mark(const QSqlDatabase &db, const QString &writer)
{
    markedConnections().insert(db.connectionName());
    QSqlQuery q = sql::prepare(db, sql::dialect(db).markWriter());
    q.bindValue(QStringLiteral(":w"), writer);
    sql::exec(q);
}

void clearMark(const QSqlDatabase &db)
{
    if (const QString clear = sql::dialect(db).clearWriter(); !clear.isEmpty())
        sql::exec(db, clear);
    markedConnections().remove(db.connectionName());
}

void silence(const QSqlDatabase &db)
{
    markedConnections().insert(db.connectionName());
    sql::exec(db, sql::dialect(db).silenceWriter());
}

void writeSummary(const QSqlDatabase &db, const QString &table, const QString &action, const QString &text)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("insert into %1 (时间, 操作员, 表名, 操作, 新值) values (%2, %3, :t, :a, :v)")
                                       .arg(kTable, sql::dialect(db).localTimestamp(), sql::dialect(db).writerNow()));
    q.bindValue(QStringLiteral(":t"), table);
    q.bindValue(QStringLiteral(":a"), action);
    q.bindValue(QStringLiteral(":v"), text);
    sql::exec(q);
}

void noteRestore(const QSqlDatabase &db, const QString &backupFile)
{
    Transaction transaction(db);
    writeSummary(db, QStringLiteral("全部"), QStringLiteral("恢复"), QStringLiteral("从备份恢复：%1").arg(backupFile));
    transaction.commit();
}

int clearBefore(const QSqlDatabase &db, const QDate &date)
{
    rights::requireWrite(rights::Area::Upkeep);
    Transaction transaction(db);
    QSqlQuery q = sql::prepare(db, QStringLiteral("delete from %1 where 时间<:d").arg(kTable));
    q.bindValue(QStringLiteral(":d"), sql::dateValue(date));
    sql::exec(q);
    const int removed = q.numRowsAffected();
    writeSummary(db, kTable, QStringLiteral("清除"),
                 QStringLiteral("清除%1以前的日志%2条").arg(date.toString(Qt::ISODate)).arg(removed));
    transaction.commit();
    return removed;
}

QSqlQuery entries(const QSqlDatabase &db, const Filter &filter, const QString &role)
{
    QStringList where;
    QVariantMap values;
    const auto equal = [&](const QString &column, const QString &value) {
        if (value.isEmpty())
            return;
        const QString name = QStringLiteral(":f%1").arg(values.size());
        where << QStringLiteral("%1=%2").arg(column, name);
        values.insert(name, value);
    };
    equal(QStringLiteral("职工编码"), filter.employee);
    equal(QStringLiteral("操作员"), filter.writer);
    equal(QStringLiteral("表名"), filter.table);
    // Times are "yyyy-MM-dd HH:mm:ss": a day's entries sort after its date and before the next.
    if (filter.from.isValid()) {
        where << QStringLiteral("时间>=:from");
        values.insert(QStringLiteral(":from"), sql::dateValue(filter.from));
    }
    if (filter.to.isValid()) {
        where << QStringLiteral("时间<:to");
        values.insert(QStringLiteral(":to"), sql::dateValue(filter.to.addDays(1)));
    }
    QStringList unreadable;
    for (const Logged &l : loggedTables())
        if (const auto area = rights::areaOf(l.table); area && !rights::mayRead(role, *area))
            unreadable << textLiteral(l.table);
    if (!unreadable.isEmpty())
        where << QStringLiteral("表名 not in (%1)").arg(unreadable.join(','));
    QStringList columns;
    for (const QString &c : kColumns)
        columns << c;
    QSqlQuery q = sql::prepare(db, QStringLiteral("select %1 from %2%3 order by 自动编号 desc")
                                       .arg(columns.join(','), kTable,
                                            where.isEmpty() ? QString() : QStringLiteral(" where ") + where.join(" and ")));
    for (auto i = values.begin(); i != values.end(); ++i)
        q.bindValue(i.key(), i.value());
    return q;
}

namespace {

// The values one column of the log holds, in order, for a filter's choice.
QStringList distinctValues(const QSqlDatabase &db, const QString &column)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select distinct %1 from %2 order by %1").arg(column, kTable));
    q.setForwardOnly(true);
    sql::exec(q);
    QStringList values;
    while (q.next())
        values << q.value(0).toString();
    return values;
}

}  // namespace

QStringList tablesLogged(const QSqlDatabase &db, const QString &role)
{
    QStringList tables;
    for (const QString &table : distinctValues(db, QStringLiteral("表名")))
        if (const auto area = rights::areaOf(table); !area || rights::mayRead(role, *area))
            tables << table;
    return tables;
}

QStringList writersLogged(const QSqlDatabase &db) { return distinctValues(db, QStringLiteral("操作员")); }

}  // namespace change_log
