// What the window framework needs from the main frame, which lives above it in app/: its
// HWND (the target of PostShow) and its command menu and menu bar (where menu items and bar
// buttons are enabled and checked). The main frame registers itself here when it is created;
// until then PostShow fails and the menu helpers do nothing.
#pragma once

#include "platform/menu.h"

void SetFrameLink(HWND frame, HWND menuBar);
HWND FrameWindow();
HWND FrameMenuBar();
// Enables or checks the item with that command id in the command menu and the menu bar's
// button with that command, wherever it is; nothing when there is no menu.
void FrameEnableMenuItem(UINT itemId, UINT flags);
void FrameCheckMenuItem(UINT itemId, UINT flags);
