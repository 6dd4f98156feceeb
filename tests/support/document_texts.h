#pragma once
// Every text a laid-out report draws, page after page, to look for captions and values.

#include "reports/page_model.h"

#include <QStringList>

inline QStringList documentTexts(const report::Document &d)
{
    QStringList texts;
    for (const report::Page &p : d.pages)
        for (const report::Text &t : p.texts)
            texts << t.text;
    return texts;
}
