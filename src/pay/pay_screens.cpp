#include "pay/pay_screens.h"

#include "app/screen_registry.h"
#include "pay/employee_pay_screen.h"
#include "pay/pay_comparison_screen.h"
#include "pay/pay_entry_screen.h"
#include "pay/pay_statistics_screen.h"

void registerPayScreens(ScreenRegistry &registry)
{
    registry.add("Tfrmgzlr", {Placement::Stored, [](ScreenHost &host) { return new Tfrmgzlr(host); }});
    registry.add("TFrmgsygztj", {Placement::Stored, [](ScreenHost &host) {
                     return new PayStatisticsScreen(host, PayStatisticsScreen::Period::Month);
                 }});
    registry.add("TFrmgsngztj", {Placement::Stored, [](ScreenHost &host) {
                     return new PayStatisticsScreen(host, PayStatisticsScreen::Period::Year);
                 }});
    registry.add("TFrmgsygzdz", {Placement::Stored, [](ScreenHost &host) {
                     return new PayComparisonScreen(host, pay::ComparisonSpan::Months);
                 }});
    registry.add("TFrmgsngzdz", {Placement::Stored, [](ScreenHost &host) {
                     return new PayComparisonScreen(host, pay::ComparisonSpan::Years);
                 }});
    registry.add("Tfrmzggzcx", {Placement::Stored, [](ScreenHost &host) { return new Tfrmzggzcx(host); }});
}
