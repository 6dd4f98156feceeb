#include "stats/statistics_table.h"
#include "stats/work_table_stamp.h"

#include "db/sql.h"
#include "db/transaction.h"
#include "stats/work_table_schemas.h"

#include <QSqlRecord>

namespace stats {

namespace tables {
// Every statistics table, one line each; its file under src/stats/tables/ defines NAME().
#define WENPAD_STATISTICS_TABLES(TABLE) \
    TABLE(zgjbqkfxb)                    \
    TABLE(zyjsgbqktjb)                  \
    TABLE(dyjbqktjb)                    \
    TABLE(zgglqkfxb)                    \
    TABLE(zgjbqktjb)

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
    std::vector<WorkColumn> columns{{nameColumn, nameTitle, nameHeading, T::Text}};
    for (const ValueColumn &v : values) {
        const bool count = v.kind == ValueColumn::Kind::Count;
        columns.push_back({v.key, v.gridTitle, v.heading, count ? T::Integer : T::Real});
        if (count && shares && v.key != "zs")
            columns.push_back({v.key + "zb", "占比", "占 比", T::Real});
    }
    return columns;
}

std::vector<WorkColumn> TableDescription::columns() const
{
    std::vector<WorkColumn> all{{"bz", {}, {}, WorkColumn::Type::Text}};
    for (const QString &key : keys)
        all.push_back({key, {}, {}, WorkColumn::Type::Text});
    for (const WorkColumn &c : gridColumns())
        if (c.key != nameColumn)
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
    return QStringLiteral("select %1 from %2 order by %3").arg(columnList, name, gridOrder);
}

static WorkTableStamp stampOf(const TableDescription &table, const QStringList &statements, const QDate &cutoff)
{
    return {table.name, cutoff.toString(Qt::ISODate), WorkTableStamp::fingerprintOf(statements)};
}

void TableDescription::rebuild(const QSqlDatabase &db, const QDate &cutoff) const
{
    const QStringList list = statements(*this);
    Transaction transaction(db);
    for (const QString &statement : list) {
        QSqlQuery q = sql::prepare(db, statement);
        if (statement.contains(":d"))
            q.bindValue(":d", sql::dateValue(cutoff));
        sql::exec(q);
    }
    stampOf(*this, list, cutoff).record(db);
    transaction.commit();
}

bool TableDescription::holds(const QSqlDatabase &db, const QDate &cutoff) const
{
    return stampOf(*this, statements(*this), cutoff).isCurrent(db);
}

std::vector<schema::Table> workTableSchemas()
{
    std::vector<schema::Table> all;
    for (const TableDescription *t : statisticsTables()) {
        schema::Table table{t->name, {}};
        for (const WorkColumn &c : t->columns()) {
            switch (c.type) {
            case WorkColumn::Type::Text:
                table.columns.push_back({c.key, schema::Kind::Text, c.key == "bz" ? 2 : 50});
                break;
            case WorkColumn::Type::Integer:
                table.columns.push_back({c.key, schema::Kind::Integer});
                break;
            case WorkColumn::Type::Real:
                table.columns.push_back({c.key, schema::Kind::Number});
                break;
            }
        }
        all.push_back(table);
    }
    return all;
}

static QString csvField(const QVariant &value)
{
    if (value.isNull())
        return {};
    QString text = value.typeId() == QMetaType::Double ? QString::number(value.toDouble(), 'g', 15)
                                                        : value.toString();
    if (text.contains(',') || text.contains('"') || text.contains('\n'))
        text = '"' + text.replace('"', "\"\"") + '"';
    return text;
}

QString toCsv(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery q = sql::prepare(db, statement);
    q.setForwardOnly(true);
    sql::exec(q);
    return toCsv(q);
}

QString toCsv(QSqlQuery &q)
{
    const QSqlRecord record = q.record();
    QStringList header;
    for (int i = 0; i < record.count(); ++i)
        header << record.fieldName(i);
    QString csv = header.join(',') + '\n';
    while (q.next()) {
        QStringList fields;
        for (int i = 0; i < record.count(); ++i)
            fields << csvField(q.value(i));
        csv += fields.join(',') + '\n';
    }
    return csv;
}

}  // namespace stats
