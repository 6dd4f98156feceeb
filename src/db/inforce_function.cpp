#include "db/inforce_function.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// One employee's rows by date: at each date, the greatest 自动编号 dated on or before it and
// that row's value.
struct Step {
    std::string date;
    sqlite3_int64 id;
    std::string value;
    bool null;
};
using History = std::unordered_map<std::string, std::vector<Step>>;

bool plainIdentifier(const unsigned char *text)
{
    if (!text || !*text)
        return false;
    for (const unsigned char *p = text; *p; ++p)
        if (*p == '"' || *p == '\'' || *p == ';' || *p == ' ')
            return false;
    return true;
}

History *load(sqlite3_context *ctx, const unsigned char *table, const unsigned char *column)
{
    const std::string statement = std::string("select 职工编码, 变动时间, 自动编号, \"") + reinterpret_cast<const char *>(column)
                                  + "\" from \"" + reinterpret_cast<const char *>(table)
                                  + "\" where 变动时间 is not null order by 职工编码, 变动时间, 自动编号";
    sqlite3_stmt *q = nullptr;
    if (sqlite3_prepare_v2(sqlite3_context_db_handle(ctx), statement.c_str(), -1, &q, nullptr) != SQLITE_OK) {
        sqlite3_result_error(ctx, sqlite3_errmsg(sqlite3_context_db_handle(ctx)), -1);
        sqlite3_finalize(q);
        return nullptr;
    }
    auto *history = new History;
    int rc;
    while ((rc = sqlite3_step(q)) == SQLITE_ROW) {
        const auto text = [q](int i) {
            const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(q, i));
            return t ? std::string(t, size_t(sqlite3_column_bytes(q, i))) : std::string();
        };
        std::vector<Step> &steps = (*history)[text(0)];
        Step step{text(1), sqlite3_column_int64(q, 2), text(3), sqlite3_column_type(q, 3) == SQLITE_NULL};
        if (!steps.empty() && steps.back().id > step.id) {  // an older row keeps the later-recorded one
            step.id = steps.back().id;
            step.value = steps.back().value;
            step.null = steps.back().null;
        }
        if (!steps.empty() && steps.back().date == step.date)
            steps.back() = step;
        else
            steps.push_back(std::move(step));
    }
    sqlite3_finalize(q);
    if (rc != SQLITE_DONE) {
        sqlite3_result_error(ctx, sqlite3_errmsg(sqlite3_context_db_handle(ctx)), -1);
        delete history;
        return nullptr;
    }
    return history;
}

// The history for this statement, read on its first row and kept with the statement (SQLite
// keeps auxiliary data of a constant argument from row to row) until it ends. Every statement
// that judges a whole table by it writes, so a history kept for a later statement would be
// stale by then anyway, and at a million employees it holds hundreds of MB.
const History *historyFor(sqlite3_context *ctx, sqlite3_value **argv)
{
    if (const auto *h = static_cast<const History *>(sqlite3_get_auxdata(ctx, 0)))
        return h;
    const unsigned char *table = sqlite3_value_text(argv[0]);
    const unsigned char *column = sqlite3_value_text(argv[1]);
    if (!plainIdentifier(table) || !plainIdentifier(column)) {
        sqlite3_result_error(ctx, "inforce: table and column must be plain names", -1);
        return nullptr;
    }
    History *history = load(ctx, table, column);
    if (!history)
        return nullptr;
    sqlite3_set_auxdata(ctx, 0, history, [](void *h) { delete static_cast<History *>(h); });
    // Freed at once when SQLite is out of memory.
    const auto *kept = static_cast<const History *>(sqlite3_get_auxdata(ctx, 0));
    if (!kept)
        sqlite3_result_error_nomem(ctx);
    return kept;
}

void inforceFn(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const History *history = historyFor(ctx, argv);
    if (!history)
        return;
    const auto *employee = reinterpret_cast<const char *>(sqlite3_value_text(argv[2]));
    const auto *date = reinterpret_cast<const char *>(sqlite3_value_text(argv[3]));
    if (!employee || !date) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto found = history->find(employee);
    if (found == history->end()) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::vector<Step> &steps = found->second;
    const std::string day(date, std::min<size_t>(10, std::strlen(date)));
    const auto after = std::upper_bound(steps.begin(), steps.end(), day, [](const std::string &d, const Step &s) { return d < s.date; });
    if (after == steps.begin() || (after - 1)->null) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::string &value = (after - 1)->value;
    sqlite3_result_text(ctx, value.data(), int(value.size()), SQLITE_TRANSIENT);
}

}  // namespace

bool registerInforceFunction(sqlite3 *handle)
{
    return sqlite3_create_function_v2(handle, "inforce", 4, SQLITE_UTF8, nullptr, inforceFn, nullptr, nullptr, nullptr)
           == SQLITE_OK;
}
