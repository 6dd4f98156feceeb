#pragma once

class ScreenRegistry;

// The statistics screens, each a description of the one statistics screen class.
void registerStatisticsScreens(ScreenRegistry &registry);
