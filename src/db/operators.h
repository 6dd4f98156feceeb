#pragma once
// The operator table czydmb: who may log in.

#include <QSqlDatabase>
#include <QString>

namespace operators {

// True when some operator has exactly this name (blanks included) and this password.
// An operator without a password never logs in. Throws sql::Failure when the table cannot be read.
bool canLogIn(const QSqlDatabase &db, const QString &name, const QString &typedPassword);

// True while the delivered operator can still log in with the delivered password (the login
// window's hint says it only then).
bool deliveredPasswordInUse(const QSqlDatabase &db);

// Stores the hash of a new password for the operator with this number; an empty password
// clears it, so the operator can no longer log in. Throws sql::Failure.
void setPassword(const QSqlDatabase &db, const QString &number, const QString &typedPassword);

}  // namespace operators
