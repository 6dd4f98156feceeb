#include "records/records_screens.h"

#include "app/screen_registry.h"
#include "records/company_events_screen.h"
#include "records/company_training_screen.h"
#include "records/event_editor.h"
#include "records/personal_events_screen.h"
#include "records/personal_training_screen.h"
#include "records/personnel_query_screen.h"
#include "records/record_card_screen.h"
#include "records/timeline_screen.h"
#include "records/training_editor.h"
#include "records/work_dynamics_editor.h"
#include "records/work_dynamics_view.h"

void registerRecordsScreens(ScreenRegistry &registry)
{
    registry.add("Tfrmgzdtbj", {Placement::Stored, [](ScreenHost &host) { return new Tfrmgzdtbj(host); }});
    registry.add("Tfrmgzdttj", {Placement::Stored, [](ScreenHost &host) { return new Tfrmgzdttj(host); }});
    registry.add("Tfrmjcjlbj", {Placement::Stored, [](ScreenHost &host) { return new Tfrmjcjlbj(host); }});
    registry.add("Tfrmjcqktj", {Placement::Stored, [](ScreenHost &host) { return new Tfrmjcqktj(host); }});
    registry.add("Tfrmgsjctjb", {Placement::Stored, [](ScreenHost &host) { return new Tfrmgsjctjb(host); }});
    registry.add("Tfrmkqjlbj", {Placement::Stored, [](ScreenHost &host) { return new Tfrmkqjlbj(host); }});
    registry.add("Tfrmkqqktj", {Placement::Stored, [](ScreenHost &host) { return new Tfrmkqqktj(host); }});
    registry.add("Tfrmgskqtjb", {Placement::Stored, [](ScreenHost &host) { return new Tfrmgskqtjb(host); }});
    registry.add("Tfrmzggzdtcx", {Placement::Stored, [](ScreenHost &host) { return new Tfrmzggzdtcx(host); }});
    registry.add("Tfrmygrsjlk", {Placement::Stored, [](ScreenHost &host) { return new Tfrmygrsjlk(host); }});
    registry.add("Tfrmpxjlbj", {Placement::Stored, [](ScreenHost &host) { return new Tfrmpxjlbj(host); }});
    registry.add("Tfrmgrpxjltj", {Placement::Stored, [](ScreenHost &host) { return new Tfrmgrpxjltj(host); }});
    registry.add("Tfrmgspxqktj", {Placement::Stored, [](ScreenHost &host) { return new Tfrmgspxqktj(host); }});
    registry.addWindow("Tfrmgzdtxxxx", [](ScreenHost &host, const QString &employeeCode) {
        return new Tfrmgzdtxxxx(host.database(), employeeCode, host.workArea());
    });
}
