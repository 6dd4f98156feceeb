#pragma once
// The operator table czydmb: who may log in.

#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace operators {

// The operator with exactly this name (blanks included) and this password, with his role;
// nullopt when there is none. An operator without a password never logs in. Throws
// sql::Failure when the table cannot be read.
struct Operator {
    QString number;
    QString name;
    QString role;
};
std::optional<Operator> logIn(const QSqlDatabase &db, const QString &name, const QString &typedPassword);
bool canLogIn(const QSqlDatabase &db, const QString &name, const QString &typedPassword);

// On a server, where the operator connects as his own user (server_roles.h) and the server
// checked his password: his row. Throws sql::Failure.
std::optional<Operator> connected(const QSqlDatabase &db, const QString &name);

// A new password must be at least this long and not the delivered one; the refusal, or empty.
inline constexpr int kShortestPassword = 8;
QString passwordRefusal(const QString &typedPassword);
// The operator's own new password at the first login: any role may set its own. Throws
// sql::Failure (kind Constraint with passwordRefusal's text) for a password refused.
void changeOwnPassword(const QSqlDatabase &db, const QString &number, const QString &typedPassword);

// A new operator with a role, as the admin tool adds one; returns his number. Throws
// sql::Failure: the role is unknown, the name empty, the password refused, or the session
// may not write operators.
QString add(const QSqlDatabase &db, const QString &name, const QString &role, const QString &typedPassword);

// Refuses (sql::Failure, kind Constraint) a state of czydmb without an administrator who can
// log in: the last 系统管理员 is neither removed nor given another role. Within the writing
// transaction, after the write.
void requireAdministrator(const QSqlDatabase &db);
inline const QString kLastAdministrator = QStringLiteral("至少要保留一个可以登录的系统管理员。");

// True while the delivered operator can still log in with the delivered password (the login
// window's hint says it only then).
bool deliveredPasswordInUse(const QSqlDatabase &db);

// Stores the hash of a new password for the operator with this number; an empty password
// clears it, so the operator can no longer log in. On a server his user there takes the same
// password. Within the caller's transaction. Throws sql::Failure.
void setPassword(const QSqlDatabase &db, const QString &number, const QString &typedPassword);

}  // namespace operators
