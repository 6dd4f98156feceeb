// The statistics work tables registered as the application object is made, for executables
// without a main of their own to call stats::registerWorkTables() from (the tests' is Qt
// Test's; the benchmarks share this with them). Linked as an object, so it is never dropped.

#include "stats/statistics_table.h"

#include <QCoreApplication>

namespace {
void registerStatisticsWorkTables() { stats::registerWorkTables(); }
}  // namespace

Q_COREAPP_STARTUP_FUNCTION(registerStatisticsWorkTables)
