#include "db/sql_functions.h"

#include "db/clock.h"
#include "db/inforce_function.h"

#include <QDate>
#include <QSqlDriver>
#include <QVariant>
#include <sqlite3.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

// Year, month and day of an ISO date text "yyyy-MM-dd…", read without building strings:
// these functions run for every row of a statistics rebuild.
struct Ymd {
    int year = 0, month = 0, day = 0;
    bool valid = false;
};

Ymd argYmd(sqlite3_value *v)
{
    Ymd r;
    if (sqlite3_value_type(v) == SQLITE_NULL)
        return r;
    const auto *t = sqlite3_value_text(v);
    if (!t || sqlite3_value_bytes(v) < 10 || t[4] != '-' || t[7] != '-')
        return r;
    const auto digit = [t](int i) { return std::isdigit(t[i]) ? t[i] - '0' : -1; };
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (digit(i) < 0)
            return r;
    r.year = digit(0) * 1000 + digit(1) * 100 + digit(2) * 10 + digit(3);
    r.month = digit(5) * 10 + digit(6);
    r.day = digit(8) * 10 + digit(9);
    r.valid = QDate::isValid(r.year, r.month, r.day);
    return r;
}

void yearFn(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const Ymd d = argYmd(argv[0]);
    d.valid ? sqlite3_result_int(ctx, d.year) : sqlite3_result_null(ctx);
}

void monthFn(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const Ymd d = argYmd(argv[0]);
    d.valid ? sqlite3_result_int(ctx, d.month) : sqlite3_result_null(ctx);
}

void datediffFn(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const auto *unitText = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const Ymd a = argYmd(argv[1]);
    const Ymd b = argYmd(argv[2]);
    if (!unitText || !a.valid || !b.valid) {
        sqlite3_result_null(ctx);
        return;
    }
    if (sqlite3_stricmp(unitText, "yyyy") == 0)
        sqlite3_result_int(ctx, b.year - a.year);
    else if (sqlite3_stricmp(unitText, "m") == 0)
        sqlite3_result_int(ctx, (b.year - a.year) * 12 + b.month - a.month);
    else if (sqlite3_stricmp(unitText, "d") == 0)
        sqlite3_result_int64(ctx, QDate(a.year, a.month, a.day).daysTo(QDate(b.year, b.month, b.day)));
    else
        sqlite3_result_error(ctx, "datediff: unknown interval", -1);
}

void valFn(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    // Blanks are skipped anywhere in the number, as in "1 234".
    QByteArray digits;
    bool seenDigit = false, seenPoint = false;
    for (; p && *p; ++p) {
        const char c = *p;
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
            continue;
        if ((c == '-' || c == '+') && digits.isEmpty()) {
            digits += c;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            digits += c;
            seenDigit = true;
        } else if (c == '.' && !seenPoint) {
            digits += c;
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!seenDigit) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    if (seenPoint)
        sqlite3_result_double(ctx, std::strtod(digits.constData(), nullptr));
    else
        sqlite3_result_int64(ctx, std::strtoll(digits.constData(), nullptr, 10));
}

void todayFn(sqlite3_context *ctx, int, sqlite3_value **)
{
    const QByteArray text = clock_source::today().toString(Qt::ISODate).toUtf8();
    sqlite3_result_text(ctx, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

}  // namespace

bool registerSqlFunctions(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return false;
    sqlite3 *h = *static_cast<sqlite3 *const *>(handle.data());
    if (!h)
        return false;
    const int pure = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    struct Fn {
        const char *name;
        int args;
        int flags;
        void (*fn)(sqlite3_context *, int, sqlite3_value **);
    };
    const Fn functions[] = {
        {"year", 1, pure, yearFn},
        {"month", 1, pure, monthFn},
        {"datediff", 3, pure, datediffFn},
        {"val", 1, pure, valFn},
        // Overrides SQLite's own date() without arguments, which would read the wall clock.
        {"date", 0, SQLITE_UTF8, todayFn},
    };
    for (const Fn &f : functions)
        if (sqlite3_create_function_v2(h, f.name, f.args, f.flags, nullptr, f.fn, nullptr, nullptr,
                                       nullptr) != SQLITE_OK)
            return false;
    return registerInforceFunction(h);
}
