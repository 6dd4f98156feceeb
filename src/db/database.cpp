#include "db/database.h"

#include "db/backup.h"
#include "db/change_counter.h"
#include "db/current_rows.h"
#include "db/delivered_data.h"
#include "db/dialect.h"
#include "db/schema.h"
#include "db/schema_ladder.h"
#include "db/sql.h"
#include "db/sql_functions.h"
#include "db/transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <sqlite3.h>
#include <QUuid>
#include <cerrno>
#include <optional>
#include <variant>
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
}

OpenResult failure(const QString &message) { return {false, false, false, message, {}}; }

// What an error met while opening means for the person: only real damage says damaged, so a
// good file is never thrown away over a full disk or a busy database.
QString openFailure(const QString &path, const QSqlError &error)
{
    const QString detail = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    switch (error.nativeErrorCode().toInt() & 0xff) {
    case SQLITE_FULL:
        return QStringLiteral("磁盘已满，数据库无法打开：%1\n%2").arg(path, detail);
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return QStringLiteral("数据库文件是只读的，无法保存数据：%1\n%2").arg(path, detail);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("数据库正被另一程序使用，请稍后再试：%1\n%2").arg(path, detail);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("数据库文件已损坏，无法使用：%1\n%2\n请用“数据备份与恢复”从备份恢复。").arg(path, detail);
    case SQLITE_CANTOPEN:
        return QStringLiteral("数据库文件无法打开：%1\n%2").arg(path, detail);
    default:
        return QStringLiteral("数据库文件读写出错，无法使用：%1\n%2").arg(path, detail);
    }
}

// The first column of every row, or the error.
std::variant<QStringList, QSqlError> column(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(statement))
        return q.lastError();
    QStringList values;
    while (q.next())
        values << q.value(0).toString();
    return values;
}

// Why the open file cannot be used, or nothing: this program's, not from a newer version,
// every table there and, with Check::Pages, every page sound.
std::optional<QString> refusal(const QSqlDatabase &db, const QString &path, Check check)
{
    const QString damaged = QStringLiteral("数据库文件已损坏，无法使用：%1\n%2\n请用“数据备份与恢复”从备份恢复。");
    QStringList statements = {"PRAGMA application_id", "PRAGMA user_version",
                              "select name from sqlite_master where type='table'"};
    if (check == Check::Pages)
        statements << "PRAGMA quick_check(1)";
    QList<QStringList> answers;
    for (const QString &statement : statements) {
        auto answer = column(db, statement);
        if (const QSqlError *error = std::get_if<QSqlError>(&answer))
            return openFailure(path, *error);
        answers << std::get<QStringList>(answer);
    }
    if (answers[0].value(0).toInt() != schema::kApplicationId)
        return QStringLiteral("该文件不是本系统的数据库：%1").arg(path);
    const int version = answers[1].value(0).toInt();
    if (version > schema::kSchemaVersion)
        return QStringLiteral("数据库文件由更新版本的程序建立，无法使用：%1").arg(path);
    if (version < 1)
        return QStringLiteral("数据库文件的版本无法识别，无法使用：%1").arg(path);
    QStringList missing;
    // An older file's tables are checked once it has climbed to this version.
    if (version == schema::kSchemaVersion)
        for (const schema::Table &t : schema::tables())
            if (!answers[2].contains(t.name))
                missing << t.name;
    if (!missing.isEmpty())
        return QStringLiteral("数据库文件缺少数据表（%1），无法使用：%2").arg(missing.join(QStringLiteral("、")), path);
    if (check == Check::Pages && answers[3].value(0) != QStringLiteral("ok"))
        return damaged.arg(path, answers[3].value(0));
    return std::nullopt;
}

