#include "app/screen_registry.h"

#include "app/backup_screen.h"
#include "codes/code_screens.h"
#include "import/import_screen.h"
#include "pay/pay_screens.h"
#include "query/query_screens.h"
#include "records/records_screens.h"
#include "staff/roster_screens.h"
#include "staff/staff_screens.h"
#include "stats/statistics_screens.h"
#include "stats/statistics_table.h"

// Each subsystem registers its screens here as they are built; until then the navigator
// shows their entries disabled.
void registerAllScreens(ScreenRegistry &registry)
{
    registerStatisticsScreens(registry);
    registerQueryScreens(registry);
    registerRosterScreens(registry);
    registerCodeScreens(registry);
    registerStaffScreens(registry);
    registerBackupScreen(registry);
    registerRecordsScreens(registry);
    registerPayScreens(registry);
    registerImportScreen(registry);  // after the staff screens: it adds its buttons to the editor
}

void registerStoredTables() { stats::registerWorkTables(); }
