#include "db/sql_functions.h"

#include "db/clock.h"

#include <QDate>
#include <QSqlDriver>
#include <QVariant>
#include <sqlite3.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

QDate argDate(sqlite3_value *v)
{
    if (sqlite3_value_type(v) == SQLITE_NULL)
        return {};
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(v));
    if (!text)
        return {};
    return QDate::fromString(QString::fromUtf8(text, int(std::min<size_t>(std::strlen(text), 10))),
                             Qt::ISODate);
}

void yearFn(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const QDate d = argDate(argv[0]);
    d.isValid() ? sqlite3_result_int(ctx, d.year()) : sqlite3_result_null(ctx);
}

void monthFn(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const QDate d = argDate(argv[0]);
    d.isValid() ? sqlite3_result_int(ctx, d.month()) : sqlite3_result_null(ctx);
}

void datediffFn(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const auto *unitText = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const QDate a = argDate(argv[1]);
    const QDate b = argDate(argv[2]);
    if (!unitText || !a.isValid() || !b.isValid()) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString unit = QString::fromUtf8(unitText).toLower();
    if (unit == QLatin1String("yyyy"))
        sqlite3_result_int(ctx, b.year() - a.year());
    else if (unit == QLatin1String("m"))
        sqlite3_result_int(ctx, (b.year() - a.year()) * 12 + b.month() - a.month());
    else if (unit == QLatin1String("d"))
        sqlite3_result_int64(ctx, a.daysTo(b));
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
    return true;
}
