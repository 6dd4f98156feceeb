#pragma once
// The employee record screens: the editor Tfrmzglr, the cadre résumé Tfrmgbllbj and the
// personal information sheet Tfrmgrxxzl (a further window other screens open with an employee code).

class ScreenRegistry;

void registerStaffScreens(ScreenRegistry &registry);
