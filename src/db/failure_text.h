#pragma once
// What a screen says about a database failure: the Chinese sentence of the failure's kind,
// never the database's own (English) words; those are kept apart, as details, for a failure
// no sentence can name.

#include "db/sql.h"

#include <QString>

namespace failure_text {

inline const QString kReadFailed = QStringLiteral("数据库错误，未能读出数据。");
// The lead of a work table's rebuild that failed: the screen keeps the rows it showed.
inline const QString kNotRebuilt = QStringLiteral("统计表未能重建，仍显示上次的结果。");

struct Texts {
    QString title = QStringLiteral("错误信息");
    // The screen's own refusal, said alone for a constraint (a duplicate, empty or still-used
    // code, a value the column refuses): "编号重复或空，请重新输入！".
    QString refusal;
    // What the screen could not do, said before the sentence of any other kind.
    QString lead;
    // A read failed: nothing was to be saved, so an unnamed failure says the data was not read.
    bool reading = false;
};

// The main text, and the database's own words when the main text cannot name what happened.
struct Said {
    QString text;
    QString details;
};
Said said(const sql::Failure &failure, const Texts &texts = {});

}  // namespace failure_text
