#pragma once
// Shared test fixtures: a temporary program folder with a fresh delivered database.

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <memory>

class ProgramFolder {
public:
    // A temporary folder set as the program folder, with the delivered icons beside it.
    // withDatabase: the delivered database is created and opened as the shared connection.
    explicit ProgramFolder(bool withDatabase = true);
    ~ProgramFolder();

    QString path() const { return dir_.path(); }
    QString file(const QString &relative) const { return dir_.filePath(relative); }
    QSqlDatabase db() const;

private:
    QTemporaryDir dir_;
};

// Runs one statement and fails the test on error; returns the first column of the first row.
QVariant queryValue(const QSqlDatabase &db, const QString &statement);
