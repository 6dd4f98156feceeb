#pragma once
// Who may do what: every operator has one role, and a role is a row of one table saying which
// areas of the register it may read (open their screens) and which it may write. Writes are
// checked here, in the logic every screen and tool goes through, so greying a button is only a
// convenience and never the guard.

#include "db/sql.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace rights {

// The parts of the register a right is given for.
enum class Area {
    Register,     // the employee master, four histories and the résumé
    Records,      // rewards, attendance, training, appraisal
    GradeSalary,  // the grade salary history
    Pay,          // the monthly pay sheets and the salary items
    Codes,        // the code tables
    Operators,    // the operator table
    Upkeep,       // backup and restore, clearing the change log
};

inline const QString kAdministrator = QStringLiteral("系统管理员");
inline const QString kPersonnel = QStringLiteral("人事");
inline const QString kPayroll = QStringLiteral("工资");
inline const QString kQuery = QStringLiteral("查询");

inline const QString kDeniedMessage = sql::kDeniedMessage;

// The roles in the order the operator screen offers them.
QStringList roles();
bool isRole(const QString &role);
bool mayRead(const QString &role, Area area);
bool mayWrite(const QString &role, Area area);

// The area a table of the register belongs to; none for the program's own work tables,
// which any role may write (a statistics rebuild is reading, not changing the register).
std::optional<Area> areaOf(const QString &table);

// Whether the role may open the screen of this window class: a screen that only shows data
// needs reading its area, a screen that only writes (the import) needs writing it; a screen
// not named in the table shows what every role may read.
bool mayOpen(const QString &role, const QString &screenClass);

// The operator this process works for. Until a login sets it, the process is the admin tool
// or a test, with every right.
struct Session {
    QString name = QStringLiteral("wenpad-admin");
    QString role = kAdministrator;
};
const Session &session();
void setSession(const Session &session);

// Throws sql::Failure (kind Denied, kDeniedMessage) unless the session's role may write the
// table (or the area).
void requireWrite(const QString &table);
void requireWrite(Area area);

}  // namespace rights
