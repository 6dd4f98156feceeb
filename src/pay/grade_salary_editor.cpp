#include "pay/grade_salary_editor.h"

#include "app/failure_message.h"
#include "app/field_controls.h"
#include "db/sql.h"
#include "pay/grade_salary.h"

#include <QComboBox>

namespace {

const records::HistoryGroup &group() { return pay::gradeSalaryGroup(); }

// Shown: 变动时间, 等级名称, 等级工资, 变动理由; the key and the code stay hidden.
EventEditor::Source gradeSalarySource()
{
    return {group().fields,
            QStringLiteral("等级编码"),
            [](const QSqlDatabase &db) { return code_items::codeItems(db, "zwdjdmb"); },
            {{"变动时间", QStringLiteral("变动时间")}, {"等级名称", QStringLiteral("等级名称")},
             {"等级工资", QStringLiteral("等级工资"), true}, {"变动理由", QStringLiteral("变动理由")}},
            [](const QSqlDatabase &db, const QString &employee) { return records::historyRows(db, group(), employee); },
            [](const QSqlDatabase &db, const QString &employee, const edit::Values &values, std::optional<edit::RecordedRow> row) {
                records::saveHistoryRow(db, group(), employee, values, row);
            },
            [](const QSqlDatabase &db, qint64 rowId) { records::deleteRecordedRow(db, group().tableName(), rowId); }};
}

}  // namespace

Tfrmzwdjbj::Tfrmzwdjbj(ScreenHost &host)
    : EventEditor(host, "Tfrmzwdjbj",
                  {QStringLiteral(" 等级工资及年度考核 >> 等级工资动态编辑"), QStringLiteral("等级工资变动"), {}, 1, true},
                  gradeSalarySource())
{
    connect(static_cast<QComboBox *>(control("等级编码")), &QComboBox::currentIndexChanged, this,
            &Tfrmzwdjbj::fillStandardSalary);
}

void Tfrmzwdjbj::fillStandardSalary()
{
    const QString grade = edit::valueOf(control("等级编码"));
    if (grade.isEmpty())
        return;
    try {
        edit::setValue(control("等级工资"), pay::standardSalary(host().database(), grade));
    } catch (const sql::Failure &e) {
        failure_message::show(this, e, {.reading = true});
    }
}
