#pragma once
// Rights that hold on the server itself. On a server database every role of rights.h is a group
// of the server (NOLOGIN) whose grants on the tables are made from the same table of rights,
// and every operator is a user of the server (LOGIN) in his role's group, so the rights hold
// for whoever connects, through this program or any other client. The names carry the
// database's, so two offices on one server never share one: the group "<database>_<role>",
// the operator's user "<name>@<database>".
//
// The users follow czydmb by a trigger on it (added, renamed, given another role, removed, in
// the transaction that writes the row), and a password is set through a function; both run
// as the user who made the database and may create roles (SECURITY DEFINER). An operator's own
// user is never given CREATEROLE: on this server version it would let him change or drop the
// users of every other office too, and make himself a member of any group; the functions
// only ever touch this office's users and groups.

#include <QSqlDatabase>
#include <QString>

namespace server_roles {

QString groupName(const QString &database, const QString &role);
QString userName(const QString &operatorName, const QString &database);

// Whether the connection's database keeps its operators as users of the server.
bool kept(const QSqlDatabase &db);

// Makes or renews the groups and their grants, hands the tables to the administrators' group
// (a salary item alters the pay table) and makes the functions and trigger that keep the users
// in step, and a user (without password) for every operator who has none. Within the caller's
// transaction, by a user of the server who may create roles. Throws sql::Failure.
void create(const QSqlDatabase &db);

// Stores `hash` as the operator's password hash and sets his server user's password to
// `typedPassword` (none when empty), within the caller's transaction. An operator may set his
// own; another's only whoever may write the operator table. Throws sql::Failure.
void setPassword(const QSqlDatabase &db, const QString &number, const QVariant &hash, const QString &typedPassword);

// The server's own form of a password (SCRAM-SHA-256), so the password typed never travels to
// the server or into its logs as text.
QString scramVerifier(const QString &typedPassword);

}  // namespace server_roles
