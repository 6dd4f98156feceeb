#pragma once
// The one source of "today". Nothing else reads the wall clock, so tests can fix the date.

#include <QDate>

namespace clock_source {

QDate today();
void setToday(const QDate &date);  // tests; an invalid date returns to the system clock

}  // namespace clock_source
