#include "db/read_transaction.h"

#include "db/dialect.h"
#include "db/sql.h"

#include <QSqlQuery>

ReadTransaction::ReadTransaction(const QSqlDatabase &db) : db_(db)
{
    sql::exec(db_, sql::dialect(db_).beginRead());
}

ReadTransaction::~ReadTransaction()
{
    // Nothing was written: ending it only lets go of the picture.
    QSqlQuery end(db_);
    end.exec(QStringLiteral("ROLLBACK"));
}
