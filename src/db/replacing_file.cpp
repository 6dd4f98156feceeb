#include "db/replacing_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUuid>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QStringList kSqliteSides = {"-journal", "-wal", "-shm"};

void removeWithSides(const QString &file)
{
    for (const QString &side : kSqliteSides)
        QFile::remove(file + side);
    QFile::remove(file);
}

// The mode a new file gets from the process's umask.
mode_t usualMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

ReplacingFile::ReplacingFile(const QString &target) : target_(target)
{
    const QFileInfo info(target);
    if (!info.absoluteDir().exists()) {
        error_ = QStringLiteral("文件夹不存在");
        return;
    }
    const QString side = info.absoluteDir().filePath(QStringLiteral(".%1.%2.part")
                                                        .arg(info.fileName(), QUuid::createUuid().toString(QUuid::Id128).left(8)));
    // Owner only: it holds personal data, and SQLite gives its journal and log the same mode.
    const int fd = ::open(QFile::encodeName(side).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        error_ = QString::fromLocal8Bit(strerror(errno));
        return;
    }
    ::flock(fd, LOCK_EX);
    lock_ = fd;
    path_ = side;
}

ReplacingFile::~ReplacingFile()
{
    if (!committed_ && !path_.isEmpty())
        removeWithSides(path_);
    if (lock_ >= 0)
        ::close(lock_);
}

bool ReplacingFile::commit()
{
    if (path_.isEmpty())
        return false;
    ::fchmod(lock_, usualMode());
    std::error_code failed;
    std::filesystem::rename(QFile::encodeName(path_).toStdString(), QFile::encodeName(target_).toStdString(), failed);
    if (failed) {
        ::fchmod(lock_, 0600);
        error_ = QString::fromLocal8Bit(failed.message().c_str());
        return false;
    }
    committed_ = true;
    return true;
}

namespace replacing_file {

void removeLeftovers(const QString &folder)
{
    static const QRegularExpression part(QStringLiteral("^\\..+\\.[0-9a-f]{8}\\.part$"));
    const QDir dir(folder);
    QStringList parts;
    for (const QString &name : dir.entryList({QStringLiteral(".*.part*")}, QDir::Files | QDir::Hidden | QDir::System)) {
        QString base = name;
        for (const QString &side : kSqliteSides)
            if (base.endsWith(side))
                base.chop(side.size());
        if (part.match(base).hasMatch() && !parts.contains(base))
            parts << base;
    }
    for (const QString &name : parts) {
        const QString file = dir.filePath(name);
        const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
        // A writer still running holds its lock; a killed one's lock went with it.
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            continue;
        }
        removeWithSides(file);
        if (fd >= 0)
            ::close(fd);
    }
}

}  // namespace replacing_file