// Checks a file before anything is written to it: only reads run, and the connection closes
// again, so a refused file keeps every byte and gets no -wal or -shm left beside it.
OpenResult checkIdentity(const QString &path, Check check)
{
    const QString probe = QStringLiteral("wenpad-probe-") + QUuid::createUuid().toString(QUuid::Id128);
    OpenResult result;
    {
        QSqlDatabase db = addConnection(probe, path);
        if (!db.open()) {
            result = failure(openFailure(path, db.lastError()));
        } else {
            const std::optional<QString> refused = refusal(db, path, check);
            result = refused ? failure(*refused) : OpenResult{true, false, false, {}, {}};
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(probe);
    return result;
}

// A file of an older version: a copy of it as it is kept beside it first, then the ladder's
// steps are climbed, then the file is checked as opening checks it.
OpenResult upgrade(const QSqlDatabase &db, const QString &path)
{
    const backup::Outcome kept = backup::keepDatedCopy(db, QStringLiteral("升级前"));
    if (!kept.ok)
        return failure(QStringLiteral("无法保存升级前的副本，数据库未升级：%1\n%2").arg(path, kept.message));
    try {
        schema_ladder::climb(db);
    } catch (const sql::Failure &e) {
        return failure(QStringLiteral("数据库文件无法升级：%1\n%2\n升级前的副本：%3").arg(path, e.message(), kept.keptCopy));
    }
    if (const std::optional<QString> refused = refusal(db, path, Check::Identity))
        return failure(*refused);
    return {true, false, false, {}, kept.keptCopy};
}

}  // namespace

OpenResult createDelivered(const QString &path)
{
    if (QFileInfo::exists(path)) {
        OpenResult exists = failure(QStringLiteral("数据库文件已存在，不会覆盖：%1").arg(path));
        exists.existed = true;
        return exists;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return failure(QStringLiteral("无法建立数据库文件夹：%1").arg(QFileInfo(path).absolutePath()));
    // A side file of our own: two programs creating the same missing database never share one.
    const QString side = path + QStringLiteral(".new-") + QUuid::createUuid().toString(QUuid::Id128);
    const QString name = QStringLiteral("wenpad-create-") + QUuid::createUuid().toString(QUuid::Id128);
    OpenResult result;
    {
        QSqlDatabase db = addConnection(name, side);
        if (!db.open()) {
            result = failure(QStringLiteral("无法建立数据库文件：%1\n%2").arg(side, db.lastError().text()));
        } else {
            try {
                sql::exec(db, "PRAGMA foreign_keys=ON");
                registerSqlFunctions(db);
                Transaction transaction(db);
                for (const QString &statement : schema::createStatements(sql::dialect(db)) + change_counter::createStatements(sql::dialect(db))
                                                       + current_rows::createStatements(sql::dialect(db)))
                    sql::exec(db, statement);
                delivered::insertData(db);
                sql::exec(db, QString("PRAGMA application_id=%1").arg(schema::kApplicationId));
                sql::exec(db, QString("PRAGMA user_version=%1").arg(schema::kSchemaVersion));
                transaction.commit();
                // In WAL mode from the start, so no later open has to switch it under other
                // writers; closing the only connection folds the log back into the one file.
                sql::exec(db, "PRAGMA journal_mode=WAL");
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
    // link() puts the finished file in place only if nothing is there: a database another
    // program created meanwhile is never replaced.
    if (result.ok && ::link(QFile::encodeName(side).constData(), QFile::encodeName(path).constData()) != 0) {
        result = errno == EEXIST ? failure(QStringLiteral("数据库文件已存在，不会覆盖：%1").arg(path))
                                 : failure(QStringLiteral("无法建立数据库文件：%1\n%2").arg(path, QString::fromLocal8Bit(strerror(errno))));
        result.existed = QFileInfo::exists(path);
    }
    QFile::remove(side);
    result.created = result.ok;
    return result;
}

OpenResult open(const QString &connectionName, const QString &path, Check check)
{
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
            return failure(QStringLiteral("数据库文件是只读的，无法保存数据：%1").arg(path));
        if (!folder.isWritable() || !(folder.permissions() & QFile::WriteOwner))
            return failure(QStringLiteral("数据库所在的文件夹是只读的：%1").arg(folder.absoluteFilePath()));
        const OpenResult identity = checkIdentity(path, check);
        if (!identity.ok)
            return identity;
    }
    QSqlDatabase db = addConnection(connectionName, path);
    if (!db.open())
        return failure(openFailure(path, db.lastError()));
    try {
        configure(db);
        if (schema_ladder::version(db) < schema::kSchemaVersion) {
            const OpenResult upgraded = upgrade(db, path);
            if (!upgraded.ok) {
                db.close();
                return upgraded;
            }
            result.keptCopy = upgraded.keptCopy;
        }
        complete(db);
    } catch (const sql::Failure &e) {
        db.close();
        return failure(QStringLiteral("数据库文件无法使用：%1\n%2").arg(path, e.message()));
    }
    return {true, result.created, false, {}, result.keptCopy};
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
