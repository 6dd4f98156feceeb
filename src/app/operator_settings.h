#pragma once
// What the program remembers for each operator from one use to the next (column widths, the
// main window, folders, the last dates chosen), in the operator's own group of the user's
// settings file ($XDG_CONFIG_HOME/wenpad/wenpad.ini, normally ~/.config/wenpad/wenpad.ini).
// Nothing is read or written until an operator has logged in: the admin tool and screens
// opened without a login start from their defaults every time.

#include <QString>
#include <QVariant>

namespace operator_settings {

void setOperator(const QString &name);  // empty: nobody is logged in
QString currentOperator();

// The operator's value under `key` (keys may hold "/" to form groups), or `fallback`.
QVariant value(const QString &key, const QVariant &fallback = {});
void setValue(const QString &key, const QVariant &value);

// Writes what is pending to the file (QSettings otherwise writes at the next idle moment).
void flush();

}  // namespace operator_settings
