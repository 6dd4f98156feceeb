#include "app/title_strip.h"

QLabel *makeTitleStrip(const QString &title, QWidget *parent)
{
    auto *strip = new QLabel(title, parent);
    strip->setObjectName("titleStrip");
    strip->setFixedHeight(24);
    strip->setStyleSheet("QLabel { background: #0a246a; color: white; font-weight: bold; padding-left: 4px; }");
    return strip;
}
