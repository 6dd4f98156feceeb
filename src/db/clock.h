#pragma once
// The one source of "today". Nothing else reads the wall clock, so tests can fix the date.

#include "db/scoped_hook.h"

#include <QDate>

namespace clock_source {

QDate today();
void setToday(QDate date);  // tests; an invalid date returns to the system clock
using ScopedToday = ScopedHook<QDate, &setToday>;

}  // namespace clock_source
