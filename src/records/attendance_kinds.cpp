#include "records/attendance_kinds.h"

#include <QSet>

namespace records {

std::vector<AttendanceKind> attendanceKinds(const QSqlDatabase &db)
{
    const QList<code_items::Item> kinds = code_items::codeItems(db, QStringLiteral("kqfsb"));
    return {kinds.begin(), kinds.end()};
}

namespace {

// A column name as SQLite compares it: ASCII letters folded, everything else as is.
QString folded(const QString &name)
{
    QString f = name;
    for (QChar &c : f)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return f;
}

}  // namespace

QStringList kindColumnNames(const std::vector<AttendanceKind> &kinds, const QStringList &taken)
{
    QSet<QString> used;
    for (const QString &t : taken)
        used.insert(folded(t));
    QStringList names;
    for (const AttendanceKind &kind : kinds) {
        QString name = kind.name.trimmed().isEmpty() ? kind.code : kind.name;
        name.replace(QChar(0), QLatin1Char('_'));
        while (used.contains(folded(name)))
            name += QLatin1Char('_') + kind.code;
        used.insert(folded(name));
        names << name;
    }
    return names;
}

}  // namespace records
