#include "support/test_support.h"

#include "db/app_paths.h"
#include "db/address.h"
#include "db/code_items.h"
#include "db/database.h"
#include "db/dialect.h"
#include "db/sql.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLineEdit>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
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

// The address of the shared database of the ProgramFolder made last, while it stands.
QString &openedAddress()
{
    static QString address;
    return address;
}

}  // namespace

QString testDatabase() { return openedAddress().isEmpty() ? app_paths::databaseFile() : openedAddress(); }

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
        if (testOnServer()) {
            address_ = deliveredServerDatabase();
        } else {
            address_ = app_paths::databaseFile();
            copyDeliveredDatabase(address_);
        }
        const database::OpenResult r = database::open(database::kSharedConnection, address_);
        if (!r.ok)
            qFatal("cannot open the test database: %s", qPrintable(r.message));
        openedAddress() = address_;
    }
}

ProgramFolder::~ProgramFolder()
{
    database::close(database::kSharedConnection);
    if (openedAddress() == address_)
        openedAddress().clear();
    if (database::isServerAddress(address_))
        dropServerDatabase(address_);
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

QString listed(const QSqlDatabase &db, const QString &statement, const QString &separator)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(statement))
        qFatal("%s: %s", qPrintable(statement), qPrintable(q.lastError().text()));
    QStringList values;
    while (q.next())
        if (!q.isNull(0))
            values << q.value(0).toString();
    return values.join(separator);
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

QStringList tableContents(const QSqlDatabase &db)
{
    const sql::Dialect &dialect = sql::dialect(db);
    QStringList tables = dialect.tableNames(db);
    tables.sort();
    QStringList rows;
    for (const QString &table : tables) {
        if (table.startsWith(QLatin1String("sqlite_")))
            continue;
        // The columns as the file lists them: a server's rowid column is the engine's, not data.
        const QStringList columns = dialect.columnNames(db, table);
        QStringList quoted, positions;
        for (int i = 0; i < columns.size(); ++i) {
            quoted << sql::quoteIdentifier(columns[i]);
            positions << QString::number(i + 1);
        }
        const QString name = sql::quoteIdentifier(table);
        const bool hasRowId = QSqlQuery(db).exec(QStringLiteral("select rowid from %1 where 1=0").arg(name));
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("select %1 from %2 order by %3")
                        .arg(quoted.join(','), name, hasRowId ? QStringLiteral("rowid") : positions.join(','))))
            qFatal("%s: %s", qPrintable(q.lastQuery()), qPrintable(q.lastError().text()));
        while (q.next()) {
            QStringList fields{table};
            for (int i = 0; i < columns.size(); ++i)
                fields << (q.isNull(i) ? QStringLiteral("∅") : q.value(i).toString());
            rows << fields.join('|');
        }
    }
    return rows;
}

QSqlDatabase plainConnection(const QString &name, const QString &fileOrAddress, bool readOnly)
{
    QSqlDatabase db;
    if (database::isServerAddress(fileOrAddress)) {
        const database::Address address = database::parseAddress(fileOrAddress);
        db = QSqlDatabase::addDatabase("QPSQL", name);
        db.setHostName(address.host);
        db.setPort(address.port);
        db.setUserName(address.user);
        db.setDatabaseName(address.name);
        db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    } else {
        db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(fileOrAddress);
        if (readOnly)
            db.setConnectOptions("QSQLITE_OPEN_READONLY");
    }
    db.open();
    return db;
}

QStringList databaseContents(const QString &fileOrAddress)
{
    QStringList rows;
    {
        const QSqlDatabase db = plainConnection("reader", fileOrAddress, true);
        if (db.isOpen())
            rows = tableContents(db);
    }
    QSqlDatabase::removeDatabase("reader");
    return rows;
}

QByteArray databaseChecksum(const QString &file)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (database::isServerAddress(file)) {
        hash.addData(databaseContents(file).join('\n').toUtf8());
        return hash.result();
    }
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

QJsonArray workbookSheets(const QString &file)
{
    QProcess run;
    run.start(WENPAD_PYTHON3, {WENPAD_TESTS "/export/read_workbook.py", file});
    if (!run.waitForFinished(60000) || run.exitCode() != 0) {
        qWarning("%s", run.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(run.readAllStandardOutput()).array();
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
    // Only an item the list offers can be chosen; "" is the empty item, whose data is null.
    auto *list = qobject_cast<QComboBox *>(comboBox);
    // Without an empty item, "" leaves the list unchosen, as a new row starts.
    const int index = list->findData(code.isEmpty() ? QVariant() : QVariant(code));
    if (index < 0 && !code.isEmpty())
        QFAIL(qPrintable(QStringLiteral("the list offers no %1").arg(code)));
    list->setCurrentIndex(index);
}
