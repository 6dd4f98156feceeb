#include "db/operators.h"

#include "db/delivered_data.h"
#include "db/password.h"
#include "db/sql.h"

namespace operators {

bool canLogIn(const QSqlDatabase &db, const QString &name, const QString &typedPassword)
{
    QSqlQuery query = sql::prepare(db, QStringLiteral("select czymm from czydmb where czyxm=:czyxm"));
    query.setForwardOnly(true);
    query.bindValue(QStringLiteral(":czyxm"), name);
    sql::exec(query);
    bool checked = false;
    while (query.next()) {
        const QString stored = query.value(0).toString();
        if (stored.isEmpty())
            continue;
        checked = true;
        if (password::verify(stored, typedPassword))
            return true;
    }
    // An unknown name costs one hash check too, so the time taken does not tell which names
    // exist: against a hash made once with the same costs as password::hash, never made here.
    if (!checked)
        password::verify(QStringLiteral("$argon2id$v=19$m=65536,t=2,p=1$AxeV8cW1QtDHqprBW52CPw$"
                                        "dIxnR5/C4uTArVhE9e1itAwX5Q9EsN1FEdcI40IoXlo"),
                         typedPassword);
    return false;
}

bool deliveredPasswordInUse(const QSqlDatabase &db)
{
    return canLogIn(db, delivered::kOperatorName, delivered::kOperatorPassword);
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
