#include "app/screen_registry.h"
#include "staff/roster_screens.h"

// Each subsystem registers its screens here as they are built; until then the navigator
// shows their entries disabled.
void registerAllScreens(ScreenRegistry &registry)
{
    registerRosterScreens(registry);
}
