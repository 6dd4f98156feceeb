#include "stats/statistics_table.h"
#include "stats/counting.h"
#include "stats/work_table_stamp.h"

#include "db/dialect.h"
#include "db/schema.h"
#include "db/sql.h"
#include "db/transaction.h"
#include "export/csv.h"

#include <QRegularExpression>
#include <QSqlRecord>

namespace stats {

namespace tables {
// Every statistics table, one line each; its file under src/stats/tables/ defines NAME().
#define WENPAD_STATISTICS_TABLES(TABLE) \
    TABLE(zgjbqkfxb)                    \
    TABLE(zyjsgbqktjb)                  \
    TABLE(dyjbqktjb)                    \
    TABLE(zgglqkfxb)                    \
    TABLE(zgjbqktjb)                    \
    TABLE(pxcjzbtjb)                    \
    TABLE(pxjnzbtjb)

#define WENPAD_DECLARE_TABLE(NAME) const TableDescription &NAME();
WENPAD_STATISTICS_TABLES(WENPAD_DECLARE_TABLE)
}  // namespace tables

const std::vector<const TableDescription *> &statisticsTables()
{
#define WENPAD_LIST_TABLE(NAME) &tables::NAME(),
    static const std::vector<const TableDescription *> all = {WENPAD_STATISTICS_TABLES(WENPAD_LIST_TABLE)};
    return all;
}

const TableDescription *findStatisticsTable(const QString &name)
{
    for (const TableDescription *t : statisticsTables())
        if (t->name == name)
            return t;
    return nullptr;
}

std::vector<WorkColumn> TableDescription::gridColumns() const
{
    using T = WorkColumn::Type;
    std::vector<WorkColumn> columns;
    if (!codeColumn.isEmpty())
        columns.push_back({codeColumn, codeTitle, codeTitle, T::Text});
    columns.push_back({nameColumn, nameTitle, nameHeading, T::Text});
    for (const ValueColumn &v : values) {
        const bool count = v.kind == ValueColumn::Kind::Count;
        columns.push_back({v.key, v.gridTitle, v.heading, count ? T::Integer : T::Real});
        if (count && shares && v.key != "zs") {
            // A long share title may break before "占比" in a printed heading.
            const QString title = v.shareTitle.isEmpty() ? QStringLiteral("占比") : v.shareTitle;
            columns.push_back({v.key + "zb", title, QString(title).replace(QStringLiteral("占比"), QStringLiteral(" 占 比")).trimmed(), T::Real});
        }
    }
    return columns;
}

std::vector<WorkColumn> TableDescription::columns() const
{
    std::vector<WorkColumn> all{{"bz", {}, {}, WorkColumn::Type::Text}};
    for (const QString &key : keys)
        all.push_back({key, {}, {}, WorkColumn::Type::Text});
    for (const WorkColumn &c : gridColumns())
        if (!keys.contains(c.key))
            all.push_back(c);
    return all;
}

const ValueColumn &TableDescription::value(const QString &key) const
{
    for (const ValueColumn &v : values)
        if (v.key == key)
            return v;
    throw std::out_of_range(("no value column " + key + " in " + name).toStdString());
}

QStringList TableDescription::printedKeys(const PrintedReport &report) const
{
    if (!report.keys.isEmpty())
        return report.keys;
    QStringList keys;
    for (const WorkColumn &c : gridColumns())
        keys << c.key;
    return keys;
}

QString TableDescription::gridQuery(const QString &columnList) const
{
    QStringList all;
    if (columnList.isEmpty())
        for (const WorkColumn &c : columns())
            all << c.key;
    return QStringLiteral("select %1 from %2 order by %3").arg(columnList.isEmpty() ? all.join(',') : columnList, name, gridOrder);
}

static WorkTableStamp stampOf(const TableDescription &table, const QStringList &statements, const Period &period)
{
    const QString inputs = period.isRange() ? period.from.toString(Qt::ISODate) + ".." + period.to.toString(Qt::ISODate)
                                            : period.to.toString(Qt::ISODate);
    return {table.name, inputs, WorkTableStamp::fingerprintOf(statements)};
}

void TableDescription::rebuild(const QSqlDatabase &db, const Period &period) const
{
    Transaction transaction(db);
    fill(db, period);
    transaction.commit();
}

bool TableDescription::readBuilt(const QSqlDatabase &db, const Period &period, const std::function<void()> &read,
                                 Rebuilding rebuilding) const
{
    Transaction transaction(db);
    const bool rebuilt = rebuilding == Rebuilding::Always || !holds(db, period);
    if (rebuilt)
        fill(db, period);
    read();
    transaction.commit();
    return rebuilt;
}

void TableDescription::fill(const QSqlDatabase &db, const Period &period) const
{
    const QStringList list = statements(*this, sql::dialect(db));
    for (const QString &statement : list) {
        const std::vector<std::pair<QString, QDate>> parameters =
            overRange ? std::vector<std::pair<QString, QDate>>{{":from", period.from}, {":to", period.to}}
                      : counting::cutoffParameters(statement, period.to);
        QSqlQuery q = sql::prepare(db, statement);
        for (const auto &[name, date] : parameters)
            if (statement.contains(name))
                q.bindValue(name, sql::dateValue(date));
        sql::exec(q);
    }
    stampOf(*this, list, period).record(db);
}

bool TableDescription::holds(const QSqlDatabase &db, const Period &period) const
{
    return stampOf(*this, statements(*this, sql::dialect(db)), period).isCurrent(db);
}

QString periodCaption(const Period &period)
{
    const QString cutoff = QStringLiteral("截止日期 ") + period.to.toString(Qt::ISODate);
    return period.isRange() ? QStringLiteral("起始日期 %1 %2").arg(period.from.toString(Qt::ISODate), cutoff) : cutoff;
}

static schema::Table workTableOf(const TableDescription &description)
{
    schema::Table table{description.name, {}};
    for (const WorkColumn &c : description.columns()) {
        switch (c.type) {
        case WorkColumn::Type::Text:
            // Keys and names hold whatever their source holds (a course content runs to
            // 255 characters); only the row kind has a width.
            table.columns.push_back({c.key, schema::Kind::Text, c.key == "bz" ? 2 : 0});
            break;
        case WorkColumn::Type::Integer:
            table.columns.push_back({c.key, schema::Kind::Integer});
            break;
        case WorkColumn::Type::Real:
            table.columns.push_back({c.key, schema::Kind::Number});
            break;
        }
    }
    return table;
}

// The register's tables the statements name on any engine: what the table is built from (a
// name the SQL carries as text counts too, as that table is read all the same).
static QStringList tablesRead(const TableDescription &description)
{
    QString text;
    for (const sql::Dialect *dialect : sql::dialects())
        text += description.statements(description, *dialect).join('\n');
    QStringList reads;
    for (const schema::Table &t : schema::tables())
        if (!findStatisticsTable(t.name) && text.contains(QRegularExpression("\\b" + t.name + "\\b")))
            reads << t.name;
    return reads;
}

void registerWorkTables()
{
    for (const TableDescription *t : statisticsTables())
        schema::registerWorkTable({workTableOf(*t), tablesRead(*t)});
}

QString toCsv(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery q = sql::prepare(db, statement);
    q.setForwardOnly(true);
    sql::exec(q);
    return toCsv(q);
}

QString gridCsv(const QSqlDatabase &db, const TableDescription &table)
{
    QStringList keys, titles;
    for (const WorkColumn &c : table.gridColumns()) {
        keys << c.key;
        titles << c.gridTitle;
    }
    QSqlQuery q = sql::prepare(db, table.gridQuery(keys.join(',')));
    q.setForwardOnly(true);
    sql::exec(q);
    return toCsv(q, titles);
}

QString toCsv(QSqlQuery &q, const QStringList &titles)
{
    const QSqlRecord record = q.record();
    QStringList header = titles;
    for (int i = header.size(); i < record.count(); ++i)
        header << record.fieldName(i);
    QString csv = csv::line(header);
    while (q.next()) {
        QVariantList fields;
        for (int i = 0; i < record.count(); ++i)
            fields << q.value(i);
        csv += csv::line(fields);
    }
    return csv;
}

}  // namespace stats
