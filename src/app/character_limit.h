#pragma once
// A text box that holds at most a number of characters as the database counts them (code
// points): QLineEdit's own limit counts UTF-16 units and cuts a four-byte character in half,
// and the lone half is stored as U+FFFD, so the row no longer matches what was typed.

#include <QString>

class QLineEdit;

namespace character_limit {

// `text` cut after its first `characters` code points, never inside a surrogate pair.
QString cut(const QString &text, int characters);

// Limits `edit` to `characters` code points, cutting what is typed or pasted at whole characters.
void apply(QLineEdit *edit, int characters);

}  // namespace character_limit
