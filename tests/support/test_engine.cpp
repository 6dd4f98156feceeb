#include "support/test_engine.h"

#include "db/address.h"
#include "db/change_log.h"
#include "db/database.h"
#include "db/delivered_data.h"
#include "db/operators.h"
#include "db/server_roles.h"
#include "db/sql.h"
#include "db/transaction.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>
#include <cstdio>
#include <cstdlib>

namespace {

QString cluster() { return qEnvironmentVariable("WENPAD_TEST_PG"); }

// The server run without a cluster ends before any test, with CTest's skip status.
const bool clusterPresent = [] {
    if (qEnvironmentVariable("WENPAD_TEST_ENGINE") == QLatin1String("postgresql") && cluster().isEmpty()) {
        std::fputs("skipped: no test cluster (run through scripts/test or scripts/pg-cluster)\n", stdout);
        std::exit(77);
    }
    return true;
}();

const QString kClusterConnection = QStringLiteral("wenpad-test-cluster");

QStringList &madeDatabases()
{
    static QStringList names;
    return names;
}

void dropAll();

// The cluster's maintenance database, where databases are made and dropped.
QSqlDatabase clusterConnection()
{
    if (QSqlDatabase::contains(kClusterConnection))
        return QSqlDatabase::database(kClusterConnection);
    const database::Address address = database::parseAddress(cluster());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), kClusterConnection);
    db.setHostName(address.host);
    db.setPort(address.port);
    db.setUserName(address.user);
    db.setDatabaseName(address.name);
    if (!db.open())
        qFatal("cannot reach the test cluster %s: %s", qPrintable(cluster()), qPrintable(db.lastError().text()));
    // Dropped while the application still stands, which the driver needs.
    qAddPostRoutine(dropAll);
    return db;
}

void run(const QString &statement)
{
    QSqlQuery q(clusterConnection());
    if (!q.exec(statement))
        qFatal("%s: %s", qPrintable(statement), qPrintable(q.lastError().text()));
}

QString addressOf(const QString &name)
{
    database::Address address = database::parseAddress(cluster());
    address.name = name;
    return address.text();
}

// Names made here only: letters and digits, so they need no quoting.
QString newDatabase(const QString &clause)
{
    const QString name = QStringLiteral("wenpad_") + QUuid::createUuid().toString(QUuid::Id128);
    run(QStringLiteral("create database %1%2").arg(name, clause));
    madeDatabases() << name;
    return name;
}

void drop(const QString &name)
{
    QSqlQuery q(clusterConnection());
    if (!q.exec(QStringLiteral("drop database if exists %1 with (force)").arg(name)))
        qWarning("cannot drop the test database %s: %s", qPrintable(name), qPrintable(q.lastError().text()));
    madeDatabases().removeAll(name);
}

void dropAll()
{
    while (!madeDatabases().isEmpty())
        drop(madeDatabases().last());
    {
        QSqlDatabase db = QSqlDatabase::database(kClusterConnection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(kClusterConnection);
}

// The groups and users of a server database are named after it, so a copy of the template has
// none of its own: they are made as init makes them, the delivered operator's user with the
// delivered password.
void makeOwnRoles(const QString &address)
{
    const QString connection = QStringLiteral("wenpad-test-copy");
    const database::OpenResult opened = database::open(connection, address);
    if (!opened.ok)
        qFatal("cannot open the copy %s: %s", qPrintable(address), qPrintable(opened.message));
    try {
        const QSqlDatabase db = QSqlDatabase::database(connection, false);
        Transaction transaction(db);
        change_log::silence(db);
        server_roles::create(db);
        const QString number = operators::connected(db, delivered::kOperatorName)->number;
        QSqlQuery hash = sql::prepare(db, QStringLiteral("select czymm from czydmb where czybh=:n"));
        hash.bindValue(QStringLiteral(":n"), number);
        sql::exec(hash);
        hash.next();
        server_roles::setPassword(db, number, hash.value(0), delivered::kOperatorPassword);
        transaction.commit();
    } catch (const sql::Failure &e) {
        qFatal("cannot make the roles of %s: %s", qPrintable(address), qPrintable(e.message()));
    }
    database::close(connection);
}

}  // namespace

bool testOnServer() { return clusterPresent && qEnvironmentVariable("WENPAD_TEST_ENGINE") == QLatin1String("postgresql"); }

QString emptyServerDatabase() { return addressOf(newDatabase({})); }

QString deliveredServerDatabase()
{
    static const QString templateName = [] {
        const QString name = newDatabase({});
        const database::OpenResult made = database::createDelivered(addressOf(name));
        if (!made.ok)
            qFatal("cannot make the template database: %s", qPrintable(made.message));
        return name;
    }();
    // Copied file by file: quicker than through the log for a database this small.
    const QString copy = addressOf(newDatabase(QStringLiteral(" template %1 strategy file_copy").arg(templateName)));
    makeOwnRoles(copy);
    return copy;
}

QString copiedServerDatabase(const QString &address)
{
    return addressOf(newDatabase(QStringLiteral(" template %1 strategy file_copy").arg(database::parseAddress(address).name)));
}

void dropServerDatabase(const QString &address) { drop(database::parseAddress(address).name); }
