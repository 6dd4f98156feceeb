#pragma once
// The program's main window as the screen benchmarks open their screens in: every screen
// registered, shown (offscreen) at a desktop size.

#include "app/main_window.h"
#include "app/screen_registry.h"

#include <QApplication>

struct ShownMainWindow {
    explicit ShownMainWindow(QApplication &app)
        : window((registerAllScreens(registry), registry))
    {
        window.resize(1400, 900);
        window.show();
        app.processEvents();
    }

    ScreenRegistry registry;
    TfrmMain window;
};
