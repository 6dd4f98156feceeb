#include "db/server_database.h"

#include "db/change_counter.h"
#include "db/change_log.h"
#include "db/current_rows.h"
#include "db/delivered_data.h"
#include "db/dialect.h"
#include "db/pay_departments.h"
#include "db/operators.h"
#include "db/schema.h"
#include "db/schema_ladder.h"
#include "db/server_roles.h"
#include "db/sql.h"
#include "db/transaction.h"

#include <QSqlError>
#include <QUuid>

namespace database {
namespace {

QString &typedPassword()
{
    static QString password;
    return password;
}

// Whether the server answered that the user or his password is not known. The driver gives no
// code for a failed connection, only the server's words, in English or in Chinese.
bool refusedLogin(const QSqlError &error)
{
    const QString text = error.databaseText() + error.driverText();
    return text.contains(QLatin1String("authentication failed")) || text.contains(QStringLiteral("认证失败"))
           || (text.contains(QLatin1String("role")) && text.contains(QLatin1String("does not exist")))
           || (text.contains(QStringLiteral("角色")) && text.contains(QStringLiteral("不存在")));
}

// Not open (and `refused` says why) when the server cannot be reached or refuses the settings.
QSqlDatabase connect(const QString &name, const Address &address, OpenResult *refused)
{
    if (QSqlDatabase::contains(name))
        QSqlDatabase::removeDatabase(name);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    db.setHostName(address.host);
    db.setPort(address.port);
    db.setDatabaseName(address.name);
    db.setUserName(address.user);
    db.setPassword(address.password.isEmpty() ? typedPassword() : address.password);
    db.setConnectOptions(QStringLiteral("connect_timeout=10;application_name=wenpad"));
    // Sums of exact integers come back as numeric; as doubles they stay exact to 2^53.
    db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!db.open()) {
        *refused = refusal(QStringLiteral("无法连接数据库服务器：%1").arg(address.shown()), db.lastError().text());
        refused->refusedLogin = refusedLogin(db.lastError());
        return {};
    }
    try {
        for (const QString &setting : sql::dialect(db).connectionSettings())
            sql::exec(db, setting);
    } catch (const sql::Failure &e) {
        *refused = refusal(QStringLiteral("无法连接数据库服务器：%1").arg(address.shown()), e, true);
        db.close();
        return {};
    }
    return db;
}

void drop(const QString &name)
{
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// The register's tables that are not there, joined for the message.
QString missingTables(const QSqlDatabase &db)
{
    const QStringList present = sql::dialect(db).tableNames(db);
    QStringList missing;
    for (const schema::Table &t : schema::tables())
        if (!schema::isWorkTable(t.name) && !present.contains(t.name))
            missing << t.name;
    return missing.join(QStringLiteral("、"));
}

}  // namespace

bool makeDelivered(const QSqlDatabase &db)
{
    const sql::Dialect &dialect = sql::dialect(db);
    WriteScope transaction(db);
    if (!dialect.tableNames(db).isEmpty())
        return false;
    for (const QString &statement : dialect.createServerFunctions() + schema::createStatements(dialect)
                                        + change_counter::createStatements(dialect) + current_rows::createStatements(dialect)
                                        + pay_departments::triggerStatements(dialect)
                                        + dialect.markAsOurs(schema::kSchemaVersion))
        sql::exec(db, statement);
    delivered::insertData(db);
    // After the delivered rows, which are no one's change.
    change_log::create(db);
    // The roles last, so they are given every table; the delivered operator's user takes the
    // delivered password, which his first login replaces (operators.h).
    server_roles::create(db);
    // Setting it is part of making the database, not a change of an office's data.
    change_log::silence(db);
    operators::setPassword(db, operators::connected(db, delivered::kOperatorName)->number, delivered::kOperatorPassword);
    transaction.commit();
    return true;
}

namespace {

// Why the database cannot be used, or empty: this program's, not newer, every table there.
QString refusalOf(const QSqlDatabase &db, const Address &address)
{
    const sql::Dialect &dialect = sql::dialect(db);
    if (!dialect.markedAsOurs(db))
        return QStringLiteral("该数据库不是本系统的数据库：%1").arg(address.shown());
    const int version = dialect.version(db);
    if (version > schema::kSchemaVersion)
        return QStringLiteral("数据库由更新版本的程序建立，无法使用：%1").arg(address.shown());
    if (version < 1)
        return QStringLiteral("数据库的版本无法识别，无法使用：%1").arg(address.shown());
    return {};
}

}  // namespace

void setServerPassword(const QString &password) { typedPassword() = password; }

OpenResult createOnServer(const Address &address)
{
    if (address.host.isEmpty())
        return refusal(QStringLiteral("数据库地址不完整（postgresql://用户@服务器:端口/数据库名）：%1").arg(address.text()));
    const QString name = QStringLiteral("wenpad-create-") + QUuid::createUuid().toString(QUuid::Id128);
    OpenResult result;
    {
        const QSqlDatabase db = connect(name, address, &result);
        if (db.isOpen()) {
            try {
                // Another application's tables, or this program's already: refused untouched.
                if (!makeDelivered(db)) {
                    result = refusal(sql::dialect(db).markedAsOurs(db)
                                         ? QStringLiteral("数据库已经建立，不会覆盖：%1").arg(address.shown())
                                         : QStringLiteral("数据库中已有其他数据表，不是本系统的数据库：%1").arg(address.shown()));
                    result.existed = true;
                } else {
                    result.ok = result.created = true;
                }
            } catch (const sql::Failure &e) {
                result = refusal(QStringLiteral("无法建立数据库：%1").arg(address.shown()), e, false);
            }
        }
    }
    drop(name);
    return result;
}

OpenResult openServer(const QString &connectionName, const Address &address, EmptyServer empty)
{
    if (address.host.isEmpty())
        return refusal(QStringLiteral("数据库地址不完整（postgresql://用户@服务器:端口/数据库名）：%1").arg(address.text()));
    OpenResult refused;
    QSqlDatabase db = connect(connectionName, address, &refused);
    if (!db.isOpen()) {
        db = {};
        drop(connectionName);
        return refused;
    }
    OpenResult result{true, false, false, {}, {}};
    try {
        const sql::Dialect &dialect = sql::dialect(db);
        // An empty database becomes the delivered one, as a missing file does; several
        // programs starting at once make it once (the write lock), the others find it made.
        if (dialect.tableNames(db).isEmpty()) {
            if (empty == EmptyServer::Leave) {
                change_log::attach(connectionName);
                return result;
            }
            result.created = makeDelivered(db);
        }
        if (const QString refused = refusalOf(db, address); !refused.isEmpty()) {
            db = {};
            drop(connectionName);
            return refusal(refused);
        }
        if (schema_ladder::version(db) < schema::kSchemaVersion) {
            Transaction transaction(db);
            for (const QString &statement : dialect.createServerFunctions())
                sql::exec(db, statement);
            transaction.commit();
            schema_ladder::climb(db);
        }
        if (const QString missing = missingTables(db); !missing.isEmpty()) {
            db = {};
            drop(connectionName);
            return refusal(QStringLiteral("数据库缺少数据表（%1），无法使用：%2").arg(missing, address.shown()));
        }
        change_counter::ensure(db);
        current_rows::ensure(db);
        // Pay rows carry their department as on a file (db/pay_departments.h).
        pay_departments::ensure(db);
        for (const QString &statement : schema::workTableStatements(dialect))
            sql::exec(db, statement);
    } catch (const sql::Failure &e) {
        db = {};
        drop(connectionName);
        return refusal(QStringLiteral("数据库无法使用：%1").arg(address.shown()), e, true);
    }
    // The program's own writes name their operator in the change log, as on a file.
    change_log::attach(connectionName);
    return result;
}

}  // namespace database
