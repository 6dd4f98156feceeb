#include "codes/code_screens.h"

#include "app/screen_registry.h"
#include "codes/code_editor.h"

void registerCodeScreens(ScreenRegistry &registry)
{
    for (const codes::Member &member : codes::members())
        registry.add(member.className, {Placement::Centred, [&member](ScreenHost &host) {
                                            return new codes::CodeEditor(host, member);
                                        }});
}
