#include "staff/personal_sheet.h"

#include "db/employee_listing.h"
#include "db/code_items.h"
#include "db/sql.h"
#include "staff/employee_fields.h"

#include <QSqlRecord>

namespace staff {
namespace {

const QString kWorkType = QStringLiteral("zcdtb.类别编码");
const QString kTitle = QStringLiteral("zcdtb.职称编码");

history::Table historyNamed(const QString &table)
{
    for (history::Table t : {history::Table::Department, history::Table::Position, history::Table::Title,
                             history::Table::SkillGrade})
        if (history::tableName(t) == table)
            return t;
    return history::Table::GradeSalary;
}

// Outer joins throughout: a missing history row or an unknown code leaves that one field
// blank instead of hiding the whole employee.
QString sheetStatement()
{
    QStringList columns = {"zghmc.照片", "zghmc.职工简介"};
    EmployeeListing listing(EmployeeListing::Join::Outer);
    for (const QString &table : entryHistoryTables())
        listing.current(historyNamed(table));
    QString titleAlias;
    int n = 0;
    for (const edit::Field &f : detailFields()) {
        const QString as = " as " + sql::quoteIdentifier(f.key());
        const QString source = f.table + '.' + sql::quoteIdentifier(f.column);
        if (f.kind != edit::Kind::CodeList || f.key() == kWorkType) {
            if (f.key() != kWorkType)
                columns << source + as;
            continue;
        }
        const QString alias = QStringLiteral("c%1").arg(++n);
        listing.code(f.listTable(), source, alias);
        columns << alias + '.' + sql::quoteIdentifier(code_items::columnsOf(f.listTable()).name) + as;
        if (f.key() == kTitle)
            titleAlias = alias;
    }
    // The work type shown is the category of the current title, not the stored category.
    listing.code("jslbdmb", titleAlias + ".技术分类", "worktype");
    columns << "worktype.类别名称 as " + sql::quoteIdentifier(kWorkType);
    return QStringLiteral("select %1 %2 where zghmc.职工编码=:zgbm").arg(columns.join(", "), listing.from());
}

}  // namespace

std::optional<QMap<QString, QString>> personalSheet(const QSqlDatabase &db, const QString &code)
{
    static const QString statement = sheetStatement();
    QSqlQuery q = sql::prepare(db, statement);
    q.setForwardOnly(true);
    q.bindValue(":zgbm", code);
    sql::exec(q);
    if (!q.next())
        return std::nullopt;
    QMap<QString, QString> sheet;
    const QSqlRecord record = q.record();
    for (int i = 0; i < record.count(); ++i) {
        const QString name = record.fieldName(i);
        const edit::Field *f = findField(name);
        sheet.insert(name, f ? edit::shownValue(*f, q.value(i)) : q.value(i).toString());
    }
    return sheet;
}

}  // namespace staff
