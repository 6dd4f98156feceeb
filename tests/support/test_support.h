#pragma once
// Shared test fixtures: a temporary program folder with a fresh delivered database, a file or
// a database on the test cluster (support/test_engine.h).

#include <QJsonArray>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QTemporaryDir>
#include <memory>

#include "support/test_engine.h"

// A copy of the delivered database at `file` (its folder made when missing), from one
// template made once per test process.
void copyDeliveredDatabase(const QString &file);

class ProgramFolder {
public:
    // A temporary folder set as the program folder, with the delivered icons beside it.
    // withDatabase: a copy of the delivered database is opened as the shared connection: the
    // file database/wenpad.db in the folder, or in the server run a new database on the cluster
    // (dropped with the folder).
    explicit ProgramFolder(bool withDatabase = true);
    ~ProgramFolder();

    QString path() const { return dir_.path(); }
    QString file(const QString &relative) const { return dir_.filePath(relative); }
    QSqlDatabase db() const;
    // Where the shared database is: the file's path or the server database's address, as
    // wenpad-admin --db and database::open take it.
    QString address() const { return address_; }

private:
    QTemporaryDir dir_;
    QString address_;
};

// The address of the newest ProgramFolder's shared database; without one open, the program
// folder's database file.
QString testDatabase();

// Runs one statement and fails the test on error; returns the first column of the first row.
QVariant queryValue(const QSqlDatabase &db, const QString &statement);

// The first column of every row of `statement`, nulls left out, joined by `separator` in the
// order the statement gives (what the file's group_concat gives, on either engine).
QString listed(const QSqlDatabase &db, const QString &statement, const QString &separator = QStringLiteral(","));

// The name of `code` in the code table `table` (zwdmb: a position's name), the code bound.
QString codeName(const QSqlDatabase &db, const QString &table, const QString &code);

// The five histories, in the order the editor writes an employee's entry rows.
inline const QStringList &historyTables()
{
    static const QStringList tables = {"dwdtb", "zwdtb", "zcdtb", "gwjndtb", "zwdjdtb"};
    return tables;
}

// Each row's values as text joined by `separator`, to compare rows as one line each.
QStringList rowsAsText(const QList<QVariantList> &rows, const QString &separator = QStringLiteral(" "));

// Every row of every table, tables by name and rows in rowid order (by all their columns where a
// table has none), as text ("table|value|…"), the same on either engine: of an open database,
// or of a file (opened read-only) or a server database by its address.
QStringList tableContents(const QSqlDatabase &db);
QStringList databaseContents(const QString &fileOrAddress);

// A connection `name` to a file or a server database (by its address) as another program opens
// it: nothing checked, made or changed on opening; not open when it cannot be reached. Ended by
// QSqlDatabase::removeDatabase(name).
QSqlDatabase plainConnection(const QString &name, const QString &fileOrAddress, bool readOnly = false);

// A database file and its write-ahead log, byte for byte, to show a refused write changed
// nothing; of a server database (by its address), every row of every table.
QByteArray databaseChecksum(const QString &fileOrAddress);

// A 2 MB tmpfs mounted at `path` for one test (as root; `mounted` says whether it could be),
// filled to its last byte by fill().
struct FullDisk {
    explicit FullDisk(const QString &path);
    ~FullDisk();
    void fill();
    void empty();

    QString path;
    bool mounted = false;
};

// Closes the shared connection and opens a copy of its database at `file` in its place.
void moveSharedDatabase(const QString &file);

// wenpad-admin (built beside the tests) run to its end: its exit status and what it printed.
struct AdminRun {
    int status = -1;
    QString out;
    QString err;
};
AdminRun runAdmin(const QStringList &args);

// A workbook's sheets as openpyxl (an independent reader) reads them: each sheet's name,
// merged ranges, frozen cell, column widths and rows of cells {v, t, f, b}; empty on failure.
QJsonArray workbookSheets(const QString &file);

// A PDF's text as pdftotext reads it; with `layout` each printed line stays one line.
QString pdfText(const QString &file, bool layout = true);

#include "app/screen_host.h"
#include "db/database.h"

#include <QList>
#include <QWidget>

// A main window stand-in for screens under test: a plain work area, and a record of the
// Form1Enabled calls and of the further windows asked for.
class TestHost : public ScreenHost {
public:
    QSqlDatabase database() const override { return database::shared(); }
    void Form1Enabled(bool enabled) override { enabledCalls << enabled; }
    QWidget *workArea() const override { return const_cast<QWidget *>(&area); }
    void setWaitBoxVisible(bool) override {}
    bool navigatorShown() const override { return navigator; }
    void setNavigatorShown(bool shown) override { navigator = shown; }
    QWidget *openWindow(const QString &className, const QString &argument) override
    {
        openedWindows << className + ' ' + argument;
        return nullptr;
    }

    QWidget area;
    bool navigator = true;
    QList<bool> enabledCalls;
    QStringList openedWindows;
};

// Typing into a line edit as a person would (the old text cleared first), and choosing the
// item of a code list whose data is `code`.
void typeInto(QWidget *lineEdit, const QString &text);
void chooseCode(QWidget *comboBox, const QString &code);
