#pragma once
// Generated organisations kept in a folder between benchmark runs. Each is written under a
// name of its own run and renamed only when complete, so an interrupted run never leaves a file
// that a later run would take for a finished organisation and measure as nearly empty.

#include "db/database.h"
#include "demo/demo_organisation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

// Employee codes have six digits.
inline constexpr int kMostEmployees = 999999;

inline bool employeesInRange(int employees) { return employees >= 1 && employees <= kMostEmployees; }

// `folder`/`name`.db, generated with `options` first when it is not there yet; empty when it
// cannot be made (the reason on stderr).
inline QString cachedOrganisation(const QString &folder, const QString &name, const demo::Options &options)
{
    const QString file = QDir(folder).filePath(name + ".db");
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
