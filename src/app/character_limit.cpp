#include "app/character_limit.h"

#include <QLineEdit>

namespace character_limit {

QString cut(const QString &text, int characters)
{
    int units = 0;
    for (int counted = 0; units < text.size() && counted < characters; ++counted)
        units += text[units].isHighSurrogate() && units + 1 < text.size() && text[units + 1].isLowSurrogate() ? 2 : 1;
    QString kept = text.left(units);
    if (!kept.isEmpty() && kept.back().isHighSurrogate())  // half a pair left by a cut elsewhere
        kept.chop(1);
    return kept;
}

void apply(QLineEdit *edit, int characters)
{
    // Room for every character being a pair; the exact limit in characters follows each change.
    edit->setMaxLength(2 * characters);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, characters](const QString &text) {
        const QString kept = cut(text, characters);
        if (kept == text)
            return;
        const int cursor = std::min(edit->cursorPosition(), int(kept.size()));
        edit->setText(kept);
        edit->setCursorPosition(cursor);
    });
}

}  // namespace character_limit
