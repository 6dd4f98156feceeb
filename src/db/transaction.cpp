#include "db/transaction.h"

#include "db/dialect.h"
#include "db/sql.h"

#include <QSqlQuery>

Transaction::Transaction(const QSqlDatabase &db) : db_(db)
{
    sql::exec(db_, sql::dialect(db_).beginWrite());
    open_ = true;
}

Transaction::~Transaction()
{
    if (open_) {
        QSqlQuery rollback(db_);
        rollback.exec(QStringLiteral("ROLLBACK"));
    }
}

void Transaction::commit()
{
    sql::exec(db_, QStringLiteral("COMMIT"));
    open_ = false;
}
