#include "db/private_files.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace private_files {
namespace {

constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions kOthers = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                                       | QFile::WriteOther | QFile::ExeOther;

QStringList withSideFiles(const QString &path)
{
    QStringList files;
    for (const QString &f : {path, path + "-wal", path + "-shm", path + "-journal"})
        if (QFileInfo::exists(f))
            files << f;
    return files;
}

}  // namespace

void restrictNewFiles() { ::umask(077); }

bool restrict(const QString &path) { return QFile::setPermissions(path, kOwnerOnly); }

QStringList readableByOthers(const QString &databasePath)
{
    QStringList open;
    for (const QString &f : withSideFiles(databasePath))
        if (QFileInfo(f).permissions() & kOthers)
            open << f;
    return open;
}

bool restrictDatabase(const QString &databasePath)
{
    bool ok = true;
    for (const QString &f : readableByOthers(databasePath))
        ok = restrict(f) && ok;
    return ok;
}

}  // namespace private_files
