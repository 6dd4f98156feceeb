#include "db/server_roles.h"

#include "db/dialect.h"
#include "db/rights.h"
#include "db/schema.h"
#include "db/sql.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QStringList>

namespace server_roles {
namespace {

// The server cuts longer names short, so two long names could become one.
constexpr int kLongestName = 63;

QString literal(const QString &text) { return '\'' + QString(text).replace('\'', "''") + '\''; }

QStringList column(const QSqlDatabase &db, const QString &statement, const QString &bound = {})
{
    QSqlQuery q = sql::prepare(db, statement);
    q.setForwardOnly(true);
    if (!bound.isNull())
        q.bindValue(QStringLiteral(":t"), bound);
    sql::exec(q);
    QStringList values;
    while (q.next())
        values << q.value(0).toString();
    return values;
}

bool roleExists(const QSqlDatabase &db, const QString &name)
{
    return !column(db, QStringLiteral("select rolname from pg_roles where rolname=:t"), name).isEmpty();
}

// The register's tables in the database's own schema (not this connection's work tables).
QStringList ownTables(const QSqlDatabase &db)
{
    QStringList tables;
    for (const QString &t : column(db, QStringLiteral("select c.relname from pg_class c where c.relkind in ('r','p') "
                                                      "and c.relnamespace=cast(current_schema() as regnamespace)")))
        if (!schema::isWorkTable(t))
            tables << t;
    return tables;
}

// What a role other than the administrators (who own the tables) may do with a table: the
// rights of its area; the tables of no area (the log, the kept current rows and counts, the
// database's identity) are read by all and written only by their triggers.
QString privileges(const QString &role, const QString &table)
{
    const std::optional<rights::Area> area = rights::areaOf(table);
    if (!area)
        return QStringLiteral("select");
    if (rights::mayWrite(role, *area))
        return QStringLiteral("select, insert, update, delete");
    if (rights::mayRead(role, *area))
        return QStringLiteral("select");
    return {};
}

// An operator's user, added, renamed, given his role's group (and no other of this office) or
// dropped, as his row of czydmb is written.
const char *const kSync = R"(
create or replace function wenpad_operator_sync(old_name text, new_name text, role text, adding boolean)
returns void language plpgsql security definer set search_path from current as $$
declare
  suffix constant text := '@' || current_database();
  login constant text := new_name || suffix;
  r text;
  g text;
begin
  if new_name is null then
    if old_name is not null then execute format('drop role if exists %I', old_name || suffix); end if;
    return;
  end if;
  if octet_length(login) > %LONGEST% then
    raise exception '操作员姓名太长，不能作为数据库服务器的用户名：%', login using errcode = '22001';
  end if;
  if (adding or old_name is distinct from new_name) and exists (select from pg_roles where rolname = login) then
    raise exception '数据库服务器上已有用户 %', login using errcode = '23505';
  end if;
  if old_name is distinct from new_name and exists (select from pg_roles where rolname = old_name || suffix) then
    execute format('alter role %I rename to %I', old_name || suffix, login);
  elsif not exists (select from pg_roles where rolname = login) then
    execute format('create role %I login', login);
  end if;
  foreach r in array array[%ROLES%] loop
    g := current_database() || '_' || r;
    if r = role then
      if not pg_has_role(login, g, 'MEMBER') then execute format('grant %I to %I', g, login); end if;
    elsif pg_has_role(login, g, 'MEMBER') then
      execute format('revoke %I from %I', g, login);
    end if;
  end loop;
end $$)";

const char *const kUsersTrigger = R"(
create or replace function wenpad_operator_users() returns trigger language plpgsql security definer
set search_path from current as $$
begin
  if tg_op = 'INSERT' then perform wenpad_operator_sync(null, new.czyxm, new.角色, true);
  elsif tg_op = 'UPDATE' then perform wenpad_operator_sync(old.czyxm, new.czyxm, new.角色, false);
  else perform wenpad_operator_sync(old.czyxm, null, null, false);
  end if;
  return null;
end $$)";

// An operator sets his own password; another's only whoever may write the operator table.
const char *const kSetPassword = R"(
create or replace function wenpad_set_password(number text, hash text, verifier text)
returns void language plpgsql security definer set search_path from current as $$
declare
  login text;
begin
  select czyxm || '@' || current_database() into login from czydmb where czybh = number;
  if login is null then return; end if;
  if session_user <> login and not has_table_privilege(session_user, 'czydmb', 'UPDATE') then
    raise exception 'permission denied for table czydmb' using errcode = '42501';
  end if;
  update czydmb set czymm = hash where czybh = number;
  if verifier is null then
    execute format('alter role %I password null', login);
  else
    execute format('alter role %I password %L', login, verifier);
  end if;
end $$)";

}  // namespace

QString groupName(const QString &database, const QString &role) { return database + '_' + role; }

QString userName(const QString &operatorName, const QString &database) { return operatorName + '@' + database; }

bool kept(const QSqlDatabase &db) { return sql::dialect(db).serverUsers(); }

