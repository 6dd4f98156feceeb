#include "support/test_support.h"

#include "db/app_paths.h"
#include "db/code_items.h"
#include "db/database.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {

// The delivered database, made once per test process: creating one hashes the operator's
// password at interactive strength, which hundreds of fresh databases cannot afford.
const QString &templateDatabase()
{
    static QTemporaryDir dir;
    static const QString file = [] {
        const QString path = dir.filePath("wenpad.db");
        const database::OpenResult r = database::createDelivered(path);
        if (!r.ok)
            qFatal("cannot create the template database: %s", qPrintable(r.message));
        return path;
    }();
    return file;
}

}  // namespace

void copyDeliveredDatabase(const QString &file)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    if (!QFile::copy(templateDatabase(), file))
        qFatal("cannot copy the template database to %s", qPrintable(file));
}

ProgramFolder::ProgramFolder(bool withDatabase)
{
    app_paths::setProgramDir(dir_.path());
    for (const char *icon : {"MSGBOX02.ico", "msgbox02.ico"})
        QFile::copy(QStringLiteral(WENPAD_RESOURCES "/") + icon, dir_.filePath(icon));
    if (withDatabase) {
        copyDeliveredDatabase(app_paths::databaseFile());
        const database::OpenResult r = database::open(database::kSharedConnection, app_paths::databaseFile());
        if (!r.ok)
            qFatal("cannot open the test database: %s", qPrintable(r.message));
    }
}

ProgramFolder::~ProgramFolder()
{
    database::close(database::kSharedConnection);
    app_paths::setProgramDir({});
}

QSqlDatabase ProgramFolder::db() const { return database::shared(); }

QVariant queryValue(const QSqlDatabase &db, const QString &statement)
{
    QSqlQuery q(db);
    if (!q.exec(statement))
        qFatal("%s: %s", qPrintable(statement), qPrintable(q.lastError().text()));
    return q.next() ? q.value(0) : QVariant();
}

QString codeName(const QSqlDatabase &db, const QString &table, const QString &code)
{
    const code_items::Columns columns = code_items::columnsOf(table);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("select %1 from %2 where %3=:code").arg(columns.name, table, columns.code));
    q.bindValue(":code", code);
    if (!q.exec())
        qFatal("%s: %s", qPrintable(q.lastQuery()), qPrintable(q.lastError().text()));
    return q.next() ? q.value(0).toString() : QString();
}

QStringList rowsAsText(const QList<QVariantList> &rows, const QString &separator)
{
    QStringList lines;
    for (const QVariantList &row : rows) {
        QStringList cells;
        for (const QVariant &v : row)
            cells << v.toString();
        lines << cells.join(separator);
    }
    return lines;
}

QByteArray databaseChecksum(const QString &file)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString &part : {file, file + "-wal"}) {
        QFile f(part);
        if (f.open(QIODevice::ReadOnly))
            hash.addData(f.readAll());
    }
    return hash.result();
}

FullDisk::FullDisk(const QString &path) : path(path)
{
    QDir().mkpath(path);
    mounted = QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=2m", "tmpfs", path}) == 0;
}

FullDisk::~FullDisk()
{
    if (mounted)
        QProcess::execute("umount", {"-l", path});
}

void FullDisk::fill()
{
    QFile filler(path + "/filler");
    filler.open(QIODevice::WriteOnly);
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush())
        ;
    while (filler.write("x", 1) == 1 && filler.flush())
        ;
}

void FullDisk::empty() { QFile::remove(path + "/filler"); }

void moveSharedDatabase(const QString &file)
{
    database::close(database::kSharedConnection);
    if (!QFile::copy(app_paths::databaseFile(), file))
        qFatal("cannot copy the database to %s", qPrintable(file));
    const database::OpenResult r = database::open(database::kSharedConnection, file, database::Check::Identity);
    if (!r.ok)
        qFatal("cannot open the moved database: %s", qPrintable(r.message));
}

AdminRun runAdmin(const QStringList &args)
{
    QProcess run;
    run.start(QCoreApplication::applicationDirPath() + "/wenpad-admin", args);
    run.waitForFinished(60000);
    return {run.exitCode(), QString::fromUtf8(run.readAllStandardOutput()), QString::fromUtf8(run.readAllStandardError())};
}

QString pdfText(const QString &file, bool layout)
{
    QProcess run;
    run.start("pdftotext", layout ? QStringList{"-layout", file, "-"} : QStringList{file, "-"});
    run.waitForFinished(30000);
    return QString::fromUtf8(run.readAllStandardOutput());
}

void typeInto(QWidget *lineEdit, const QString &text)
{
    auto *box = qobject_cast<QLineEdit *>(lineEdit);
    box->clear();
    QTest::keyClicks(box, text);
}

void chooseCode(QWidget *comboBox, const QString &code)
{
    auto *list = qobject_cast<QComboBox *>(comboBox);
    list->setCurrentIndex(list->findData(code));
}
