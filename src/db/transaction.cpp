#include "db/transaction.h"

#include "db/dialect.h"
#include "db/sql.h"

#include <QSqlQuery>

Transaction::Transaction(const QSqlDatabase &db) : db_(db)
{
    const QStringList begin = sql::dialect(db_).beginWrite();
    sql::exec(db_, begin.first());
    open_ = true;
    for (int i = 1; i < begin.size(); ++i)
        sql::exec(db_, begin[i]);
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
