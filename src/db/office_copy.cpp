#include "db/office_copy.h"

#include "db/change_log.h"
#include "db/delivered_data.h"
#include "db/dialect.h"
#include "db/failure_text.h"
#include "db/pay_departments.h"
#include "db/read_transaction.h"
#include "db/schema.h"
#include "db/server_database.h"
#include "db/sql.h"
#include "db/transaction.h"

#include <QSet>
#include <algorithm>
#include <optional>
#include <stdexcept>

namespace office_copy {
namespace {

// Salary items are columns of the wage table that the office added itself (codes/code_rows):
// a target made by init has none of them yet.
const QString kWageTable = QStringLiteral("gzb");

qint64 rowCount(const QSqlDatabase &db, const QString &table)
{
    return sql::scalar(db, QStringLiteral("select count(*) from %1").arg(sql::quoteIdentifier(table))).toLongLong();
}

QString referencedTable(const schema::Column &column) { return column.references.section('(', 0, 0); }

// The source's columns of the table, each made on the target when missing; a column the
// target cannot take refuses the copy.
QStringList columnsToCopy(const QSqlDatabase &source, const QSqlDatabase &target, const QString &table)
{
    const QStringList theirs = sql::dialect(source).columnNames(source, table);
    const QStringList ours = sql::dialect(target).columnNames(target, table);
    for (const QString &column : theirs) {
        if (ours.contains(column, Qt::CaseInsensitive))
            continue;
        if (table != kWageTable)
            throw sql::Failure(QStringLiteral("目标数据库的表%1没有列%2，无法复制。").arg(table, column));
        sql::exec(target, sql::dialect(target).addColumn(table, {column, schema::Kind::Money}, QStringLiteral("0")));
    }
    return theirs;
}

// At most this many values in one insert statement: below every engine's limit on parameters,
// and rows sent in groups, not one round trip each.
constexpr int kValuesPerStatement = 2000;

// "insert into table (columns) values (…), (…)" for `rows` rows, bound as sql::bindRow binds.
QString insertRows(const QString &table, const QStringList &quoted, int rows)
{
    QStringList tuples;
    for (int r = 0; r < rows; ++r) {
        QStringList parameters;
        for (int c = 0; c < quoted.size(); ++c)
            parameters << QStringLiteral(":p%1").arg(r * quoted.size() + c);
        tuples << '(' + parameters.join(',') + ')';
    }
    return QStringLiteral("insert into %1 (%2) values %3").arg(sql::quoteIdentifier(table), quoted.join(','), tuples.join(','));
}

void copyRows(const QSqlDatabase &source, const QSqlDatabase &target, const QString &table)
{
    const QStringList columns = columnsToCopy(source, target, table);
    QStringList quoted;
    for (const QString &c : columns)
        quoted << sql::quoteIdentifier(c);
    QSqlQuery read = sql::prepare(source, QStringLiteral("select %1 from %2").arg(quoted.join(','), sql::quoteIdentifier(table)));
    read.setForwardOnly(true);
    sql::exec(read);
    const int perStatement = std::max<int>(1, kValuesPerStatement / std::max<int>(1, columns.size()));
    std::optional<QSqlQuery> full;  // prepared once, for every group but the last
    QVariantList values;
    const auto write = [&](int rows) {
        if (rows == perStatement && !full)
            full.emplace(sql::prepare(target, insertRows(table, quoted, rows)));
        QSqlQuery statement = rows == perStatement ? *full : sql::prepare(target, insertRows(table, quoted, rows));
        sql::bindRow(statement, values);
        sql::exec(statement);
        values.clear();
    };
    int pending = 0;
    while (read.next()) {
        for (int i = 0; i < columns.size(); ++i)
            values << read.value(i);
        if (++pending == perStatement) {
            write(pending);
            pending = 0;
        }
    }
    if (pending > 0)
        write(pending);
    // Rows keep their 自动编号; new rows on the target must continue after them.
    for (const schema::Column &c : schema::findTable(table)->columns)
        if (c.kind == schema::Kind::AutoId)
            for (const QString &statement : sql::dialect(target).continueAutoIds(table, c.name))
                sql::exec(target, statement);
}

// The first table of the target with rows a new database does not have.
std::optional<std::pair<QString, qint64>> heldData(const QSqlDatabase &target, const QStringList &tables)
{
    for (const QString &table : tables)
        if (!delivered::filledTables().contains(table))
            if (const qint64 rows = rowCount(target, table); rows > 0)
                return std::make_pair(table, rows);
    return std::nullopt;
}

}  // namespace

QStringList tablesInReferenceOrder()
{
    QSet<QString> work;
    for (const schema::WorkTable &w : schema::workTables())
        work.insert(w.table.name);
    // The change log's mark belongs to the target's own writers, not to the office.
    work.insert(change_log::kMarkTable);
    std::vector<const schema::Table *> pending;
    for (const schema::Table &t : schema::tables())
        if (!work.contains(t.name))
            pending.push_back(&t);
    QStringList ordered;
    while (!pending.empty()) {
        const auto ready = std::find_if(pending.begin(), pending.end(), [&](const schema::Table *t) {
            return std::all_of(t->columns.begin(), t->columns.end(), [&](const schema::Column &c) {
                const QString referenced = referencedTable(c);
                return referenced.isEmpty() || referenced == t->name || ordered.contains(referenced);
            });
        });
        if (ready == pending.end())
            throw std::logic_error("the schema's references go round in a circle");
        ordered << (*ready)->name;
        pending.erase(ready);
    }
    // The pay rows last (no table refers to them): they come with their department, which
    // the department history's triggers would otherwise judge again for every row copied.
    for (const QString &pay : pay_departments::tables())
        if (ordered.removeOne(pay))
            ordered << pay;
    return ordered;
}

std::vector<TableCount> replaceRows(const QSqlDatabase &source, const QSqlDatabase &target,
                                    const std::function<void(const QString &)> &progress)
{
    const QStringList tables = tablesInReferenceOrder();
    // The copied rows are the source's, with the source's log entries: none of them is a
    // change made on the target.
    change_log::silence(target);
    sql::exec(target, sql::dialect(target).deferReferenceChecks());
    // The referring tables first.
    for (auto t = tables.crbegin(); t != tables.crend(); ++t)
        sql::exec(target, QStringLiteral("delete from %1").arg(sql::quoteIdentifier(*t)));
    for (const QString &table : tables) {
        if (progress)
            progress(table);
        copyRows(source, target, table);
    }
    std::vector<TableCount> counts;
    for (const QString &table : tables)
        counts.push_back({table, rowCount(source, table), rowCount(target, table)});
    return counts;
}

Outcome copy(const QSqlDatabase &source, const QSqlDatabase &target, const std::function<void(const QString &)> &progress)
{
    Outcome outcome;
    try {
        const ReadTransaction reading(source);
        Transaction writing(target);
        // A server database opened empty for the copy is made in the copy's transaction, so a
        // failed copy leaves it empty.
        if (sql::dialect(target).tableNames(target).isEmpty())
            database::makeDelivered(target);
        if (const auto held = heldData(target, tablesInReferenceOrder())) {
            outcome.message = QStringLiteral("目标数据库中已有数据（表%1有%2行），只能复制到新建的数据库。")
                                  .arg(held->first).arg(held->second);
            return outcome;
        }
        // The delivered rows give way to the source's.
        outcome.counts = replaceRows(source, target, progress);
        if (!sameCounts(outcome.counts)) {
            outcome.message = QStringLiteral("复制后的行数与源数据库不符，目标数据库未作改动。");
            return outcome;
        }
        writing.commit();
        outcome.ok = true;
    } catch (const sql::Failure &e) {
        const failure_text::Said said = failure_text::said(e, {.lead = QStringLiteral("复制失败，目标数据库未作改动。")});
        outcome.message = said.text;
        outcome.details = said.details;
    }
    return outcome;
}

bool sameCounts(const std::vector<TableCount> &counts)
{
    return std::all_of(counts.begin(), counts.end(), [](const TableCount &c) { return c.source == c.target; });
}

}  // namespace office_copy
