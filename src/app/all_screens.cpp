#include "app/screen_registry.h"
#include "staff/staff_screens.h"

// Each subsystem registers its screens here as they are built; until then the navigator
// shows their entries disabled.
void registerAllScreens(ScreenRegistry &registry)
{
    registerStaffScreens(registry);
}
