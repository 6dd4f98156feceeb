#pragma once
// How every screen tells a database failure: failure_text's Chinese sentence in the prompt
// dialog, the database's own words only behind its "详细信息".

#include "db/failure_text.h"

class QWidget;

namespace failure_message {

// Tells `failure` in the prompt dialog (its test seam sees the title, the text and the details).
void show(QWidget *parent, const sql::Failure &failure, const failure_text::Texts &texts = {});

}  // namespace failure_message
