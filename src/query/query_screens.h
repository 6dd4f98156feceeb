#pragma once

class ScreenRegistry;

void registerQueryScreens(ScreenRegistry &registry);
