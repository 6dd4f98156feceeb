#include "staff/staff_screens.h"

#include "app/screen_registry.h"
#include "staff/cadre_resume_screen.h"
#include "staff/employee_editor.h"
#include "staff/personal_sheet_window.h"

void registerStaffScreens(ScreenRegistry &registry)
{
    registry.add("Tfrmzglr", {Placement::Stored, [](ScreenHost &host) { return new Tfrmzglr(host); }});
    registry.add("Tfrmgbllbj", {Placement::Stored, [](ScreenHost &host) { return new Tfrmgbllbj(host); }});
    registry.addWindow("Tfrmgrxxzl", [](ScreenHost &host, const QString &employeeCode) {
        return new Tfrmgrxxzl(host.database(), employeeCode, host.workArea());
    });
}
