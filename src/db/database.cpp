#include "db/database.h"

#include "db/delivered_data.h"
#include "db/schema.h"
#include "db/sql.h"
#include "db/sql_functions.h"
#include "db/transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QUuid>

namespace database {
namespace {

QSqlDatabase addConnection(const QString &name, const QString &path, bool readOnly)
{
    if (QSqlDatabase::contains(name))
        QSqlDatabase::removeDatabase(name);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000")
                                  : QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    return db;
}

void configure(const QSqlDatabase &db)
{
    for (const char *pragma : {"PRAGMA foreign_keys=ON", "PRAGMA journal_mode=WAL",
                               "PRAGMA synchronous=FULL", "PRAGMA busy_timeout=5000"})
        sql::exec(db, QString::fromLatin1(pragma));
    if (!registerSqlFunctions(db))
        throw sql::Failure(QStringLiteral("无法注册SQL函数"));
    for (const QString &statement : schema::indexStatements()) {
        try {
            sql::exec(db, statement);
        } catch (const sql::Failure &) {
            // A unique index over names that an older file already repeats cannot be made;
            // the file stays usable as it was, without that refusal.
        }
    }
}

OpenResult failure(const QString &message) { return {false, false, message}; }

// Reads the file's identity through a read-only connection, so nothing is written to a
// file we are about to refuse.
OpenResult checkIdentity(const QString &path)
{
    const QString probe = QStringLiteral("wenpad-probe-") + QUuid::createUuid().toString(QUuid::Id128);
    OpenResult result;
    {
        QSqlDatabase db = addConnection(probe, path, true);
        if (!db.open()) {
            result = failure(QStringLiteral("数据库文件无法打开：%1\n%2").arg(path, db.lastError().text()));
        } else {
            try {
                const int appId = sql::scalar(db, "PRAGMA application_id").toInt();
                sql::scalar(db, "select count(*) from sqlite_master");
                const int version = sql::scalar(db, "PRAGMA user_version").toInt();
                if (appId != schema::kApplicationId)
                    result = failure(QStringLiteral("该文件不是本系统的数据库：%1").arg(path));
                else if (version > schema::kSchemaVersion)
                    result = failure(QStringLiteral("数据库文件由更新版本的程序建立，无法使用：%1").arg(path));
                else
                    result.ok = true;
            } catch (const sql::Failure &e) {
                result = failure(QStringLiteral("数据库文件已损坏，无法使用：%1\n%2").arg(path, e.message()));
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(probe);
    return result;
}

}  // namespace

OpenResult createDelivered(const QString &path)
{
    if (QFileInfo::exists(path))
        return failure(QStringLiteral("数据库文件已存在，不会覆盖：%1").arg(path));
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return failure(QStringLiteral("无法建立数据库文件夹：%1").arg(QFileInfo(path).absolutePath()));
    const QString side = path + QStringLiteral(".new");
    QFile::remove(side);
    const QString name = QStringLiteral("wenpad-create-") + QUuid::createUuid().toString(QUuid::Id128);
    OpenResult result;
    {
        QSqlDatabase db = addConnection(name, side, false);
        if (!db.open()) {
            result = failure(QStringLiteral("无法建立数据库文件：%1\n%2").arg(side, db.lastError().text()));
        } else {
            try {
                // Rollback journal while building, so the whole file is one piece to rename.
                sql::exec(db, "PRAGMA foreign_keys=ON");
                registerSqlFunctions(db);
                Transaction transaction(db);
                for (const QString &statement : schema::createStatements())
                    sql::exec(db, statement);
                delivered::insertData(db);
                sql::exec(db, QString("PRAGMA application_id=%1").arg(schema::kApplicationId));
                sql::exec(db, QString("PRAGMA user_version=%1").arg(schema::kSchemaVersion));
                transaction.commit();
                result.ok = true;
            } catch (const sql::Failure &e) {
                result = failure(QStringLiteral("无法建立数据库：%1").arg(e.message()));
            } catch (const std::exception &e) {
                result = failure(QStringLiteral("无法建立数据库：%1").arg(QString::fromLocal8Bit(e.what())));
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (result.ok && !QFile::rename(side, path))
        result = failure(QStringLiteral("无法建立数据库文件：%1").arg(path));
    if (!result.ok)
        QFile::remove(side);
    result.created = result.ok;
    return result;
}

OpenResult open(const QString &connectionName, const QString &path)
{
    OpenResult result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result = createDelivered(path);
        if (!result.ok)
            return result;
    } else {
        // Write bits are read from the mode, so a file marked read-only is refused even for root.
        const bool writable = info.isWritable() && (info.permissions() & QFile::WriteOwner);
        const QFileInfo folder(info.absolutePath());
        if (!writable)
            return failure(QStringLiteral("数据库文件是只读的，无法保存数据：%1").arg(path));
        if (!folder.isWritable() || !(folder.permissions() & QFile::WriteOwner))
            return failure(QStringLiteral("数据库所在的文件夹是只读的：%1").arg(folder.absoluteFilePath()));
        const OpenResult identity = checkIdentity(path);
        if (!identity.ok)
            return identity;
    }
    QSqlDatabase db = addConnection(connectionName, path, false);
    if (!db.open())
        return failure(QStringLiteral("数据库文件无法打开：%1\n%2").arg(path, db.lastError().text()));
    try {
        configure(db);
    } catch (const sql::Failure &e) {
        db.close();
        return failure(QStringLiteral("数据库文件无法使用：%1\n%2").arg(path, e.message()));
    }
    result.ok = true;
    return result;
}

QSqlDatabase shared() { return QSqlDatabase::database(kSharedConnection, false); }

void close(const QString &connectionName)
{
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

}  // namespace database
