#include "db/backup.h"

#include "db/clock.h"
#include "db/replacing_file.h"
#include "db/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QVariant>
#include <memory>
#include <optional>
#include <sqlite3.h>

namespace backup {
namespace {

Outcome refused(const QString &message) { return {false, message, {}}; }

sqlite3 *handleOf(const QSqlDatabase &db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.data());
}

struct CloseConnection {
    void operator()(sqlite3 *h) const { sqlite3_close_v2(h); }
};
using Connection = std::unique_ptr<sqlite3, CloseConnection>;

Connection openFile(const QString &file, int flags)
{
    sqlite3 *h = nullptr;
    sqlite3_open_v2(QFile::encodeName(file).constData(), &h, flags, nullptr);
    return Connection(h);
}

QString errorOf(sqlite3 *h) { return h ? QString::fromUtf8(sqlite3_errmsg(h)) : QStringLiteral("out of memory"); }

// The whole database `from` copied over `to` in one step: one consistent moment of the source,
// and on the destination one write transaction, rolled back if it fails.
bool copy(sqlite3 *from, sqlite3 *to, QString *error)
{
    sqlite3_backup *job = sqlite3_backup_init(to, "main", from, "main");
    if (!job) {
        *error = errorOf(to);
        return false;
    }
    int rc = SQLITE_OK;
    do {
        rc = sqlite3_backup_step(job, -1);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            sqlite3_sleep(50);
    } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
    sqlite3_backup_finish(job);
    if (rc != SQLITE_DONE) {
        *error = QString::fromUtf8(sqlite3_errstr(rc)) + "\n" + errorOf(to);
        return false;
    }
    return true;
}

// The single text or number of one statement; nullopt (and the message) when it fails.
std::optional<QString> single(sqlite3 *h, const char *statement, QString *error)
{
    sqlite3_stmt *s = nullptr;
    if (sqlite3_prepare_v2(h, statement, -1, &s, nullptr) != SQLITE_OK) {
        *error = errorOf(h);
        return std::nullopt;
    }
    const int rc = sqlite3_step(s);
    std::optional<QString> value;
    if (rc == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 0)));
    else
        *error = errorOf(h);
    sqlite3_finalize(s);
    return value;
}

bool sameFile(const QString &a, const QString &b)
{
    const QString ca = QFileInfo(a).canonicalFilePath(), cb = QFileInfo(b).canonicalFilePath();
    return !ca.isEmpty() && ca == cb;
}

// "wenpad-恢复前-2026-12-10.db" beside the database, numbered when that name is taken.
QString datedCopyName(const QString &databaseFile, const QString &occasion)
{
    const QFileInfo info(databaseFile);
    const QString stem = info.completeBaseName() + '-' + occasion + '-' + clock_source::today().toString(Qt::ISODate);
    const QString suffix = info.suffix().isEmpty() ? QString() : "." + info.suffix();
    QString name = info.dir().filePath(stem + suffix);
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = info.dir().filePath(QStringLiteral("%1-%2%3").arg(stem).arg(n).arg(suffix));
    return name;
}

}  // namespace

Outcome save(const QSqlDatabase &db, const QString &target)
{
    sqlite3 *live = handleOf(db);
    if (!live)
        return refused(QStringLiteral("数据库没有打开，无法备份。"));
    const QString file = db.databaseName();
    if (sameFile(target, file) || sameFile(target, file + "-wal") || sameFile(target, file + "-shm"))
        return refused(QStringLiteral("备份文件不能是正在使用的数据库本身：%1").arg(QDir::toNativeSeparators(target)));
    const auto failed = [&](const QString &why) {
        return refused(QStringLiteral("无法写入备份文件：%1\n%2").arg(QDir::toNativeSeparators(target), why));
    };
    ReplacingFile part(target);
    if (part.path().isEmpty())
        return failed(part.error());
    QString error;
    {
        Connection to = openFile(part.path(), SQLITE_OPEN_READWRITE);
        if (!to)
            return failed(QStringLiteral("out of memory"));
        if (!copy(live, to.get(), &error))
            return failed(error);
        // A backup is one file: no write-ahead log beside it.
        if (!single(to.get(), "PRAGMA journal_mode=DELETE", &error))
            return failed(error);
    }
    if (!part.commit())
        return failed(part.error());
    return {true, {}, {}};
}

Outcome keepDatedCopy(const QSqlDatabase &db, const QString &occasion)
{
    const QString kept = datedCopyName(db.databaseName(), occasion);
    Outcome saved = save(db, kept);
    saved.keptCopy = saved.ok ? kept : QString();
    return saved;
}

Outcome check(const QString &file)
{
    const QString shown = QDir::toNativeSeparators(file);
    const QFileInfo info(file);
    if (!info.isFile())
        return refused(QStringLiteral("备份文件不存在：%1").arg(shown));
    if (info.size() == 0)
        return refused(QStringLiteral("该文件不是本系统的数据库：%1").arg(shown));
    Connection h = openFile(file, SQLITE_OPEN_READONLY);
    QString error;
    const std::optional<QString> id = single(h.get(), "PRAGMA application_id", &error);
    if (!id) {
        const int code = h ? sqlite3_errcode(h.get()) : SQLITE_NOMEM;
        if (code == SQLITE_NOTADB)
            return refused(QStringLiteral("该文件不是数据库文件：%1").arg(shown));
        return refused(QStringLiteral("备份文件已损坏，无法恢复：%1\n%2").arg(shown, error));
    }
    if (id->toInt() != schema::kApplicationId)
        return refused(QStringLiteral("该文件不是本系统的数据库：%1").arg(shown));
    const std::optional<QString> version = single(h.get(), "PRAGMA user_version", &error);
    if (version && version->toInt() > schema::kSchemaVersion)
        return refused(QStringLiteral("备份文件由更新版本的程序建立，无法恢复：%1").arg(shown));
    const std::optional<QString> integrity = single(h.get(), "PRAGMA integrity_check(1)", &error);
    if (!version || version->toInt() < 1 || !integrity || *integrity != QStringLiteral("ok"))
        return refused(QStringLiteral("备份文件已损坏，无法恢复：%1\n%2").arg(shown, integrity.value_or(error)));
    return {true, {}, {}};
}

Outcome restore(const QSqlDatabase &db, const QString &source)
{
    sqlite3 *live = handleOf(db);
    if (!live)
        return refused(QStringLiteral("数据库没有打开，无法恢复。"));
    if (sameFile(source, db.databaseName()))
        return refused(QStringLiteral("所选文件就是正在使用的数据库。"));
    Outcome checked = check(source);
    if (!checked.ok)
        return checked;
    const Outcome saved = keepDatedCopy(db, QStringLiteral("恢复前"));
    if (!saved.ok)
        return refused(QStringLiteral("当前数据库无法另存，未恢复。\n%1").arg(saved.message));
    Connection from = openFile(source, SQLITE_OPEN_READONLY);
    QString error;
    if (!from || !copy(from.get(), live, &error))
        return refused(QStringLiteral("恢复失败，数据库保持原样：%1").arg(error));
    return {true, {}, saved.keptCopy};
}

}  // namespace backup
