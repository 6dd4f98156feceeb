#include "db/replacing_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <filesystem>

ReplacingFile::ReplacingFile(const QString &target) : target_(target)
{
    const QFileInfo info(target);
    if (!info.absoluteDir().exists()) {
        error_ = QStringLiteral("文件夹不存在");
        return;
    }
    const QString side = info.absoluteDir().filePath(QStringLiteral(".%1.%2.part")
                                                        .arg(info.fileName(), QUuid::createUuid().toString(QUuid::Id128).left(8)));
    QFile file(side);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        error_ = file.errorString();
        return;
    }
    path_ = side;
}

ReplacingFile::~ReplacingFile()
{
    if (!committed_ && !path_.isEmpty())
        QFile::remove(path_);
}

bool ReplacingFile::commit()
{
    if (path_.isEmpty())
        return false;
    std::error_code failed;
    std::filesystem::rename(QFile::encodeName(path_).toStdString(), QFile::encodeName(target_).toStdString(), failed);
    if (failed) {
        error_ = QString::fromLocal8Bit(failed.message().c_str());
        return false;
    }
    committed_ = true;
    return true;
}
