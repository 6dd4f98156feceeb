#include "import/import_columns.h"

#include "db/app_paths.h"
#include "staff/employee_fields.h"

#include <QDir>
#include <QSettings>

namespace staff_import {
namespace {

QString withoutSpaces(QString text)
{
    text.remove(QChar(' ')).remove(QChar(0x3000));
    return text.trimmed();
}

// A staff list names some fields otherwise than the editor's captions: the entry-time
// information as the clerks call it, and the code under its register name.
const QMap<QString, QString> &ownTitles()
{
    static const QMap<QString, QString> titles = {
        {"职工编码", "职工编码"},       {"dwdtb.单位编码", "部门"},     {"zcdtb.类别编码", "工种"},
        {"zwdtb.职务编码", "职务"},     {"zwdjdtb.等级编码", "岗位等级"}, {"zcdtb.职称编码", "职称"},
        {"gwjndtb.类别编码", "岗位类别"}, {"gwjndtb.档次编码", "技能档次"}, {"zwdjdtb.等级工资", "等级工资"},
    };
    return titles;
}

std::vector<Column> buildColumns()
{
    std::vector<Column> columns;
    for (const edit::Field &f : staff::detailFields())
        columns.push_back({ownTitles().value(f.key(), withoutSpaces(f.label)), &f});
    return columns;
}

// The names under which a header says a column by itself.
bool names(const Column &column, const QString &header)
{
    return header == column.title || header == withoutSpaces(column.field->label) || header == column.field->column;
}

}  // namespace

const std::vector<Column> &templateColumns()
{
    static const std::vector<Column> columns = buildColumns();
    return columns;
}

QStringList templateTitles()
{
    QStringList titles;
    for (const Column &c : templateColumns())
        titles << c.title;
    return titles;
}

Mapping proposeMapping(const QStringList &headers, const RememberedChoices &remembered)
{
    const std::vector<Column> &columns = templateColumns();
    Mapping mapping(columns.size(), -1);
    for (int h = 0; h < headers.size(); ++h) {
        const QString header = withoutSpaces(headers[h]);
        if (header.isEmpty())
            continue;
        for (size_t c = 0; c < columns.size(); ++c)
            if (mapping[c] < 0 && (names(columns[c], header) || remembered.value(header) == columns[c].title)) {
                mapping[c] = h;
                break;
            }
    }
    return mapping;
}

RememberedChoices choicesOf(const QStringList &headers, const Mapping &mapping)
{
    RememberedChoices choices;
    const std::vector<Column> &columns = templateColumns();
    for (size_t c = 0; c < columns.size(); ++c) {
        const QString header = withoutSpaces(headers.value(mapping[c]));
        if (mapping[c] >= 0 && !header.isEmpty() && !names(columns[c], header))
            choices.insert(header, columns[c].title);
    }
    return choices;
}

namespace {
const QString kChoicesGroup = QStringLiteral("导入列对照");
QString settingsFile() { return QDir(app_paths::programDir()).filePath("wenpad.ini"); }
}  // namespace

RememberedChoices rememberedChoices()
{
    QSettings kept(settingsFile(), QSettings::IniFormat);
    kept.beginGroup(kChoicesGroup);
    RememberedChoices choices;
    for (const QString &header : kept.childKeys())
        choices.insert(header, kept.value(header).toString());
    return choices;
}

void rememberChoices(const RememberedChoices &choices)
{
    QSettings kept(settingsFile(), QSettings::IniFormat);
    kept.beginGroup(kChoicesGroup);
    for (auto it = choices.cbegin(); it != choices.cend(); ++it)
        kept.setValue(it.key(), it.value());
}

QStringList unmappedTitles(const Mapping &mapping)
{
    QStringList titles;
    for (size_t c = 0; c < templateColumns().size(); ++c)
        if (mapping[c] < 0)
            titles << templateColumns()[c].title;
    return titles;
}

}  // namespace staff_import
