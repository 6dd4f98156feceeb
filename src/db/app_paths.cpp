#include "db/app_paths.h"

#include <QCoreApplication>
#include <QDir>

namespace app_paths {
namespace {
QString &overrideDir()
{
    static QString dir;
    return dir;
}
}  // namespace

QString programDir()
{
    const QString dir = overrideDir().isEmpty() ? QCoreApplication::applicationDirPath() : overrideDir();
    return QDir(dir).absolutePath();
}

void setProgramDir(const QString &dir) { overrideDir() = dir; }

QString databaseFile() { return QDir(programDir()).absoluteFilePath("database/wenpad.db"); }
QString pictureDir() { return QDir(programDir()).absoluteFilePath("picture"); }
QString promptIconFile() { return QDir(programDir()).absoluteFilePath("MSGBOX02.ico"); }
QString missingPhotoIconFile() { return QDir(programDir()).absoluteFilePath("msgbox02.ico"); }

}  // namespace app_paths
