#include "db/office_copy.h"

#include "db/change_log.h"
#include "db/delivered_data.h"
#include "db/dialect.h"
#include "db/failure_text.h"
#include "db/read_transaction.h"
#include "db/schema.h"
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

void copyRows(const QSqlDatabase &source, const QSqlDatabase &target, const QString &table)
{
    const QStringList columns = columnsToCopy(source, target, table);
    QStringList quoted;
    for (const QString &c : columns)
        quoted << sql::quoteIdentifier(c);
    QSqlQuery read = sql::prepare(source, QStringLiteral("select %1 from %2").arg(quoted.join(','), sql::quoteIdentifier(table)));
    read.setForwardOnly(true);
    sql::exec(read);
    QSqlQuery write = sql::prepareInsert(target, table, columns);
    QVariantList values;
    while (read.next()) {
        values.clear();
        for (int i = 0; i < columns.size(); ++i)
            values << read.value(i);
        sql::bindRow(write, values);
        sql::exec(write);
    }
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
    return ordered;
}

Outcome copy(const QSqlDatabase &source, const QSqlDatabase &target, const std::function<void(const QString &)> &progress)
{
    const QStringList tables = tablesInReferenceOrder();
    Outcome outcome;
    try {
        const ReadTransaction reading(source);
        Transaction writing(target);
        // The copied rows are the source's, with the source's log entries: none of them is a
        // change made on the target.
        change_log::silence(target);
        sql::exec(target, sql::dialect(target).deferReferenceChecks());
        if (const auto held = heldData(target, tables)) {
            outcome.message = QStringLiteral("目标数据库中已有数据（表%1有%2行），只能复制到新建的数据库。")
                                  .arg(held->first).arg(held->second);
            return outcome;
        }
        // The delivered rows give way to the source's, the referring tables first.
        for (auto t = tables.crbegin(); t != tables.crend(); ++t)
            if (delivered::filledTables().contains(*t))
                sql::exec(target, QStringLiteral("delete from %1").arg(sql::quoteIdentifier(*t)));
        for (const QString &table : tables) {
            if (progress)
                progress(table);
            copyRows(source, target, table);
        }
        bool same = true;
        for (const QString &table : tables) {
            outcome.counts.push_back({table, rowCount(source, table), rowCount(target, table)});
            same = same && outcome.counts.back().source == outcome.counts.back().target;
        }
        if (!same) {
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

}  // namespace office_copy
