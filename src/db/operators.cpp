#include "db/operators.h"

#include "db/delivered_data.h"
#include "db/password.h"
#include "db/rights.h"
#include "db/server_roles.h"
#include "db/sql.h"
#include "db/transaction.h"

namespace operators {

bool canLogIn(const QSqlDatabase &db, const QString &name, const QString &typedPassword)
{
    return logIn(db, name, typedPassword).has_value();
}

std::optional<Operator> logIn(const QSqlDatabase &db, const QString &name, const QString &typedPassword)
{
    QSqlQuery query = sql::prepare(db, QStringLiteral("select czymm, czybh, 角色 from czydmb where czyxm=:czyxm"));
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
            return Operator{query.value(1).toString(), name, query.value(2).toString()};
    }
    // An unknown name costs one hash check too, so the time taken does not tell which names
    // exist: against a hash made once with the same costs as password::hash, never made here.
    if (!checked)
        password::verify(QStringLiteral("$argon2id$v=19$m=65536,t=2,p=1$AxeV8cW1QtDHqprBW52CPw$"
                                        "dIxnR5/C4uTArVhE9e1itAwX5Q9EsN1FEdcI40IoXlo"),
                         typedPassword);
    return std::nullopt;
}

bool deliveredPasswordInUse(const QSqlDatabase &db)
{
    return canLogIn(db, delivered::kOperatorName, delivered::kOperatorPassword);
}

void setPassword(const QSqlDatabase &db, const QString &number, const QString &typedPassword)
{
    const QVariant hash = typedPassword.isEmpty() ? QVariant() : QVariant(password::hash(typedPassword));
    // On a server the operator's user there takes the same password, in the same transaction.
    if (server_roles::kept(db)) {
        server_roles::setPassword(db, number, hash, typedPassword);
        return;
    }
    QSqlQuery query = sql::prepare(db, QStringLiteral("update czydmb set czymm=:czymm where czybh=:czybh"));
    query.bindValue(QStringLiteral(":czymm"), hash);
    query.bindValue(QStringLiteral(":czybh"), number);
    sql::exec(query);
}

QString passwordRefusal(const QString &typedPassword)
{
    if (typedPassword.size() < kShortestPassword)
        return QStringLiteral("新密码至少要%1个字符。").arg(kShortestPassword);
    if (typedPassword == delivered::kOperatorPassword)
        return QStringLiteral("新密码不能是初始密码。");
    return {};
}

void changeOwnPassword(const QSqlDatabase &db, const QString &number, const QString &typedPassword)
{
    if (const QString refused = passwordRefusal(typedPassword); !refused.isEmpty())
        throw sql::Failure(refused, sql::Failure::Kind::Constraint);
    Transaction transaction(db);
    setPassword(db, number, typedPassword);
    transaction.commit();
}

QString add(const QSqlDatabase &db, const QString &name, const QString &role, const QString &typedPassword)
{
    rights::requireWrite(rights::Area::Operators);
    if (!rights::isRole(role))
        throw sql::Failure(QStringLiteral("没有这个角色：%1（可用：%2）").arg(role, rights::roles().join('|')),
                           sql::Failure::Kind::Constraint);
    if (name.trimmed().isEmpty())
        throw sql::Failure(QStringLiteral("操作员姓名空，请重新输入！"), sql::Failure::Kind::Constraint);
    if (const QString refused = passwordRefusal(typedPassword); !refused.isEmpty())
        throw sql::Failure(refused, sql::Failure::Kind::Constraint);
    Transaction transaction(db);
    // The next free number after the greatest numeric one, two digits like the delivered "01".
    const int last = sql::scalar(db, QStringLiteral("select coalesce(max(val(czybh)), 0) from czydmb")).toInt();
    const QString number = QStringLiteral("%1").arg(last + 1, 2, 10, QChar('0'));
    QSqlQuery q = sql::prepare(db, QStringLiteral("insert into czydmb (czybh, czyxm, 角色) values (:n, :x, :r)"));
    q.bindValue(QStringLiteral(":n"), number);
    q.bindValue(QStringLiteral(":x"), name);
    q.bindValue(QStringLiteral(":r"), role);
    sql::exec(q);
    setPassword(db, number, typedPassword);
    transaction.commit();
    return number;
}

std::optional<Operator> connected(const QSqlDatabase &db, const QString &name)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select czybh, 角色 from czydmb where czyxm=:x"));
    q.setForwardOnly(true);
    q.bindValue(QStringLiteral(":x"), name);
    sql::exec(q);
    if (!q.next())
        return std::nullopt;
    return Operator{q.value(0).toString(), name, q.value(1).toString()};
}

void requireAdministrator(const QSqlDatabase &db)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select count(*) from czydmb where 角色=:r and czymm is not null"));
    q.bindValue(QStringLiteral(":r"), rights::kAdministrator);
    sql::exec(q);
    if (!q.next() || q.value(0).toInt() == 0)
        throw sql::Failure(kLastAdministrator, sql::Failure::Kind::Constraint);
}

}  // namespace operators
