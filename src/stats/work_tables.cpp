#include "stats/work_tables.h"

#include "db/sql.h"
#include "stats/zgjbqkfxb.h"

#include <QSqlRecord>
#include <QStringList>

namespace stats {

const std::map<QString, WorkTable> &workTables()
{
    static const std::map<QString, WorkTable> tables = {
        {"zgjbqkfxb", {"zgjbqkfxb", "bz, rowid", rebuildZgjbqkfxb, basicSituationReports()}},
    };
    return tables;
}

std::vector<report::Document> printedReports(const QSqlDatabase &db, const QString &workTable, const QDate &cutoff)
{
    std::vector<report::Document> documents;
    for (const StatisticsReport &r : workTables().at(workTable).reports)
        documents.push_back(layoutStatistics(db, workTable, r, cutoff));
    return documents;
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
