// Commands whose feature is not part of the program yet. Their menu items and bar buttons are
// greyed from the start and stay greyed through every menu update, so a command never looks
// available and then silently does nothing. The table shrinks as the features arrive.
#pragma once

#include "platform/menu.h"

// True when `command` belongs to a feature that is not built yet.
bool IsUnbuiltCommand(UINT command);
// Greys every unbuilt command's menu item and bar button on the frame's menu bar.
void GreyUnbuiltCommands(HWND menuBar);
