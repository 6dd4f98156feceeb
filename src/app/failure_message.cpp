#include "app/failure_message.h"

#include "app/prompt.h"

namespace failure_message {

void show(QWidget *parent, const sql::Failure &failure, const failure_text::Texts &texts)
{
    const failure_text::Said said = failure_text::said(failure, texts);
    prompt::ask(texts.title, said.text, false, parent, said.details);
}

}  // namespace failure_message
