#include "db/backup.h"
#include "db/rights.h"

#include "db/clock.h"
#include "db/file_check.h"
#include "db/replacing_file.h"
#include "db/sql.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>
#include <memory>
#include <optional>
#include <sqlite3.h>

namespace backup {
namespace {

// `details`: the database's or the system's own words, kept apart from the Chinese message.
Outcome refused(const QString &message, const QString &details = {}) { return {false, message, {}, details}; }

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

const QString kNotRestored = QStringLiteral("恢复失败，数据库保持原样。");

constexpr int kBusyTimeoutMs = 5000;  // as long as every connection waits for a lock

bool busy(int rc) { return rc == SQLITE_BUSY || rc == SQLITE_LOCKED; }

// The whole database `from` copied over `to` in one step: one consistent moment of the source,
// and on the destination one write transaction, rolled back if it fails. Waits for a lock at
// most as long as any connection does. SQLITE_DONE when copied; otherwise SQLite's words in
// `error`.
int copy(sqlite3 *from, sqlite3 *to, QString *error)
{
    sqlite3_backup *job = sqlite3_backup_init(to, "main", from, "main");
    if (!job) {
        *error = errorOf(to);
        return SQLITE_ERROR;
    }
    int rc = SQLITE_OK;
    for (int waited = 0; (rc = sqlite3_backup_step(job, -1)) != SQLITE_DONE && busy(rc) && waited < kBusyTimeoutMs; waited += 50)
        sqlite3_sleep(50);
    sqlite3_backup_finish(job);
    if (rc != SQLITE_DONE)
        *error = QString::fromUtf8(sqlite3_errstr(rc)) + "\n" + errorOf(to);
    return rc;
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

// Writes the database `source` (on `file`) to `target` through a side file moved into place
// once complete.
Outcome saveFrom(sqlite3 *source, const QString &file, const QString &target)
{
    if (sameFile(target, file) || sameFile(target, file + "-wal") || sameFile(target, file + "-shm"))
        return refused(QStringLiteral("备份文件不能是正在使用的数据库本身：%1").arg(QDir::toNativeSeparators(target)));
    const auto failed = [&](const QString &why) {
        return refused(QStringLiteral("无法写入备份文件：%1").arg(QDir::toNativeSeparators(target)), why);
    };
    replacing_file::removeLeftovers(QFileInfo(target).absolutePath());
    ReplacingFile part(target);
    if (part.path().isEmpty())
        return failed(part.error());
    QString error;
    {
        Connection to = openFile(part.path(), SQLITE_OPEN_READWRITE);
        if (!to)
            return failed(QStringLiteral("out of memory"));
        const int rc = copy(source, to.get(), &error);
        if (busy(rc))
            return refused(QStringLiteral("无法写入备份文件：%1\n%2").arg(QDir::toNativeSeparators(target), sql::kBusyMessage));
        if (rc != SQLITE_DONE)
            return failed(error);
        // A backup is one file: no write-ahead log beside it.
        if (!single(to.get(), "PRAGMA journal_mode=DELETE", &error))
            return failed(error);
    }
    if (!part.commit())
        return failed(part.error());
    return {true, {}, {}};
}

// A backup staged for restoring: a private copy beside the database (with the log or journal
// the backup left), checked as opening checks a file and converted to the database's page
// size, so nothing can change it between the check and the copy.
struct Staged {
    std::unique_ptr<ReplacingFile> file;
    Outcome outcome;
};

bool copyInto(const QString &from, const QString &to)
{
    QFile in(from), out(to);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    out.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    QByteArray block;
    while (!(block = in.read(1 << 20)).isEmpty())
        if (out.write(block) != block.size())
            return false;
    return in.error() == QFile::NoError && out.flush();
}

Outcome checkRefusal(const QString &shown, const file_check::Fault &fault)
{
    using Kind = file_check::Fault::Kind;
    switch (fault.kind) {
    case Kind::NotDatabase:
        return refused(QStringLiteral("该文件不是数据库文件：%1").arg(shown), fault.detail);
    case Kind::Foreign:
        return refused(QStringLiteral("该文件不是本系统的数据库：%1").arg(shown));
    case Kind::Newer:
        return refused(QStringLiteral("备份文件由更新版本的程序建立，无法恢复：%1").arg(shown));
    case Kind::UnknownVersion:
        return refused(QStringLiteral("备份文件的版本无法识别，无法恢复：%1").arg(shown));
    case Kind::MissingTables:
        return refused(QStringLiteral("备份文件缺少数据表（%1），无法恢复：%2").arg(fault.detail, shown));
    case Kind::Damaged:
    case Kind::Unreadable:
        break;
    }
    return refused(QStringLiteral("备份文件已损坏，无法恢复：%1").arg(shown), fault.detail);
}

Staged stage(const QString &source, const QString &databaseFile, int pageSize)
{
    Staged staged;
    staged.file = std::make_unique<ReplacingFile>(databaseFile);  // never committed: removed at the end
    const QString copy = staged.file->path();
    const QString shown = QDir::toNativeSeparators(source);
    const auto failed = [&](const QString &message, const QString &details) {
        staged.outcome = refused(message, details);
        return std::move(staged);
    };
    const QString unread = QStringLiteral("无法读取备份文件：%1").arg(shown);
    if (copy.isEmpty())
        return failed(unread, staged.file->error());
    if (!copyInto(source, copy))
        return failed(unread + QStringLiteral("\n复制失败"), {});
    for (const char *side : {"-wal", "-journal"})
        if (QFileInfo(source + side).size() > 0 && !copyInto(source + side, copy + side))
            return failed(unread + QStringLiteral("\n复制失败"), {});
    const QString name = QStringLiteral("wenpad-stage-") + QUuid::createUuid().toString(QUuid::Id128);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(copy);
        if (!db.open()) {
            staged.outcome = refused(QStringLiteral("备份文件已损坏，无法恢复：%1").arg(shown), db.lastError().text());
        } else if (const std::optional<file_check::Fault> fault = file_check::faultOf(db, file_check::Depth::Whole)) {
            staged.outcome = checkRefusal(shown, *fault);
        } else {
            // One file in the database's page size: SQLite copies into a logged database only
            // between files of one page size.
            QSqlQuery q(db);
            const bool converted = q.exec("PRAGMA journal_mode=DELETE")
                                   && (sql::scalar(db, "PRAGMA page_size").toInt() == pageSize
                                       || (q.exec(QStringLiteral("PRAGMA page_size=%1").arg(pageSize)) && q.exec("VACUUM")));
            staged.outcome = converted ? Outcome{true, {}, {}}
                                       : refused(unread, q.lastError().text());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return staged;
}

}  // namespace

Outcome save(const QSqlDatabase &db, const QString &target)
{
    sqlite3 *live = handleOf(db);
    if (!live)
        return refused(QStringLiteral("数据库没有打开，无法备份。"));
    return saveFrom(live, db.databaseName(), target);
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
    if (!QFileInfo(file).isFile())
        return refused(QStringLiteral("备份文件不存在：%1").arg(shown));
    if (const std::optional<file_check::Fault> fault = file_check::fault(file, file_check::Depth::Whole))
        return checkRefusal(shown, *fault);
    return {true, {}, {}};
}

Outcome restore(const QSqlDatabase &db, const QString &source)
{
    if (!rights::mayWrite(rights::session().role, rights::Area::Upkeep))
        return refused(rights::kDeniedMessage);
    sqlite3 *live = handleOf(db);
    if (!live)
        return refused(QStringLiteral("数据库没有打开，无法恢复。"));
    const QString file = db.databaseName();
    if (sameFile(source, file))
        return refused(QStringLiteral("所选文件就是正在使用的数据库。"));
    if (!QFileInfo(source).isFile())
        return refused(QStringLiteral("备份文件不存在：%1").arg(QDir::toNativeSeparators(source)));
    QString error;
    const std::optional<QString> pageSize = single(live, "PRAGMA page_size", &error);
    if (!pageSize)
        return refused(kNotRestored, error);
    const Staged staged = stage(source, file, pageSize->toInt());
    if (!staged.outcome.ok)
        return staged.outcome;

    // The database's write lock is taken first and held until the backup is in place: what
    // another connection commits is either in the kept copy or waits and then finds the
    // restored data; nothing falls between the two.
    Connection writer = openFile(file, SQLITE_OPEN_READWRITE);
    Connection from = openFile(staged.file->path(), SQLITE_OPEN_READONLY);
    if (!writer || !from)
        return refused(kNotRestored, errorOf(writer ? from.get() : writer.get()));
    sqlite3_busy_timeout(writer.get(), kBusyTimeoutMs);
    std::unique_ptr<sqlite3_backup, int (*)(sqlite3_backup *)> job(sqlite3_backup_init(writer.get(), "main", from.get(), "main"),
                                                                   sqlite3_backup_finish);
    if (!job)
        return refused(kNotRestored, errorOf(writer.get()));
    // No page yet: this only locks the database for writing (waiting at most the busy timeout).
    const int locked = sqlite3_backup_step(job.get(), 0);
    if (busy(locked))
        return refused(sql::kBusyMessage);
    if (locked != SQLITE_OK && locked != SQLITE_DONE)
        return refused(kNotRestored, QString::fromUtf8(sqlite3_errstr(locked)));

    // Read by a connection of its own, which sees every write committed before the lock.
    const QString kept = datedCopyName(file, QStringLiteral("恢复前"));
    {
        const QString unsaved = QStringLiteral("当前数据库无法另存，未恢复。");
        Connection reader = openFile(file, SQLITE_OPEN_READONLY);
        if (!reader)
            return refused(unsaved, QStringLiteral("out of memory"));
        const Outcome saved = saveFrom(reader.get(), file, kept);
        if (!saved.ok)
            return refused(unsaved + '\n' + saved.message, saved.details);
    }
    const int rc = sqlite3_backup_step(job.get(), -1);
    if (rc != SQLITE_DONE)
        return refused(kNotRestored, QString::fromUtf8(sqlite3_errstr(rc)) + "\n" + errorOf(writer.get()));
    return {true, {}, kept};
}

}  // namespace backup
