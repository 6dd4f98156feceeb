#pragma once

class ScreenRegistry;

void registerRecordsScreens(ScreenRegistry &registry);
