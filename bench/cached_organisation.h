#pragma once
// The generated organisations the benchmarks time, kept between runs in a folder of the
// caller's choice ("--cache DIR"; else a temporary one). A file is written under a temporary
// name and renamed when complete, so an interrupted run leaves nothing a later run would reuse.

#include "db/database.h"
#include "demo/demo_organisation.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

// Takes "--cache DIR" out of the arguments: the folder, made if need be, else `fallback`'s.
inline QString takeCacheFolder(QStringList &args, const QTemporaryDir &fallback)
{
    const qsizetype at = args.indexOf("--cache");
    if (at < 0 || at + 1 >= args.size())
        return fallback.path();
    const QString folder = args.at(at + 1);
    QDir().mkpath(folder);
    args.remove(at, 2);
    return folder;
}

// The organisation `name` in the folder, generated with the options when it is not there yet.
inline QString cachedOrganisation(const QString &folder, const QString &name, const demo::Options &options)
{
    const QString file = QDir(folder).filePath(name);
    if (QFile::exists(file))
        return file;
    const QString partial = file + ".partial";
    QFile::remove(partial);
    database::createDelivered(partial);
    database::open("fill", partial);
    demo::generate(QSqlDatabase::database("fill", false), options);
    database::close("fill");
    QFile::rename(partial, file);
    return file;
}
