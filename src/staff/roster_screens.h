#pragma once

class ScreenRegistry;

// The three roster screens.
void registerRosterScreens(ScreenRegistry &registry);
