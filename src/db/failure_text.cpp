#include "db/failure_text.h"

namespace failure_text {

Said said(const sql::Failure &failure, const Texts &texts)
{
    using Kind = sql::Failure::Kind;
    const Kind kind = failure.kind();
    if (kind == Kind::Constraint && !texts.refusal.isEmpty())
        return {texts.refusal, {}};
    // A failure of no kind the person can act on: the general sentence, the database's words
    // kept for whoever looks after the program.
    const bool unnamed = kind == Kind::Other || kind == Kind::Constraint;
    const QString sentence = unnamed && texts.reading ? kReadFailed : failure.explain(texts.refusal);
    return {texts.lead.isEmpty() ? sentence : texts.lead + '\n' + sentence,
            unnamed || kind == Kind::Damaged || kind == Kind::Lost ? failure.message() : QString()};
}

}  // namespace failure_text
