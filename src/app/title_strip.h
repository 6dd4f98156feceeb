#pragma once
// The coloured strip across the top of a hosted screen that carries its title.

#include <QLabel>

QLabel *makeTitleStrip(const QString &title, QWidget *parent);
