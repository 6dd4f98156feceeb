#pragma once
// The three rosters (technical cadres, section-level cadres, party members) as one family:
// a table of members says how each one differs; one query reads any of them.

#include "db/code_items.h"
#include "db/windowed_rows.h"
#include "reports/roster_form.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>
#include <vector>

namespace roster {

struct Member {
    QString screenClass;
    QString reportClass;
    QString windowTitle;
    QString levelCaption;    // the level drop-down's label
    QString levelTable;      // zcjbdmb (title levels) or zwjbdmb (position levels)
    QString levelJoin;
    QString groupCondition;  // who belongs to the group at all
    bool startAtLastLevel = false;
    bool categoryFilter = false;  // "技术类别"
    bool partyFilter = false;     // "政治面貌"
    bool arrowButtons = false;    // beside the department list
    QString reportTitle;          // empty: the chosen party's name + "花名册"
};

const std::vector<Member> &members();
const Member *findMember(const QString &screenClass);

enum class LevelRange { Above, Equal, Below };  // "以上", "等于", "以下"
std::optional<LevelRange> levelRangeNamed(const QString &caption);

// Level codes compare as text and a smaller code is a higher level. "以上" runs from the top
// ("00") down to the level, "以下" from the level to the bottom; `upper` empty: no bound.
struct LevelBounds {
    QString upper;
    QString lower;
};
LevelBounds levelBounds(LevelRange range, const QString &level);

struct Filter {
    QString department;  // empty: every department
    QString level;
    LevelRange range = LevelRange::Above;
    QString category;    // technical cadres; empty: every category
    QString party;       // party members
};


// The roster as a list for WindowedRows, in code order, its columns the fields (roster_form.h) in order. It is read from the rows its narrowest
// filter names (the chosen department's members, the level's titles or positions, the party's
// members) before the current rows are looked up. Throws sql::Failure.
windowed::Listing listing(const QSqlDatabase &db, const Member &member, const Filter &filter);

// The roster's rows, all at once, in the same order (for checking a short roster whole); throws
// sql::Failure.
QList<QVariantList> read(const QSqlDatabase &db, const Member &member, const Filter &filter);

// The filter the roster screen opens with, for the printed roster and the benchmarks to start
// where it does: every department, the first level (the last where the member starts there),
// 以上, every category and, with a party list, its second party (the only one when it has one).
// Throws sql::Failure.
Filter openingFilter(const QSqlDatabase &db, const Member &member);

// The filter lists (shown as the code immediately followed by the name). Throw sql::Failure.
QList<code_items::Item> departments(const QSqlDatabase &db);  // stored order
QList<code_items::Item> levelItems(const QSqlDatabase &db, const Member &member);
QList<code_items::Item> categoryItems(const QSqlDatabase &db);  // stored order, every category but "00"
QList<code_items::Item> partyItems(const QSqlDatabase &db);

}  // namespace roster
