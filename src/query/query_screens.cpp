#include "query/query_screens.h"

#include "app/screen_registry.h"
#include "query/basic_situation_screen.h"

void registerQueryScreens(ScreenRegistry &registry)
{
    registry.add("Tfrmzgjbqkcx", {Placement::Stored, [](ScreenHost &host) { return new Tfrmzgjbqkcx(host); }});
}
