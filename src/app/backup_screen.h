#pragma once
// "数据备份与恢复": backs the database up to a chosen file while the program runs, and restores
// it from a chosen backup (checked, confirmed, the current data kept as a dated copy beside
// the database file, the shared connection reopened on the restored data).

#include "app/function_screen.h"

class ScreenRegistry;

class Tfrmsjbf : public FunctionScreen {
    Q_OBJECT
public:
    explicit Tfrmsjbf(ScreenHost &host);

    void backUp();
    void restore();
};

void registerBackupScreen(ScreenRegistry &registry);
