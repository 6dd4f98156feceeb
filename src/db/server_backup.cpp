#include "db/server_backup.h"

#include "db/app_paths.h"
#include "db/database.h"
#include "db/failure_text.h"
#include "db/office_copy.h"
#include "db/private_files.h"
#include "db/read_transaction.h"
#include "db/replacing_file.h"
#include "db/sql.h"
#include "db/transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUuid>

namespace server_backup {
namespace {

backup::Outcome refused(const QString &message) { return {false, message, {}}; }

QString connectionName(const char *purpose)
{
    return QStringLiteral("wenpad-%1-%2").arg(QLatin1String(purpose), QUuid::createUuid().toString(QUuid::Id128));
}

// Every table of the register locked against writers, this program's and any other client's,
// until the transaction ends; reading stays open to everyone.
void lockAgainstWriters(const QSqlDatabase &db)
{
    QStringList tables;
    for (const QString &table : office_copy::tablesInReferenceOrder())
        tables << sql::quoteIdentifier(table);
    sql::exec(db, QStringLiteral("LOCK TABLE %1 IN EXCLUSIVE MODE").arg(tables.join(", ")));
}

// "<database>-恢复前-<date>.db" in the program's database folder.
QString keptCopyName(const QSqlDatabase &db)
{
    const QString folder = QFileInfo(app_paths::databaseFile()).absolutePath();
    QDir().mkpath(folder);
    return backup::datedCopyName(QDir(folder).filePath(db.databaseName() + QStringLiteral(".db")), QStringLiteral("恢复前"));
}

// A private copy of the backup (with the log or journal it left) in `folder`: nothing can
// change it between the check and the restore.
QString staged(const QString &source, const QTemporaryDir &folder)
{
    const QString copy = folder.filePath(QStringLiteral("backup.db"));
    if (!QFile::copy(source, copy))
        return {};
    for (const char *side : {"-wal", "-journal"})
        if (QFileInfo(source + side).size() > 0 && !QFile::copy(source + side, copy + side))
            return {};
    return copy;
}

}  // namespace

backup::Outcome save(const QSqlDatabase &db, const QString &target)
{
    const auto failed = [&](const QString &why) {
        return refused(QStringLiteral("无法写入备份文件：%1\n%2").arg(QDir::toNativeSeparators(target), why));
    };
    replacing_file::removeLeftovers(QFileInfo(target).absolutePath());
    ReplacingFile part(target);
    if (part.path().isEmpty())
        return failed(part.error());
    if (const database::OpenResult made = database::fillDelivered(part.path()); !made.ok)
        return failed(made.message);
    const QString name = connectionName("backup");
    const database::OpenResult opened = database::open(name, part.path(), database::Check::Identity);
    if (!opened.ok)
        return failed(opened.message);
    office_copy::Outcome copied;
    {
        const QSqlDatabase file = QSqlDatabase::database(name, false);
        copied = office_copy::copy(db, file);
        try {
            // A backup is one file: no write-ahead log beside it.
            if (copied.ok)
                sql::exec(file, QStringLiteral("PRAGMA journal_mode=DELETE"));
        } catch (const sql::Failure &e) {
            const failure_text::Said said = failure_text::said(e, {});
            copied = {false, said.text, said.details, {}};
        }
    }
    database::close(name);
    if (!copied.ok) {
        backup::Outcome refusal = failed(copied.message);
        refusal.details = copied.details;
        return refusal;
    }
    if (!part.commit())
        return failed(part.error());
    return {true, {}, {}};
}

backup::Outcome restore(const QSqlDatabase &db, const QString &source)
{
    if (!QFileInfo(source).isFile())
        return refused(QStringLiteral("备份文件不存在：%1").arg(QDir::toNativeSeparators(source)));
    const QTemporaryDir folder;
    const QString copy = folder.isValid() ? staged(source, folder) : QString();
    if (copy.isEmpty())
        return refused(QStringLiteral("无法读取备份文件：%1").arg(QDir::toNativeSeparators(source)));
    if (backup::Outcome checked = backup::check(copy); !checked.ok) {
        checked.message.replace(QDir::toNativeSeparators(copy), QDir::toNativeSeparators(source));
        return checked;
    }
    const QString fromName = connectionName("restore"), keptName = connectionName("kept");
    // A backup of an older version climbs to this one in its private copy.
    if (const database::OpenResult opened = database::open(fromName, copy, database::Check::Identity); !opened.ok)
        return refused(QStringLiteral("无法读取备份文件：%1\n%2").arg(QDir::toNativeSeparators(source), opened.message));
    const auto replace = [&]() -> backup::Outcome {
        const QSqlDatabase from = QSqlDatabase::database(fromName, false);
        Transaction writing(db);
        lockAgainstWriters(db);
        // Read by a connection of its own after the lock is held: what another clerk committed
        // is in the kept copy, or waits and then finds the restored data.
        const QString kept = keptCopyName(db);
        const database::OpenResult beside = database::openBeside(keptName, db);
        backup::Outcome saved = beside.ok ? save(QSqlDatabase::database(keptName, false), kept) : refused(beside.message);
        database::close(keptName);
        // The whole office: its owner's alone, whatever the umask.
        if (saved.ok && !private_files::restrict(kept))
            saved = refused(QStringLiteral("无法设置文件的权限：%1").arg(kept));
        if (!saved.ok)
            return refused(QStringLiteral("当前数据库无法另存，未恢复。\n%1").arg(saved.message));
        const ReadTransaction reading(from);
        if (!office_copy::sameCounts(office_copy::replaceRows(from, db)))
            return refused(QStringLiteral("恢复后的行数与备份不符，数据库保持原样。"));
        writing.commit();
        return {true, {}, kept};
    };
    backup::Outcome outcome;
    try {
        outcome = replace();
    } catch (const sql::Failure &e) {
        const failure_text::Said said = failure_text::said(e, {.lead = QStringLiteral("恢复失败，数据库保持原样。")});
        outcome = {false, said.text, {}, said.details};
    }
    database::close(fromName);
    return outcome;
}

}  // namespace server_backup
