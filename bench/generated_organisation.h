#pragma once
// Generated organisations kept in a folder between benchmark runs. Each is written under a
// name of its own run and renamed only when complete, so an interrupted run never leaves a file
// that a later run would take for a finished organisation and measure as nearly empty.

#include "db/database.h"
#include "demo/demo_organisation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>

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

// Employee codes have six digits.
inline constexpr int kMostEmployees = 999999;

inline bool employeesInRange(int employees) { return employees >= 1 && employees <= kMostEmployees; }

// `file`, generated with `options` first when it is not there yet; empty when it cannot be
// made (the reason on stderr).
inline QString generatedOrganisation(const QString &file, const demo::Options &options)
{
    if (QFile::exists(file))
        return file;
    const QString partial = QStringLiteral("%1.partial-%2").arg(file).arg(QCoreApplication::applicationPid());
    QFile::remove(partial);
    bool made = database::createDelivered(partial).ok && database::open("bench-fill", partial).ok;
    if (made) {
        try {
            demo::generate(QSqlDatabase::database("bench-fill", false), options);
        } catch (const std::exception &e) {
            QTextStream(stderr) << "cannot generate " << file << ": " << e.what() << '\n';
            made = false;
        }
        database::close("bench-fill");
    }
    if (!made || !QFile::rename(partial, file)) {
        QFile::remove(partial);
        return QFile::exists(file) ? file : QString();  // another run may have finished it meanwhile
    }
    return file;
}

// `folder`/`name`.db, generated first when it is not there yet.
inline QString cachedOrganisation(const QString &folder, const QString &name, const demo::Options &options)
{
    return generatedOrganisation(QDir(folder).filePath(name + ".db"), options);
}
