#include "db/database.h"

#include "db/backup.h"
#include "db/change_counter.h"
#include "db/change_log.h"
#include "db/current_rows.h"
#include "db/delivered_data.h"
#include "db/dialect.h"
#include "db/failure_text.h"
#include "db/file_check.h"
#include "db/pay_departments.h"
#include "db/private_files.h"
#include "db/replacing_file.h"
#include "db/schema.h"
#include "db/schema_ladder.h"
#include "db/server_database.h"
#include "db/sql.h"
#include "db/sql_functions.h"
#include "db/transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QStorageInfo>
#include <sqlite3.h>
#include <QUuid>
#include <cerrno>
#include <optional>
#include <cstring>
#include <unistd.h>

namespace database {
namespace {

QSqlDatabase addConnection(const QString &name, const QString &path)
{
    if (QSqlDatabase::contains(name))
        QSqlDatabase::removeDatabase(name);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    return db;
}

void configure(const QSqlDatabase &db)
{
    for (const char *pragma : {"PRAGMA busy_timeout=5000", "PRAGMA foreign_keys=ON", "PRAGMA journal_mode=WAL",
                               "PRAGMA synchronous=FULL"})
        sql::exec(db, QString::fromLatin1(pragma));
    if (!registerSqlFunctions(db))
        throw sql::Failure(QStringLiteral("无法注册SQL函数"));
}

// What every opening adds when missing: indexes, change counts, current rows.
void complete(const QSqlDatabase &db)
{
    for (const QString &statement : schema::indexStatements(sql::dialect(db))) {
        try {
            sql::exec(db, statement);
        } catch (const sql::Failure &e) {
            // A unique index over names that an older file already repeats cannot be made;
            // the file stays usable as it was, without that refusal.
            qWarning("index not made, the file keeps its repeated names: %s", qPrintable(e.message()));
        }
    }
    change_counter::ensure(db);
    current_rows::ensure(db);
    pay_departments::ensure(db);
    change_log::ensure(db);
}

// The folder of `path` has no room left: SQLite says so only for some writes, and reports
// others (the -shm it maps) as a plain I/O error.
bool noRoomBeside(const QString &path)
{
    const QStorageInfo volume(QFileInfo(path).absolutePath());
    return volume.isValid() && volume.bytesAvailable() < 64 * 1024;
}

// What an error met while opening means for the person: only real damage says damaged, so a
// good file is never thrown away over a full disk or a busy database. SQLite's own words
// (`detail`) are the details.
OpenResult openFailure(const QString &path, int code, const QString &detail)
{
    if (code == SQLITE_FULL || ((code == SQLITE_IOERR || code == SQLITE_CANTOPEN) && noRoomBeside(path)))
        return refusal(QStringLiteral("磁盘已满，数据库无法打开：%1").arg(path), detail);
    switch (code) {
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return refusal(QStringLiteral("数据库文件是只读的，无法保存数据：%1").arg(path), detail);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return refusal(QStringLiteral("数据库正被另一程序使用，请稍后再试：%1").arg(path), detail);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return refusal(QStringLiteral("数据库文件已损坏，无法使用：%1\n请用“数据备份与恢复”从备份恢复。").arg(path), detail);
    case SQLITE_CANTOPEN:
        return refusal(QStringLiteral("数据库文件无法打开：%1").arg(path), detail);
    default:
        return refusal(QStringLiteral("数据库文件读写出错，无法使用：%1").arg(path), detail);
    }
}

OpenResult openFailure(const QString &path, const QSqlError &error)
{
    return openFailure(path, error.nativeErrorCode().toInt() & 0xff,
                       error.databaseText().isEmpty() ? error.text() : error.databaseText());
}

// Why the file cannot be used, in the words the program shows when opening it.
OpenResult refusalOf(const QString &path, const file_check::Fault &fault)
{
    using Kind = file_check::Fault::Kind;
    switch (fault.kind) {
    case Kind::Foreign:
        return refusal(QStringLiteral("该文件不是本系统的数据库：%1").arg(path));
    case Kind::Newer:
        return refusal(QStringLiteral("数据库文件由更新版本的程序建立，无法使用：%1").arg(path));
    case Kind::UnknownVersion:
        return refusal(QStringLiteral("数据库文件的版本无法识别，无法使用：%1").arg(path));
    case Kind::MissingTables:
        return refusal(QStringLiteral("数据库文件缺少数据表（%1），无法使用：%2").arg(fault.detail, path));
    case Kind::NotDatabase:
    case Kind::Damaged:
        return openFailure(path, SQLITE_CORRUPT, fault.detail);
    case Kind::Unreadable:
        break;
    }
    return openFailure(path, fault.errorCode, fault.detail);
}

// The side files a failed open made that were not there before: on a full disk SQLite leaves
// an empty -wal and a -shm of a few bytes behind. A -shm means nothing without a log beside it.
void removeNewEmptySideFiles(const QString &path, const QStringList &before)
{
    const QString wal = path + "-wal", shm = path + "-shm";
    if (!before.contains(wal) && QFileInfo::exists(wal) && QFileInfo(wal).size() == 0)
        QFile::remove(wal);
    if (!before.contains(shm) && QFileInfo::exists(shm) && !QFileInfo::exists(wal))
        QFile::remove(shm);
}

QStringList existingSideFiles(const QString &path)
{
    QStringList present;
    for (const QString &side : file_check::sideFiles(path))
        if (QFileInfo::exists(side))
            present << side;
    return present;
}

// A file of an older version: a copy of it as it is kept beside it first, then the ladder's
// steps are climbed, then the file is checked as opening checks it.
OpenResult upgrade(const QSqlDatabase &db, const QString &path)
{
    const backup::Outcome kept = backup::keepDatedCopy(db, QStringLiteral("升级前"));
    if (!kept.ok)
        return refusal(QStringLiteral("无法保存升级前的副本，数据库未升级：%1\n%2").arg(path, kept.message), kept.details);
    try {
        schema_ladder::climb(db);
    } catch (const sql::Failure &e) {
        OpenResult failed = refusal(QStringLiteral("数据库文件无法升级：%1").arg(path), e, false);
        failed.message += QStringLiteral("\n升级前的副本：%1").arg(kept.keptCopy);
        return failed;
    }
    if (const std::optional<file_check::Fault> fault = file_check::faultOf(db, file_check::Depth::Identity))
        return refusalOf(path, *fault);
    return {true, false, false, {}, kept.keptCopy};
}

}  // namespace

OpenResult refusal(const QString &message, const QString &details) { return {false, false, false, message, {}, details}; }

OpenResult refusal(const QString &lead, const sql::Failure &failure, bool reading)
{
    const failure_text::Said said = failure_text::said(failure, {.lead = lead, .reading = reading});
    return refusal(said.text, said.details);
}

OpenResult fillDelivered(const QString &file)
{
    const QString name = QStringLiteral("wenpad-create-") + QUuid::createUuid().toString(QUuid::Id128);
    OpenResult result;
    {
        QSqlDatabase db = addConnection(name, file);
        if (!db.open()) {
            result = refusal(QStringLiteral("无法建立数据库文件：%1").arg(file), db.lastError().text());
        } else {
            try {
                sql::exec(db, "PRAGMA foreign_keys=ON");
                registerSqlFunctions(db);
                Transaction transaction(db);
                const sql::Dialect &dialect = sql::dialect(db);
                for (const QString &statement : schema::createStatements(dialect) + change_counter::createStatements(dialect)
                                                       + current_rows::createStatements(dialect)
                                                       + pay_departments::triggerStatements(dialect)
                                                       + dialect.markAsOurs(schema::kSchemaVersion))
                    sql::exec(db, statement);
                delivered::insertData(db);
                // After the delivered rows, which are no one's change.
                change_log::create(db);
                transaction.commit();
                // In WAL mode from the start, so no later open has to switch it under other
                // writers; closing the only connection folds the log back into the one file.
                sql::exec(db, "PRAGMA journal_mode=WAL");
                result.ok = true;
            } catch (const sql::Failure &e) {
                result = refusal(QStringLiteral("无法建立数据库：%1").arg(file), e, false);
            } catch (const std::exception &e) {
                result = refusal(QStringLiteral("无法建立数据库：%1").arg(file), QString::fromLocal8Bit(e.what()));
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

OpenResult createDelivered(const QString &path)
{
    if (isServerAddress(path))
        return createOnServer(parseAddress(path));
    if (QFileInfo::exists(path)) {
        OpenResult exists = refusal(QStringLiteral("数据库文件已存在，不会覆盖：%1").arg(path));
        exists.existed = true;
        return exists;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return refusal(QStringLiteral("无法建立数据库文件夹：%1").arg(QFileInfo(path).absolutePath()));
    // A side file of our own: two programs creating the same missing database never share one.
    const QString side = path + QStringLiteral(".new-") + QUuid::createUuid().toString(QUuid::Id128);
    OpenResult result = fillDelivered(side);
    // Private before it is linked into place; its -wal and -shm take its mode from it.
    if (result.ok && !private_files::restrict(side))
        result = refusal(QStringLiteral("无法设置数据库文件的权限：%1").arg(side));
    // link() puts the finished file in place only if nothing is there: a database another
    // program created meanwhile is never replaced.
    if (result.ok && ::link(QFile::encodeName(side).constData(), QFile::encodeName(path).constData()) != 0) {
        result = errno == EEXIST ? refusal(QStringLiteral("数据库文件已存在，不会覆盖：%1").arg(path))
                                 : refusal(QStringLiteral("无法建立数据库文件：%1").arg(path), QString::fromLocal8Bit(strerror(errno)));
        result.existed = QFileInfo::exists(path);
    }
    QFile::remove(side);
    result.created = result.ok;
    return result;
}

OpenResult open(const QString &connectionName, const QString &path, Check check)
{
    if (isServerAddress(path))
        return openServer(connectionName, parseAddress(path));
    OpenResult result;
    if (!QFileInfo::exists(path)) {
        result = createDelivered(path);
        // Another program may have created it in the meantime: then it is opened like any other.
        if (!result.ok && !result.existed)
            return result;
    }
    if (!result.created) {
        const QFileInfo info(path);
        // Write bits are read from the mode, so a file marked read-only is refused even for root.
        const bool writable = info.isWritable() && (info.permissions() & QFile::WriteOwner);
        const QFileInfo folder(info.absolutePath());
        if (!writable)
            return refusal(QStringLiteral("数据库文件是只读的，无法保存数据：%1").arg(path));
        if (!folder.isWritable() || !(folder.permissions() & QFile::WriteOwner))
            return refusal(QStringLiteral("数据库所在的文件夹是只读的：%1").arg(folder.absoluteFilePath()));
        const auto depth = check == Check::Pages ? file_check::Depth::Pages : file_check::Depth::Identity;
        if (const std::optional<file_check::Fault> fault = file_check::fault(path, depth))
            return refusalOf(path, *fault);
    }
    replacing_file::removeLeftovers(QFileInfo(path).absolutePath());
    const QStringList sidesBefore = existingSideFiles(path);
    QSqlDatabase db = addConnection(connectionName, path);
    if (!db.open()) {
        const OpenResult refused = openFailure(path, db.lastError());
        db = {};
        close(connectionName);
        removeNewEmptySideFiles(path, sidesBefore);
        return refused;
    }
    try {
        configure(db);
        if (schema_ladder::version(db) < schema::kSchemaVersion) {
            const OpenResult upgraded = upgrade(db, path);
            if (!upgraded.ok) {
                db = {};
                close(connectionName);
                return upgraded;
            }
            result.keptCopy = upgraded.keptCopy;
        }
        complete(db);
    } catch (const sql::Failure &e) {
        const bool full = noRoomBeside(path);
        db = {};
        close(connectionName);
        removeNewEmptySideFiles(path, sidesBefore);
        if (full)
            return openFailure(path, SQLITE_FULL, e.message());
        return refusal(QStringLiteral("数据库文件无法使用：%1").arg(path), e, true);
    }
    change_log::attach(connectionName);
    return {true, result.created, false, {}, result.keptCopy};
}

OpenResult openBeside(const QString &connectionName, const QSqlDatabase &db, Check check)
{
    if (db.driver() && db.driver()->dbmsType() == QSqlDriver::PostgreSQL) {
        Address address;
        address.host = db.hostName();
        address.port = db.port();
        address.name = db.databaseName();
        address.user = db.userName();
        address.password = db.password();
        return openServer(connectionName, address);
    }
    return open(connectionName, db.databaseName(), check);
}

OpenResult reopen(const QString &connectionName, Check check)
{
    // A copy of the settings the connection was opened with, its password included.
    const QString settingsName = connectionName + QStringLiteral("-settings");
    OpenResult reopened;
    {
        const QSqlDatabase settings = QSqlDatabase::cloneDatabase(connectionName, settingsName);
        close(connectionName);
        reopened = openBeside(connectionName, settings, check);
    }
    QSqlDatabase::removeDatabase(settingsName);
    return reopened;
}

QSqlDatabase shared() { return QSqlDatabase::database(kSharedConnection, false); }

bool reachableByOthers(const QSqlDatabase &db)
{
    return db.databaseName() != QLatin1String(":memory:") && !db.databaseName().isEmpty();
}

void close(const QString &connectionName)
{
    change_log::detach(connectionName);
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

}  // namespace database
