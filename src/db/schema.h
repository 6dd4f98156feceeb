#pragma once
// The database written as data: every table with its columns, references and indexes.
// Statements are generated from this one description, so the types and checks of a
// kind of column (dates, money, codes) are the same wherever that kind is used.

#include <QString>
#include <QStringList>
#include <vector>

namespace sql {
class Dialect;
}

namespace schema {

enum class Kind {
    AutoId,    // INTEGER PRIMARY KEY AUTOINCREMENT: increasing in insertion order, never reused
    Code,      // the unique, non-empty code of a code table (primary key)
    Text,      // text, with a width check when width > 0
    LongText,  // text without a practical limit
    Date,      // ISO text yyyy-MM-dd
    Integer,
    Money,     // exact 64-bit integer of 1/10000 yuan
    Number,    // a measured quantity (hours, score, share)
};

struct Column {
    QString name;
    Kind kind;
    int width = 0;
    QString references = {};  // "table(column)"
    bool notNull = false;
};

struct Index {
    QString name;
    QString columns;  // comma-separated
    bool unique = false;
};

struct Table {
    QString name;
    std::vector<Column> columns;
    std::vector<Index> indexes = {};
};

// Scale of money: the integer stored is yuan × 10000.
inline constexpr qint64 kMoneyScale = 10000;

// A table a feature keeps in the file and fills itself from the register (a statistics table's
// work table), with the register's tables its rows are read from: it is created with the
// schema, and writes to what it reads are counted (change_counter.h).
struct WorkTable {
    Table table;
    QStringList reads;
};

// Features register their work tables at start-up, before a database is opened; the same name
// registered again is ignored.
void registerWorkTable(const WorkTable &table);
const std::vector<WorkTable> &workTables();
bool isWorkTable(const QString &name);

// The register's own tables, then the registered work tables.
const std::vector<Table> &tables();
const Table *findTable(const QString &name);
// Tables then indexes, in dependency order; the work tables too where the dialect keeps them
// in the database rather than per connection.
QStringList createStatements(const sql::Dialect &dialect);
// The work tables of a connection where the dialect keeps them per connection (made, when
// missing, on every opening).
QStringList workTableStatements(const sql::Dialect &dialect);
// Every index, each made only when missing: run on each open, so a file made before an index
// was added gets it.
QStringList indexStatements(const sql::Dialect &dialect);

// The operators' role column (added to older files by the schema ladder).
inline const Column kOperatorRole{QStringLiteral("角色"), Kind::Text, 10, {}, true};

// Marks a file as this program's database and records the layout's version.
inline constexpr int kApplicationId = 0x57504144;  // "WPAD"
// Version 2: writes counted per table (change_counter.h). Version 3: operators' roles and the
// change log (rights.h, change_log.h). Version 4: pay rows carry their month's department
// (pay_departments.h). An older file climbs the steps of schema_ladder.h when it is opened.
inline constexpr int kSchemaVersion = 6;

}  // namespace schema
