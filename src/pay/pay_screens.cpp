#include "pay/pay_screens.h"

#include "app/screen_registry.h"
#include "pay/appraisal_editor.h"
#include "pay/appraisal_list_screen.h"
#include "pay/appraisal_statistics_screen.h"
#include "pay/employee_pay_screen.h"
#include "pay/grade_salary_detail.h"
#include "pay/grade_salary_editor.h"
#include "pay/pay_comparison_screen.h"
#include "pay/pay_entry_screen.h"
#include "pay/pay_statistics_screen.h"
#include "pay/salary_query_screen.h"

void registerPayScreens(ScreenRegistry &registry)
{
    registry.add("Tfrmzwdjbj", {Placement::Stored, [](ScreenHost &host) { return new Tfrmzwdjbj(host); }});
    registry.add("Tfrmndkhbj", {Placement::Stored, [](ScreenHost &host) { return new Tfrmndkhbj(host); }});
    registry.add("Tfrmndkhtj", {Placement::Stored, [](ScreenHost &host) {
                     return new AppraisalStatisticsScreen(host, pay::AppraisalCounts::Counts);
                 }});
    registry.add("Tfrmndkhzb", {Placement::Stored, [](ScreenHost &host) {
                     return new AppraisalStatisticsScreen(host, pay::AppraisalCounts::Shares);
                 }});
    registry.add("Tfrmndkhcx", {Placement::Stored, [](ScreenHost &host) { return new Tfrmndkhcx(host); }});
    registry.addWindow("TFrmzwdjxxxx", [](ScreenHost &host, const QString &employeeCode) {
        return new TFrmzwdjxxxx(host.database(), employeeCode, host.workArea());
    });
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
    registry.add("Tfrmzggzzhcx", {Placement::Stored, [](ScreenHost &host) { return new Tfrmzggzzhcx(host); }});
}