void create(const QSqlDatabase &db)
{
    const QString database = sql::scalar(db, QStringLiteral("select current_database()")).toString();
    const QString administrators = sql::quoteIdentifier(groupName(database, rights::kAdministrator));
    // The groups given grants (the administrators own the tables instead), with their roles.
    QStringList groups, granted;
    for (const QString &role : rights::roles()) {
        const QString group = groupName(database, role);
        if (group.toUtf8().size() > kLongestName)
            throw sql::Failure(QStringLiteral("数据库名太长，无法建立服务器上的角色：%1").arg(group), sql::Failure::Kind::Constraint);
        if (!roleExists(db, group))
            sql::exec(db, QStringLiteral("create role %1 nologin").arg(sql::quoteIdentifier(group)));
        groups << sql::quoteIdentifier(group);
        if (role != rights::kAdministrator)
            granted << role;
    }
    // Whoever makes the database hands its tables to the administrators, so he is one of them.
    sql::exec(db, QStringLiteral("grant %1 to current_user").arg(administrators));

    for (const QString &table : ownTables(db)) {
        const QString t = sql::quoteIdentifier(table);
        // Administrators add and drop the salary items, columns of the pay table, and remake
        // the triggers naming them: that takes the table's owner.
        sql::exec(db, QStringLiteral("alter table %1 owner to %2").arg(t, administrators));
        const QStringList sequences = column(
            db,
            QStringLiteral("select pg_get_serial_sequence(quote_ident(c.relname), a.attname) from pg_class c "
                           "join pg_attribute a on a.attrelid=c.oid "
                           "where c.oid=to_regclass(quote_ident(:t)) and a.attidentity<>'' and a.attnum>0"),
            table);
        for (const QString &role : granted) {
            const QString group = sql::quoteIdentifier(groupName(database, role));
            sql::exec(db, QStringLiteral("revoke all on %1 from %2").arg(t, group));
            const QString allowed = privileges(role, table);
            if (!allowed.isEmpty())
                sql::exec(db, QStringLiteral("grant %1 on %2 to %3").arg(allowed, t, group));
            if (allowed.contains(QLatin1String("insert")))
                for (const QString &sequence : sequences)
                    sql::exec(db, QStringLiteral("grant usage on sequence %1 to %2").arg(sequence, group));
        }
    }
    // Who logs in finds his own number and role; the password hashes stay the administrators'.
    for (const QString &role : granted)
        if (!rights::mayRead(role, rights::Area::Operators))
            sql::exec(db, QStringLiteral("grant select (czybh, czyxm, 角色) on czydmb to %1")
                              .arg(sql::quoteIdentifier(groupName(database, role))));

    // The triggers keeping the log, current rows and counts run as the administrators (they
    // are made to run with their owner's rights), never as the maker, who may create roles.
    for (const QString &function :
         column(db, QStringLiteral("select cast(p.oid as regprocedure) from pg_proc p where p.prokind='f' "
                                   "and p.prorettype=cast('trigger' as regtype) and p.proname not like 'wenpad\\_%' "
                                   "and p.pronamespace=cast(current_schema() as regnamespace)")))
    {
        sql::exec(db, QStringLiteral("alter function %1 owner to %2").arg(function, administrators));
        // Made so by the dialect; a database made before the roles has them made otherwise.
        sql::exec(db, QStringLiteral("alter function %1 security definer set search_path from current").arg(function));
    }

    QStringList roles;
    for (const QString &role : rights::roles())
        roles << literal(role);
    sql::exec(db, QString::fromUtf8(kSync)
                      .replace(QStringLiteral("%ROLES%"), roles.join(','))
                      .replace(QStringLiteral("%LONGEST%"), QString::number(kLongestName)));
    sql::exec(db, QString::fromUtf8(kUsersTrigger));
    sql::exec(db, QString::fromUtf8(kSetPassword));
    sql::exec(db, QStringLiteral("revoke all on function wenpad_operator_sync(text, text, text, boolean), wenpad_operator_users(), "
                                 "wenpad_set_password(text, text, text) from public"));
    sql::exec(db, QStringLiteral("grant execute on function wenpad_set_password(text, text, text) to %1").arg(groups.join(',')));
    sql::exec(db, QStringLiteral("create or replace trigger wenpad_operator_users after insert or update of czyxm, 角色 or delete "
                                 "on czydmb for each row execute function wenpad_operator_users()"));
    sql::exec(db, QStringLiteral("select wenpad_operator_sync(null, czyxm, 角色, false) from czydmb where czyxm is not null"));
}

void setPassword(const QSqlDatabase &db, const QString &number, const QVariant &hash, const QString &typedPassword)
{
    QSqlQuery q = sql::prepare(db, QStringLiteral("select wenpad_set_password(:n, :h, :v)"));
    q.bindValue(QStringLiteral(":n"), number);
    q.bindValue(QStringLiteral(":h"), hash);
    q.bindValue(QStringLiteral(":v"), typedPassword.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(scramVerifier(typedPassword)));
    sql::exec(q);
}

QString scramVerifier(const QString &typedPassword)
{
    // RFC 5802/7677 as the server stores it: SCRAM-SHA-256$<iterations>:<salt>$<StoredKey>:<ServerKey>.
    // NFKC is SASLprep's mapping, which libpq applies to the password it sends.
    constexpr int kIterations = 4096;
    const QByteArray password = typedPassword.normalized(QString::NormalizationForm_KC).toUtf8();
    QByteArray salt(16, '\0');
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()), salt.size() / 4);
    const auto hmac = [](const QByteArray &key, const QByteArray &message) {
        return QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Sha256);
    };
    // PBKDF2-HMAC-SHA-256, its one block of 32 bytes.
    QByteArray u = hmac(password, salt + QByteArray("\0\0\0\1", 4));
    QByteArray salted = u;
    for (int i = 1; i < kIterations; ++i) {
        u = hmac(password, u);
        for (int j = 0; j < salted.size(); ++j)
            salted[j] = char(salted[j] ^ u[j]);
    }
    const QByteArray storedKey = QCryptographicHash::hash(hmac(salted, "Client Key"), QCryptographicHash::Sha256);
    const QByteArray serverKey = hmac(salted, "Server Key");
    return QStringLiteral("SCRAM-SHA-256$%1:%2$%3:%4")
        .arg(kIterations)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(storedKey.toBase64()),
             QString::fromLatin1(serverKey.toBase64()));
}

}  // namespace server_roles
