#include "db/clock.h"

namespace clock_source {
namespace {
QDate &fixedDate()
{
    static QDate date;
    return date;
}
}  // namespace

QDate today() { return fixedDate().isValid() ? fixedDate() : QDate::currentDate(); }
void setToday(QDate date) { fixedDate() = date; }

}  // namespace clock_source
