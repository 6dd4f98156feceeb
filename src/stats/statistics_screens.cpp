#include "stats/statistics_screens.h"

#include "app/screen_registry.h"
#include "stats/statistics_screen.h"

void registerStatisticsScreens(ScreenRegistry &registry)
{
    for (const stats::TableDescription *table : stats::statisticsTables())
        registry.add(table->screenClass,
                     {Placement::Stored, [table](ScreenHost &host) { return new StatisticsScreen(host, *table); }});
}
