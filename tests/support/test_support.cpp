#include "support/test_support.h"

#include "db/app_paths.h"
#include "db/code_items.h"
#include "db/database.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QJsonDocument>
#include <QLineEdit>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

ProgramFolder::ProgramFolder(bool withDatabase)
{
    app_paths::setProgramDir(dir_.path());
    for (const char *icon : {"MSGBOX02.ico", "msgbox02.ico"})
        QFile::copy(QStringLiteral(WENPAD_RESOURCES "/") + icon, dir_.filePath(icon));
    if (withDatabase) {
        const database::OpenResult r = database::open(database::kSharedConnection, app_paths::databaseFile());
        if (!r.ok)
            qFatal("cannot create the test database: %s", qPrintable(r.message));
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
    auto *list = qobject_cast<QComboBox *>(comboBox);
    list->setCurrentIndex(list->findData(code));
}
