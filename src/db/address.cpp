#include "db/address.h"

#include "db/app_paths.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>

namespace database {

QString Address::text() const
{
    if (!isServer())
        return file;
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setUserName(user);
    url.setHost(host);
    url.setPort(port);
    url.setPath('/' + name);
    return url.toString();
}

QString Address::shown() const
{
    if (!isServer())
        return file;
    return QStringLiteral("服务器 %1:%2 数据库 %3 用户 %4").arg(host).arg(port).arg(name, user);
}

bool isServerAddress(const QString &text)
{
    return text.startsWith(QLatin1String("postgresql://")) || text.startsWith(QLatin1String("postgres://"));
}

Address parseAddress(const QString &text)
{
    Address address;
    if (!isServerAddress(text)) {
        address.file = text;
        return address;
    }
    const QUrl url(text);
    address.host = url.host();
    address.port = url.port(5432);
    address.name = url.path().mid(1);
    address.user = url.userName();
    address.password = url.password();
    if (!url.isValid() || address.name.isEmpty())
        address.host.clear();
    return address;
}

Address configuredAddress()
{
    Address address;
    address.file = app_paths::databaseFile();
    const QString ini = QDir(app_paths::programDir()).absoluteFilePath(QStringLiteral("database/wenpad.ini"));
    if (!QFileInfo::exists(ini))
        return address;
    QSettings settings(ini, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("数据库"));
    const QString host = settings.value(QStringLiteral("服务器")).toString().trimmed();
    if (host.isEmpty())
        return address;
    address.file.clear();
    address.host = host;
    address.port = settings.value(QStringLiteral("端口"), 5432).toInt();
    address.name = settings.value(QStringLiteral("数据库名"), QStringLiteral("wenpad")).toString();
    address.user = settings.value(QStringLiteral("用户"), qEnvironmentVariable("USER")).toString();
    return address;
}

}  // namespace database
