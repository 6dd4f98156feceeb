#pragma once
// Registers the fourteen code table screens, each centred in the work area.

class ScreenRegistry;

void registerCodeScreens(ScreenRegistry &registry);
