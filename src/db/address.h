#pragma once
// Where the data lives: the program's database file, or a database on a PostgreSQL server,
// written as postgresql://user@host:port/dbname. A server's password is never part of the
// written address: libpq reads PGPASSWORD or ~/.pgpass, and the program asks at start.

#include <QString>

namespace database {

struct Address {
    QString file;      // a file's path; empty for a server
    QString host;
    int port = 5432;
    QString name;      // the database on the server
    QString user;
    QString password;  // only as typed by the person at start, never stored

    bool isServer() const { return file.isEmpty(); }
    // The written form: the path, or postgresql://user@host:port/dbname (no password).
    QString text() const;
    // For the person: the file, or 服务器 host:port 数据库 name 用户 user.
    QString shown() const;
};

// A text of either form; a postgresql:// (or postgres://) text that names no host or
// database gives an address with an empty host, which opening refuses.
Address parseAddress(const QString &text);
bool isServerAddress(const QString &text);

// database/wenpad.ini beside the program: [数据库] 服务器=, 端口=, 数据库名=, 用户=. Without the
// file, or without 服务器, the database file database/wenpad.db.
Address configuredAddress();

}  // namespace database
