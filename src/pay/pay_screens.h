#pragma once

class ScreenRegistry;

void registerPayScreens(ScreenRegistry &registry);
