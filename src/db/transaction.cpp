#include "db/transaction.h"

#include "db/change_log.h"
#include "db/connection_names.h"
#include "db/dialect.h"
#include "db/rights.h"
#include "db/sql.h"

#include <QSqlQuery>

namespace {

ConnectionNames &openOn()
{
    static ConnectionNames names;
    return names;
}

void rollBack(const QSqlDatabase &db)
{
    QSqlQuery rollback(db);
    rollback.exec(QStringLiteral("ROLLBACK"));
}

}  // namespace

Transaction::Transaction(const QSqlDatabase &db) : db_(db)
{
    const QStringList begin = sql::dialect(db_).beginWrite();
    sql::exec(db_, begin.first());
    try {
        for (int i = 1; i < begin.size(); ++i)
            sql::exec(db_, begin[i]);
        if (change_log::attached(db_))
            change_log::mark(db_, rights::session().name);
    } catch (...) {
        rollBack(db_);
        throw;
    }
    open_ = true;
    openOn().insert(db_.connectionName());
}

Transaction::~Transaction()
{
    if (open_) {
        rollBack(db_);
        openOn().remove(db_.connectionName());
    }
}

void Transaction::commit()
{
    if (change_log::attached(db_))
        change_log::clearMark(db_);
    sql::exec(db_, QStringLiteral("COMMIT"));
    open_ = false;
    openOn().remove(db_.connectionName());
}

bool Transaction::isOpen(const QSqlDatabase &db) { return openOn().contains(db.connectionName()); }
