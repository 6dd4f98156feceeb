#include "db/file_check.h"

#include "db/schema.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>
#include <QUuid>
#include <QtEndian>
#include <sqlite3.h>
#include <variant>

namespace file_check {
namespace {

Fault unreadable(const QSqlError &error)
{
    const QString detail = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    const int code = error.nativeErrorCode().toInt() & 0xff;
    if (code == SQLITE_NOTADB)
        return {Fault::Kind::NotDatabase, detail, code};
    if (code == SQLITE_CORRUPT)
        return {Fault::Kind::Damaged, detail, code};
    return {Fault::Kind::Unreadable, detail, code};
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

// What the file's first 100 bytes say, read without SQLite: a file that is no database, another
// program's or a newer version's is refused before SQLite has seen it or anything beside it.
std::optional<Fault> headerFault(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fault{Fault::Kind::Unreadable, file.errorString(), SQLITE_CANTOPEN};
    const QByteArray header = file.read(100);
    if (header.isEmpty())
        return Fault{Fault::Kind::Foreign, {}};
    if (header.size() < 100 || !header.startsWith(QByteArray("SQLite format 3", 16)))
        return Fault{Fault::Kind::NotDatabase, QStringLiteral("file is not a database"), SQLITE_NOTADB};
    const auto bigEndian = [&](int offset) { return qFromBigEndian<qint32>(header.constData() + offset); };
    if (bigEndian(68) != schema::kApplicationId)
        return Fault{Fault::Kind::Foreign, {}};
    if (bigEndian(60) > schema::kSchemaVersion)
        return Fault{Fault::Kind::Newer, {}};
    return std::nullopt;
}

bool nonEmpty(const QString &file) { return QFileInfo(file).size() > 0; }

// The checks on a connection named `name`, opened on `databaseName` with `options`.
std::optional<Fault> checkedOpen(const QString &databaseName, const QString &options, Depth depth)
{
    const QString name = QStringLiteral("wenpad-probe-") + QUuid::createUuid().toString(QUuid::Id128);
    std::optional<Fault> result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(databaseName);
        db.setConnectOptions(options);
        if (!db.open()) {
            result = unreadable(db.lastError());
        } else {
            result = faultOf(db, depth);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

QString uri(const QString &path, const char *parameters)
{
    return QStringLiteral("file:") + QString::fromLatin1(QUrl::toPercentEncoding(QFileInfo(path).absoluteFilePath(), "/"))
           + '?' + QLatin1String(parameters);
}

}  // namespace

QStringList sideFiles(const QString &path) { return {path + "-wal", path + "-shm", path + "-journal"}; }

std::optional<Fault> faultOf(const QSqlDatabase &db, Depth depth)
{
    QStringList statements = {"PRAGMA application_id", "PRAGMA user_version",
                              "select name from sqlite_master where type='table'"};
    if (depth == Depth::Pages)
        statements << "PRAGMA quick_check(1)";
    if (depth == Depth::Whole)
        statements << "PRAGMA integrity_check(1)" << "select \"table\" || ' → ' || parent from pragma_foreign_key_check";
    QList<QStringList> answers;
    for (const QString &statement : statements) {
        auto answer = column(db, statement);
        if (const QSqlError *error = std::get_if<QSqlError>(&answer))
            return unreadable(*error);
        answers << std::get<QStringList>(answer);
    }
    if (answers[0].value(0).toInt() != schema::kApplicationId)
        return Fault{Fault::Kind::Foreign, {}};
    const int version = answers[1].value(0).toInt();
    if (version > schema::kSchemaVersion)
        return Fault{Fault::Kind::Newer, {}};
    if (version < 1)
        return Fault{Fault::Kind::UnknownVersion, {}};
    QStringList missing;
    // An older file's tables are checked once it has climbed to this version.
    if (version == schema::kSchemaVersion)
        for (const schema::Table &t : schema::tables())
            if (!answers[2].contains(t.name))
                missing << t.name;
    if (!missing.isEmpty())
        return Fault{Fault::Kind::MissingTables, missing.join(QStringLiteral("、"))};
    if (depth != Depth::Identity && answers[3].value(0) != QStringLiteral("ok"))
        return Fault{Fault::Kind::Damaged, answers[3].value(0)};
    if (depth == Depth::Whole && !answers[4].isEmpty())
        return Fault{Fault::Kind::Damaged, QStringLiteral("foreign key violations: ") + answers[4].mid(0, 3).join(", ")};
    return std::nullopt;
}

std::optional<Fault> fault(const QString &path, Depth depth)
{
    if (std::optional<Fault> header = headerFault(path))
        return header;
    const QString wal = path + "-wal", shm = path + "-shm", journal = path + "-journal";
    const bool loggedAlone = nonEmpty(wal) && !QFileInfo::exists(shm);
    if (!loggedAlone && !nonEmpty(journal)) {
        // With -wal and -shm a running program may write meanwhile: read through its log,
        // read-only, which never folds the log in nor deletes it. Otherwise nothing else writes.
        const bool shared = QFileInfo::exists(shm) && QFileInfo::exists(wal);
        return checkedOpen(uri(path, shared ? "mode=ro" : "mode=ro&immutable=1"),
                           QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"), depth);
    }
    // A log or journal left by a program that ended: SQLite would fold it into the file on
    // opening, so that happens to a private copy.
    QTemporaryDir folder;
    if (!folder.isValid())
        return Fault{Fault::Kind::Unreadable, folder.errorString(), SQLITE_CANTOPEN};
    const QString copy = folder.filePath(QStringLiteral("probe.db"));
    if (!QFile::copy(path, copy))
        return Fault{Fault::Kind::Unreadable, QStringLiteral("cannot copy the file to check it"), SQLITE_CANTOPEN};
    for (const QString &side : {QStringLiteral("-wal"), QStringLiteral("-journal")})
        if (nonEmpty(path + side) && !QFile::copy(path + side, copy + side))
            return Fault{Fault::Kind::Unreadable, QStringLiteral("cannot copy the file to check it"), SQLITE_CANTOPEN};
    return checkedOpen(copy, QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"), depth);
}

}  // namespace file_check
