// The menus' states at each opening: the input of MenuStates (app/menu_states.h)
// gathered from the main window and the states applied to its menus.
#pragma once

#include "app/menu_states.h"

namespace kvx {

class TCommandHost;

// What the states depend on at this moment.
TMenuStateInput MenuStateInputOf(TCommandHost& host);

// Sets every item, sub-menu and tool-bar box of the window as MenuStates
// says. Runs after the other refreshers of the window, so that its rules
// have the last word.
void ApplyMenuStates(TCommandHost& host);

}  // namespace kvx
