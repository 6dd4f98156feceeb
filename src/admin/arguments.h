#pragma once
// Strict options for wenpad-admin: each command declares the options it takes and their kind;
// anything else (an unknown or repeated option, a missing value, a loose number or an
// impossible date) is refused before the command touches a file.

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace admin {

enum class Kind {
    Database,     // a database file that must exist
    NewDatabase,  // a database file that must not exist yet
    File,         // an output or input file, any path
    Date,         // exactly yyyy-MM-dd, a real calendar day
    Count,        // a whole number from 1 to 999,999 (the employee-code range)
    Seed,         // a whole number >= 0
    Month,        // exactly yyyy-MM, a real month (the value is its first day)
    Year,         // a year from 1980 to 9999
    Text,         // a code or name, not empty
    Flag,         // takes no value: present or absent
};

struct Option {
    QString name;    // "--db"
    Kind kind;
    bool required = false;
};

struct Parsed {
    QStringList words;              // the words after the command (table or screen names)
    QMap<QString, QVariant> values; // QString, QDate, int or quint64 by kind

    QString text(const QString &name) const { return values.value(name).toString(); }
    QDate date(const QString &name) const { return values.value(name).toDate(); }
    bool has(const QString &name) const { return values.contains(name); }
};

struct Refusal {
    QString message;  // one line
    int status = 2;   // 2: the command line is wrong; 1: a named file cannot be used
};

// Parses `args` (what follows the command word) against `options` and the number of plain
// words the command takes; on refusal `refusal` says why and nothing is returned.
std::optional<Parsed> parse(const QStringList &args, const QList<Option> &options, int words, Refusal *refusal);

}  // namespace admin
