#include "db/operators.h"

#include "db/password.h"
#include "db/sql.h"

namespace operators {

bool canLogIn(const QSqlDatabase &db, const QString &name, const QString &typedPassword)
{
    QSqlQuery query = sql::prepare(db, QStringLiteral("select czymm from czydmb where czyxm=:czyxm"));
    query.setForwardOnly(true);
    query.bindValue(QStringLiteral(":czyxm"), name);
    sql::exec(query);
    while (query.next())
        if (password::verify(query.value(0).toString(), typedPassword))
            return true;
    return false;
}

void setPassword(const QSqlDatabase &db, const QString &number, const QString &typedPassword)
{
    QSqlQuery query = sql::prepare(db, QStringLiteral("update czydmb set czymm=:czymm where czybh=:czybh"));
    query.bindValue(QStringLiteral(":czymm"),
                    typedPassword.isEmpty() ? QVariant() : QVariant(password::hash(typedPassword)));
    query.bindValue(QStringLiteral(":czybh"), number);
    sql::exec(query);
}

}  // namespace operators
