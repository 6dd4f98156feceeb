#include "app/operator_settings.h"

#include <QSettings>
#include <QUrl>

namespace operator_settings {
namespace {

QString &loggedIn()
{
    static QString name;
    return name;
}

// One store for the whole run: QSettings writes changes out in batches, so a column dragged
// wider does not rewrite the file at every step.
QSettings &store()
{
    static QSettings settings(QSettings::IniFormat, QSettings::UserScope, "wenpad", "wenpad");
    return settings;
}

// An operator's name may hold "/" or "\", which QSettings reads as groups.
QString groupKey(const QString &key)
{
    return "operators/" + QString::fromLatin1(QUrl::toPercentEncoding(loggedIn())) + '/' + key;
}

}  // namespace

void setOperator(const QString &name) { loggedIn() = name; }

QString currentOperator() { return loggedIn(); }

QVariant value(const QString &key, const QVariant &fallback)
{
    if (loggedIn().isEmpty())
        return fallback;
    return store().value(groupKey(key), fallback);
}

void setValue(const QString &key, const QVariant &value)
{
    if (loggedIn().isEmpty())
        return;
    store().setValue(groupKey(key), value);
}

void flush() { store().sync(); }

}  // namespace operator_settings
